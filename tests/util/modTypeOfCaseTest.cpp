#include "util/modDateTimeFunctions.h"
#include "util/modTypeOfCase.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct TypeCase
{
    const char *code;
    qint16 expected;
};

class TypeOfCaseTest : public ::testing::TestWithParam<TypeCase>
{};

TEST_P(TypeOfCaseTest, ClassAndMasterTable)
{
    const TypeCase c = GetParam();
    const QString code = QString::fromLatin1(c.code);
    EXPECT_EQ(modTypeOfCase::TypeOfCase(code), c.expected) << c.code;
    EXPECT_EQ(modTypeOfCase::MasterTableName(code), c.expected == 1 ? "MASCRM" : "MASCIV") << c.code;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, TypeOfCaseTest,
    ::testing::Values(
        // the fixed criminal list, CV among them
        TypeCase{"OV", 1}, TypeCase{"CV", 1}, TypeCase{"CM", 1}, TypeCase{"CF", 1}, TypeCase{"CC", 1},
        TypeCase{"TR", 1}, TypeCase{"DT", 1}, TypeCase{"CL", 1},
        // "T" alone is padded to "T " and is criminal; any other T code is civil
        TypeCase{"T", 1}, TypeCase{"T ", 1}, TypeCase{"T  ", 1}, TypeCase{"T1", 0}, TypeCase{"TX", 0},
        // every code beginning with J
        TypeCase{"J", 1}, TypeCase{"JV", 1}, TypeCase{"J9", 1}, TypeCase{"J ", 1},
        // exact comparison: no upper-casing, no trimming
        TypeCase{"j", 0}, TypeCase{"cv", 0}, TypeCase{"tr", 0}, TypeCase{"cm", 0}, TypeCase{"j1", 0},
        TypeCase{" T", 0}, TypeCase{" J", 0},
        // cut to two characters before the test
        TypeCase{"TRD", 1}, TypeCase{"XCV", 0}, TypeCase{"JUVENILE", 1}, TypeCase{"CVX", 1},
        // civil: everything else, blanks included
        TypeCase{"", 0}, TypeCase{"  ", 0}, TypeCase{"CR", 0}, TypeCase{"CA", 0}, TypeCase{"DR", 0},
        TypeCase{"C", 0}, TypeCase{"O", 0}));

struct TimeCase
{
    qint16 typed;
    qint16 normalised;
};

class HearingTimeTest : public ::testing::TestWithParam<TimeCase>
{};

TEST_P(HearingTimeTest, AfternoonBelowEightHundred)
{
    EXPECT_EQ(modDateTimeFunctions::NormalizeHearingTime(GetParam().typed), GetParam().normalised)
        << GetParam().typed;
}

INSTANTIATE_TEST_SUITE_P(Times, HearingTimeTest,
                         ::testing::Values(TimeCase{0, 0}, TimeCase{1, 1201}, TimeCase{59, 1259},
                                           TimeCase{100, 1300}, TimeCase{130, 1330}, TimeCase{745, 1945},
                                           TimeCase{775, 1975}, TimeCase{759, 1959}, TimeCase{799, 1999},
                                           TimeCase{800, 800}, TimeCase{1200, 1200}, TimeCase{1259, 1259},
                                           TimeCase{1300, 1300}, TimeCase{1630, 1630}, TimeCase{-5, -5},
                                           TimeCase{-800, -800}, TimeCase{32767, 32767}));

} // namespace
