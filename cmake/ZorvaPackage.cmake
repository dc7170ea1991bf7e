# The Debian package (scripts/package): one package with the programs, the component and what a
# host program's developers build against.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zorvafolders)
set(CPACK_PACKAGE_VENDOR "Venholt Dedezirive, Ltd")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ZORVAFolders team <zorvafolders@venholt-dedezirive.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not found by dpkg-shlibdeps, which sees only linked libraries: the SQLite driver the default
# court needs, the platform plugins the host's windows need; the servers' drivers are a choice.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libqt6sql6-psql, libqt6sql6-odbc")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "county court folder loan tracking component")
set(CPACK_PACKAGE_DESCRIPTION "ZORVAFolders records who holds the physical file folder of each court case,
who recorded the loan and when, against the court database (SQLite,
PostgreSQL or an ODBC source such as DB2 for i). It brings the component a
host program loads, the demo host zorva-host, the administration tool
zorva-db, the reference tables, and the headers, CMake package and
pkg-config file for building a host program against the component.")
include(CPack)
