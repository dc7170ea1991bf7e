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


// Refused command lines: each says what is wrong, and nothing is opened.
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
