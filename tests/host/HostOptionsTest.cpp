#include "HostOptions.h"

#include <gtest/gtest.h>

namespace {

QStringList CommandLine(std::initializer_list<const char *> arguments)
{
    QStringList list{QStringLiteral("zorva-host")};
    for (const char *a : arguments)
        list << QString::fromUtf8(a);
    return list;
}

std::string Show(const QStringList &arguments)
{
    return arguments.join(QLatin1Char(' ')).toStdString();
}

} // namespace

TEST(HostOptions, GoodCommandLines)
{
    const struct
    {
        std::initializer_list<const char *> arguments;
        const char *database, *programFiles, *editCase;
        bool help;
    } cases[] = {
        {{}, "", "", "", false},
        {{"--database", "sqlite:/tmp/court.db"}, "sqlite:/tmp/court.db", "", "", false},
        {{"--database=postgresql://clerk@db:5432/court"}, "postgresql://clerk@db:5432/court", "", "", false},
        {{"--database", "odbc:DSN=COURT;UID=CLERK"}, "odbc:DSN=COURT;UID=CLERK", "", "", false},
        {{"--program-files", "build/demo/programfiles", "--edit", "2009 CV 123"},
         "",
         "build/demo/programfiles",
         "2009 CV 123",
         false},
        {{"--edit=2009CV000123"}, "", "", "2009CV000123", false},
        {{"--edit", " 2009-cv-123 "}, "", "", "2009-cv-123", false},
        {{"--edit", "2009-CV-123", "--database", "sqlite:c.db", "--program-files", "/srv/pf"},
         "sqlite:c.db",
         "/srv/pf",
         "2009-CV-123",
         false},
        {{"--help"}, "", "", "", true},
        {{"-h", "--database", "sqlite:/x.db"}, "sqlite:/x.db", "", "", true},
    };
    for (const auto &c : cases) {
        const QStringList arguments = CommandLine(c.arguments);
        const HostOptionsResult result = ParseHostOptions(arguments);
        ASSERT_TRUE(result.options.has_value()) << Show(arguments) << ": " << result.error.toStdString();
        EXPECT_TRUE(result.error.isEmpty()) << Show(arguments);
        EXPECT_EQ(result.options->database, QString::fromUtf8(c.database)) << Show(arguments);
        EXPECT_EQ(result.options->programFiles, QString::fromUtf8(c.programFiles)) << Show(arguments);
        EXPECT_EQ(result.options->editCase, QString::fromUtf8(c.editCase)) << Show(arguments);
        EXPECT_EQ(result.options->help, c.help) << Show(arguments);
    }
}

TEST(HostOptions, BadCommandLinesSayWhatIsWrong)
{
    const struct
    {
        std::initializer_list<const char *> arguments;
        const char *said;
    } cases[] = {
        {{"--database"}, "--database"},
        {{"--database", "/tmp/court.db"}, "\"/tmp/court.db\" is not a court database URL"},
        {{"--database", "sqlite:"}, "is not a court database URL"},
        {{"--database", "mysql://clerk@db/court"}, "is not a court database URL"},
        {{"--database", "SQLITE:/tmp/court.db"}, "is not a court database URL"},
        {{"--program-files", ""}, "--program-files: the folder is empty"},
        {{"--program-files", "  "}, "--program-files: the folder is empty"},
        {{"--edit", "20-CV-123"}, "--edit: \"20-CV-123\" is not a case number"},
        {{"--edit", "2009-CV-1234567"}, "\"2009-CV-1234567\" is not a case number"},
        {{"--edit", "2009-CV-0"}, "is not a case number"},
        {{"--edit", ""}, "--edit: Type a case number"},
        {{"--edit"}, "--edit"},
        {{"--frobnicate"}, "frobnicate"},
        {{"2009-CV-123"}, "Unexpected argument: 2009-CV-123"},
        {{"--edit", "2009-CV-1", "--edit", "2009-CV-2"}, "--edit given more than once"},
        {{"--database", "sqlite:/a.db", "--database=sqlite:/b.db"}, "--database given more than once"},
        {{"--screenshots", ""}, "--screenshots: the folder is empty"},
        {{"--screenshots", "a", "--screenshots", "b"}, "--screenshots given more than once"},
    };
    for (const auto &c : cases) {
        const QStringList arguments = CommandLine(c.arguments);
        const HostOptionsResult result = ParseHostOptions(arguments);
        EXPECT_FALSE(result.options.has_value()) << Show(arguments);
        EXPECT_TRUE(result.error.contains(QString::fromUtf8(c.said)))
            << Show(arguments) << " said: " << result.error.toStdString();
    }
}

TEST(HostOptions, UsageNamesEveryOption)
{
    const QString usage = HostUsage();
    for (const char *option : {"Usage: zorva-host [options]", "--database <URL>", "--program-files <DIR>",
                               "--edit <CASE>", "--screenshots <DIR>", "--help", "--version"})
        EXPECT_TRUE(usage.contains(QLatin1String(option))) << option << " missing from:\n"
                                                           << usage.toStdString();
}

TEST(HostOptions, DefaultUserIsTheLoginNameInUpperCase)
{
    const struct
    {
        const char *user, *logName, *expected;
    } cases[] = {
        {"jdoe", "other", "JDOE"},
        {"", "clerk1", "CLERK1"},
        {"  ", "clerk1", "CLERK1"},
        {" mary ", "", "MARY"},
        {"", "", ""},
        {"o'neil", "", "O'NEIL"},
        {"JDOE", "jdoe", "JDOE"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DefaultUserName(QString::fromUtf8(c.user), QString::fromUtf8(c.logName)),
                  QString::fromUtf8(c.expected))
            << "USER=" << c.user << " LOGNAME=" << c.logName;
}
