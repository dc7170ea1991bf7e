#include "platform/ProgramFiles.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <optional>

namespace {

using namespace Platform;
using Outcome = ProgramFilesRead::Outcome;

TEST(ProgramFilesFolder, WindowsRules)
{
    const struct
    {
        Outcome outcome;
        const char *value;
        const char *expected;
    } cases[] = {
        {Outcome::ValueRead, "C:\\Program Files", "C:\\Program Files"},
        {Outcome::ValueRead, "D:\\Apps", "D:\\Apps"},
        {Outcome::ValueRead, "C:\\Program Files (x86)", "C:\\Program Files (x86)"},
        // The unexpanded variable, in any letter case, stands for the usual folder.
        {Outcome::ValueRead, "%programfiles%", "C:\\Program Files"},
        {Outcome::ValueRead, "%PROGRAMFILES%", "C:\\Program Files"},
        {Outcome::ValueRead, "%ProgramFiles%", "C:\\Program Files"},
        // Only the whole value is the variable.
        {Outcome::ValueRead, "%PROGRAMFILES%\\Apps", "%PROGRAMFILES%\\Apps"},
        {Outcome::ValueRead, "%PROGRAMFILES", "%PROGRAMFILES"},
        {Outcome::ValueRead, "", ""},
        {Outcome::ValueNotRead, "", "C:\\Program Files"},
        {Outcome::KeyNotOpened, "", ""},
        {Outcome::KeyNotOpened, "D:\\Apps", ""},
    };
    for (const auto &c : cases) {
        const ProgramFilesRead read{c.outcome, QString::fromLatin1(c.value)};
        EXPECT_EQ(ProgramFilesFolder(read, PathStyle::Windows), QLatin1String(c.expected))
            << "outcome " << int(c.outcome) << ", value " << c.value;
    }
}

TEST(ProgramFilesFolder, PosixRules)
{
    const struct
    {
        Outcome outcome;
        const char *value;
        const char *expected;
    } cases[] = {
        {Outcome::ValueRead, "/opt", "/opt"},
        {Outcome::ValueRead, "/srv/apps/", "/srv/apps/"},
        {Outcome::ValueRead, "/usr/local", "/usr/local"},
        // No registry behind it: the Windows variable name is just a name here.
        {Outcome::ValueRead, "%PROGRAMFILES%", "%PROGRAMFILES%"},
        {Outcome::ValueRead, "", "/opt"},
        {Outcome::ValueNotRead, "", "/opt"},
        {Outcome::KeyNotOpened, "", "/opt"},
    };
    for (const auto &c : cases) {
        const ProgramFilesRead read{c.outcome, QString::fromLatin1(c.value)};
        EXPECT_EQ(ProgramFilesFolder(read, PathStyle::Posix), QLatin1String(c.expected))
            << "outcome " << int(c.outcome) << ", value " << c.value;
    }
}

TEST(ProgramFilesFolder, RegistryStringDropsTheTerminatingZero)
{
    // The buffer as the query leaves it: the text, its zero, then the blanks it was filled with.
    QByteArray buffer(255, ' ');
    const QByteArray text = "D:\\Apps";
    buffer.replace(0, text.size() + 1, QByteArray(text).append('\0'));

    const struct
    {
        quint32 returnedLength;
        const char *expected;
    } cases[] = {
        {quint32(text.size() + 1), "D:\\Apps"},
        {quint32(text.size()), "D:\\App"},
        {1, ""},
        {0, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RegistryString(buffer, c.returnedLength), QLatin1String(c.expected)) << c.returnedLength;

    // A length beyond the buffer never reads past it.
    EXPECT_EQ(RegistryString(buffer, 1000).size(), 255);
}

#ifndef Q_OS_WIN

// Sets the variable for one case and puts back what was there.
class EnvironmentValue
{
public:
    explicit EnvironmentValue(const std::optional<QByteArray> &value)
        : m_had(qEnvironmentVariableIsSet(EnvironmentVariable)), m_old(qgetenv(EnvironmentVariable))
    {
        if (value)
            qputenv(EnvironmentVariable, *value);
        else
            qunsetenv(EnvironmentVariable);
    }
    ~EnvironmentValue()
    {
        if (m_had)
            qputenv(EnvironmentVariable, m_old);
        else
            qunsetenv(EnvironmentVariable);
    }

private:
    bool m_had;
    QByteArray m_old;
};

TEST(ProgramFilesValue, ReadsTheEnvironment)
{
    const struct
    {
        std::optional<QByteArray> variable;
        Outcome outcome;
        const char *folder;
    } cases[] = {
        {std::nullopt, Outcome::ValueNotRead, "/opt"},
        {QByteArray(""), Outcome::ValueNotRead, "/opt"},
        {QByteArray("/srv/apps/"), Outcome::ValueRead, "/srv/apps/"},
        {QByteArray("/home/court/programs"), Outcome::ValueRead, "/home/court/programs"},
    };
    for (const auto &c : cases) {
        const EnvironmentValue env(c.variable);
        const QString shown = c.variable ? QString::fromLatin1(*c.variable) : QStringLiteral("(unset)");
        EXPECT_EQ(ReadProgramFiles().outcome, c.outcome) << shown.toStdString();
        EXPECT_EQ(ProgramFilesValue(), QLatin1String(c.folder)) << shown.toStdString();
    }
}

#endif

} // namespace
