#include "ProgramFiles.h"

#include <QtGlobal>
#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace Platform {

QString ProgramFilesFolder(const ProgramFilesRead &read, PathStyle style)
{
    using Outcome = ProgramFilesRead::Outcome;
    if (style == PathStyle::Posix) {
        if (read.outcome == Outcome::ValueRead && !read.value.isEmpty())
            return read.value;
        return QString::fromLatin1(PosixDefault);
    }
    switch (read.outcome) {
    case Outcome::KeyNotOpened:
        return {};
    case Outcome::ValueNotRead:
        return QString::fromLatin1(WindowsDefault);
    case Outcome::ValueRead:
        break;
    }
    // Some installers leave the variable's name in the value instead of the folder.
    if (read.value.compare(QLatin1String("%PROGRAMFILES%"), Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(WindowsDefault);
    return read.value;
}

QString RegistryString(QByteArrayView buffer, quint32 returnedLength)
{
    const qsizetype length = std::clamp<qsizetype>(qsizetype(returnedLength) - 1, 0, buffer.size());
    // The "A" functions hand back the ANSI code page, which is what fromLocal8Bit decodes on Windows.
    return QString::fromLocal8Bit(buffer.first(length));
}

#ifdef Q_OS_WIN

ProgramFilesRead ReadProgramFiles()
{
    ProgramFilesRead read;
    HKEY key = nullptr;
    constexpr REGSAM readAccess = 0x20019; // KEY_READ
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, readAccess,
                      &key) != ERROR_SUCCESS)
        return read;

    char buffer[255];
    std::fill(std::begin(buffer), std::end(buffer), ' ');
    DWORD length = sizeof buffer;
    DWORD type = REG_SZ;
    if (RegQueryValueExA(key, "ProgramFilesDir", nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &length) ==
        ERROR_SUCCESS) {
        read.outcome = ProgramFilesRead::Outcome::ValueRead;
        read.value = RegistryString(QByteArrayView(buffer, sizeof buffer), length);
    } else {
        read.outcome = ProgramFilesRead::Outcome::ValueNotRead;
    }
    RegCloseKey(key);
    return read;
}

#else

ProgramFilesRead ReadProgramFiles()
{
    ProgramFilesRead read;
    if (qEnvironmentVariableIsEmpty(EnvironmentVariable)) {
        read.outcome = ProgramFilesRead::Outcome::ValueNotRead;
    } else {
        read.outcome = ProgramFilesRead::Outcome::ValueRead;
        read.value = qEnvironmentVariable(EnvironmentVariable);
    }
    return read;
}

#endif

QString ProgramFilesValue()
{
    return ProgramFilesFolder(ReadProgramFiles(), NativePathStyle);
}

} // namespace Platform
