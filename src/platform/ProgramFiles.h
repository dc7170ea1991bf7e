#pragma once

#include <QByteArrayView>
#include <QChar>
#include <QString>

// The machine's Program Files folder: on Windows the registry value "ProgramFilesDir", elsewhere
// the environment variable ZORVA_PROGRAM_FILES. What was read and the rules applied to it are
// kept apart, so that the Windows rules are tested on every platform.
namespace Platform {

// Paths follow the platform the folder came from: backslashes for a registry value, slashes for
// the environment variable.
enum class PathStyle { Windows, Posix };

#ifdef Q_OS_WIN
inline constexpr PathStyle NativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle NativePathStyle = PathStyle::Posix;
#endif

constexpr QChar Separator(PathStyle style)
{
    return style == PathStyle::Windows ? QChar(u'\\') : QChar(u'/');
}

// The outcome of asking the system for the folder. On Windows the key may fail to open or the
// value fail to read; elsewhere a variable that is unset or empty counts as not read.
struct ProgramFilesRead
{
    enum class Outcome { KeyNotOpened, ValueNotRead, ValueRead };
    Outcome outcome = Outcome::KeyNotOpened;
    QString value;
};

inline constexpr char EnvironmentVariable[] = "ZORVA_PROGRAM_FILES";
inline constexpr char WindowsDefault[] = "C:\\Program Files";
inline constexpr char PosixDefault[] = "/opt";

// The folder for what was read. Windows: key not opened gives "" (the product folder then sits
// at the root of the current drive), a value not read or an unexpanded "%PROGRAMFILES%" (any
// case) gives "C:\Program Files". Elsewhere: the variable's value, or "/opt".
QString ProgramFilesFolder(const ProgramFilesRead &read, PathStyle style);

// A string value as RegQueryValueExA leaves it: the returned length counts the terminating zero.
QString RegistryString(QByteArrayView buffer, quint32 returnedLength);

// Reads the registry or the environment; no rules applied.
ProgramFilesRead ReadProgramFiles();

// ProgramFilesFolder(ReadProgramFiles(), NativePathStyle).
QString ProgramFilesValue();

} // namespace Platform
