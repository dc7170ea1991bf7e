#include "platform/ProgramFiles.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

using namespace Platform;
using Outcome = ProgramFilesRead::Outcome;

TEST(ProgramFilesFolder, RulesForWhatWasRead)
{
    constexpr PathStyle Win = PathStyle::Windows;
    constexpr PathStyle Posix = PathStyle::Posix;
    const struct
    {
        PathStyle style;
        Outcome outcome;
        const char *value;
        const char *expected;
    } cases[] = {
        {Win, Outcome::ValueRead, "C:\\Program Files", "C:\\Program Files"},
        {Win, Outcome::ValueRead, "D:\\Apps", "D:\\Apps"},
        // The unexpanded variable, in any letter case, stands for the usual folder; only the whole value.
        {Win, Outcome::ValueRead, "%programfiles%", "C:\\Program Files"},
        {Win, Outcome::ValueRead, "%PROGRAMFILES%", "C:\\Program Files"},
        {Win, Outcome::ValueRead, "%ProgramFiles%", "C:\\Program Files"},
        {Win, Outcome::ValueRead, "%PROGRAMFILES%\\Apps", "%PROGRAMFILES%\\Apps"},
        {Win, Outcome::ValueRead, "", ""},
        {Win, Outcome::ValueNotRead, "", "C:\\Program Files"},
        {Win, Outcome::KeyNotOpened, "D:\\Apps", ""},
        {Posix, Outcome::ValueRead, "/opt", "/opt"},
        {Posix, Outcome::ValueRead, "/srv/apps/", "/srv/apps/"},
        // No registry behind it: the Windows variable's name is just a name here.
        {Posix, Outcome::ValueRead, "%PROGRAMFILES%", "%PROGRAMFILES%"},
        {Posix, Outcome::ValueRead, "", "/opt"},
        {Posix, Outcome::ValueNotRead, "", "/opt"},
        {Posix, Outcome::KeyNotOpened, "", "/opt"},
    };
    for (const auto &c : cases) {
        const ProgramFilesRead read{c.outcome, QString::fromLatin1(c.value)};
        EXPECT_EQ(ProgramFilesFolder(read, c.style), QLatin1String(c.expected))
            << (c.style == Win ? "Windows" : "Posix") << ", outcome " << int(c.outcome) << ", " << c.value;
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

} // namespace
