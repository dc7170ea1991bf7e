#include "platform/ProgramFiles.h"

#include <gtest/gtest.h>

namespace {

using namespace Platform;
using Outcome = ProgramFilesRead::Outcome;

TEST(ProgramFilesFolder, RulesForWhatWasRead)
{
    const struct { PathStyle style; Outcome outcome; const char *value, *expected; } cases[] = {
        {PathStyle::Windows, Outcome::ValueRead, "D:\\Apps", "D:\\Apps"},
        // The unexpanded variable, in any letter case and only as the whole value, is the usual folder.
        {PathStyle::Windows, Outcome::ValueRead, "%programfiles%", "C:\\Program Files"},
        {PathStyle::Windows, Outcome::ValueRead, "%PROGRAMFILES%\\Apps", "%PROGRAMFILES%\\Apps"},
        {PathStyle::Windows, Outcome::ValueNotRead, "", "C:\\Program Files"},
        {PathStyle::Windows, Outcome::KeyNotOpened, "D:\\Apps", ""},
        {PathStyle::Posix, Outcome::ValueRead, "%PROGRAMFILES%", "%PROGRAMFILES%"},
        {PathStyle::Posix, Outcome::ValueRead, "", "/opt"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ProgramFilesFolder({c.outcome, QString::fromLatin1(c.value)}, c.style), QLatin1String(c.expected)) << c.value;
}

} // namespace
