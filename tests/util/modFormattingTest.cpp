#include "util/modFormatCaseNumber.h"
#include "util/modSQLFixes.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(SQLFix, DoublesEverySingleQuote)
{
    const struct { QString in, out; } cases[] = {{"DON'T", "DON''T"}, {"''", "''''"}, {"", ""}, {"'LEAD", "''LEAD"}, {"O'NEIL'S", "O''NEIL''S"}};
    for (const auto &c : cases)
        EXPECT_EQ(modSQLFixes::SQLFix(c.in), c.out) << c.in.toStdString();
}

// clang-format off
TEST(FormatCaseNumber, FieldsSeparatorsAndLitigant)
{
    const struct { qint16 year; QString type; qint32 sequence; QString litigantType; qint16 litigant; bool dashes; QString expected; } cases[] = {
        {2005, "CR", 123, "", 0, true, "2005-CR-000123"},
        {2005, "CR", 123, "", 0, false, "2005CR000123"},
        {2005, "T", 123, "", 0, true, "2005-T -000123"},
        {2005, "CV", 45, "PL", 2, true, "2005-CV-000045-PL-002"},
        {2005, "CV", 45, "PL", 0, true, "2005-CV-000045-PL"},
        // a litigant type of blanks adds nothing, and then the litigant is not added either
        {2005, "CV", 45, "  ", 2, true, "2005-CV-000045"},
        {2005, "CV", 45, " D", 3, true, "2005-CV-000045- D-003"},
        // numbers keep at least their width and are never cut
        {5, "CV", 1, "", 0, true, "0005-CV-000001"},
        {2009, "CV", 1234567, "", 0, true, "2009-CV-1234567"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(modFormatCaseNumber::FormatCaseNumber(c.year, c.type, c.sequence, c.litigantType, c.litigant, c.dashes), c.expected);
}
// clang-format on

} // namespace
