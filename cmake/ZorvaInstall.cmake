# What an install puts where: the component with its headers, CMake package and pkg-config file,
# the two programs with their man pages, the host's desktop entry, and the client tables under
# the prefix's Program Files root.
include(CMakePackageConfigHelpers)

set(ZORVA_CMAKEDIR "${ZORVA_INSTALL_ARCHLIBDIR}/cmake/ZORVAFolders")
set(ZORVA_DOCDIR "${CMAKE_INSTALL_DATADIR}/doc/zorvafolders")

install(TARGETS ZORVAFolders EXPORT ZORVAFoldersTargets
    LIBRARY DESTINATION "${ZORVA_INSTALL_MODULEDIR}"
    RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(FILES src/component/clsFolder.h src/component/ZORVAFolders.h
    DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/ZORVAFolders")
install(EXPORT ZORVAFoldersTargets NAMESPACE ZORVAFolders:: DESTINATION "${ZORVA_CMAKEDIR}")
configure_package_config_file(cmake/ZORVAFoldersConfig.cmake.in
    "${PROJECT_BINARY_DIR}/ZORVAFoldersConfig.cmake" INSTALL_DESTINATION "${ZORVA_CMAKEDIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/ZORVAFoldersConfigVersion.cmake"
    COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/ZORVAFoldersConfig.cmake"
    "${PROJECT_BINARY_DIR}/ZORVAFoldersConfigVersion.cmake" DESTINATION "${ZORVA_CMAKEDIR}")

# pkg-config wants paths, not prefix-relative folders; an absolute GNUInstallDirs value stays.
foreach(dir CMAKE_INSTALL_INCLUDEDIR ZORVA_INSTALL_MODULEDIR)
    if(IS_ABSOLUTE "${${dir}}")
        set(ZORVA_PC_${dir} "${${dir}}")
    else()
        set(ZORVA_PC_${dir} "\${prefix}/${${dir}}")
    endif()
endforeach()
configure_file(cmake/zorvafolders.pc.in "${PROJECT_BINARY_DIR}/zorvafolders.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/zorvafolders.pc" DESTINATION "${ZORVA_INSTALL_ARCHLIBDIR}/pkgconfig")

install(DIRECTORY data/ DESTINATION "${ZORVA_INSTALL_PROGRAM_FILES}/${ZORVA_CLIENT_TABLES_SUBDIR}"
    FILES_MATCHING PATTERN "*.XML")

# Everything the install rules pick up, and nothing else: scripts/package builds this alone.
add_custom_target(zorva_installed)
add_dependencies(zorva_installed ZORVAFolders)

# Debian wants man pages and the changelog compressed, without a time stamp in the gzip header.
find_program(ZORVA_GZIP gzip)
function(zorva_install_gzipped source destination)
    get_filename_component(name "${source}" NAME)
    if(ZORVA_GZIP)
        set(zipped "${PROJECT_BINARY_DIR}/packaging/${name}.gz")
        add_custom_command(OUTPUT "${zipped}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/packaging"
            COMMAND ${ZORVA_GZIP} -9nc "${source}" > "${zipped}"
            DEPENDS "${source}" VERBATIM)
        string(MAKE_C_IDENTIFIER "zorva_gz_${name}" target)
        add_custom_target(${target} ALL DEPENDS "${zipped}")
        add_dependencies(zorva_installed ${target})
        install(FILES "${zipped}" DESTINATION "${destination}")
    else()
        install(FILES "${source}" DESTINATION "${destination}")
    endif()
endfunction()

configure_file(packaging/changelog.in "${PROJECT_BINARY_DIR}/packaging/changelog" @ONLY)
zorva_install_gzipped("${PROJECT_BINARY_DIR}/packaging/changelog" "${ZORVA_DOCDIR}")
install(FILES LICENSE DESTINATION "${ZORVA_DOCDIR}" RENAME copyright)

if(ZORVA_BUILD_TOOLS)
    install(TARGETS zorva-host zorva-db RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
    add_dependencies(zorva_installed zorva-host zorva-db)
    # The host finds the component wherever the prefix is unpacked (a scratch root, a DESTDIR).
    file(RELATIVE_PATH module_from_bin "/root/${CMAKE_INSTALL_BINDIR}" "/root/${ZORVA_INSTALL_MODULEDIR}")
    set_target_properties(zorva-host PROPERTIES INSTALL_RPATH "$ORIGIN/${module_from_bin}")
    foreach(page zorva-db.1 zorva-host.1)
        zorva_install_gzipped("${PROJECT_SOURCE_DIR}/packaging/man/${page}" "${CMAKE_INSTALL_MANDIR}/man1")
    endforeach()
    install(FILES packaging/zorva-host.desktop DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
    install(FILES packaging/zorva-host.svg DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()
