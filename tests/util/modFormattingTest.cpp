#include "util/modBooleanConversions.h"
#include "util/modFormatCaseNumber.h"
#include "util/modSQLFixes.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(SQLFix, DoublesEverySingleQuote)
{
    const struct
    {
        QString in, out;
    } cases[] = {
        {"DON'T", "DON''T"},
        {"''", "''''"},
        {"", ""},
        {"SMITH", "SMITH"},
        {"'", "''"},
        {"'LEAD", "''LEAD"},
        {"TRAIL'", "TRAIL''"},
        {"O'NEIL'S", "O''NEIL''S"},
        {QString::fromUtf8("ÉCOLE'S \"X\""), QString::fromUtf8("ÉCOLE''S \"X\"")},
        // a typographic apostrophe is another character and stays
        {QString::fromUtf8("O’NEIL"), QString::fromUtf8("O’NEIL")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(modSQLFixes::SQLFix(c.in), c.out) << c.in.toStdString();
}

TEST(FormatCaseNumber, FieldsSeparatorsAndLitigant)
{
    const struct
    {
        qint16 year;
        QString type;
        qint32 sequence;
        QString litigantType;
        qint16 litigant;
        bool dashes;
        QString expected;
    } cases[] = {
        {2005, "CR", 123, "", 0, true, "2005-CR-000123"},
        {2005, "CR", 123, "", 0, false, "2005CR000123"},
        {2005, "T", 123, "", 0, true, "2005-T -000123"},
        {2005, "", 123, "", 0, true, "2005-  -000123"},
        {2005, "CV", 45, "PL", 2, true, "2005-CV-000045-PL-002"},
        {2005, "CV", 45, "PL", 2, false, "2005CV000045PL002"},
        {2005, "CV", 45, "PL", 0, true, "2005-CV-000045-PL"},
        {2005, "CV", 45, "P", 7, true, "2005-CV-000045-P -007"},
        {2005, "CV", 45, "PL", 1234, true, "2005-CV-000045-PL-1234"},
        // a litigant type of blanks adds nothing, and then the litigant is not added either
        {2005, "CV", 45, " ", 2, true, "2005-CV-000045"},
        {2005, "CV", 45, "  ", 2, true, "2005-CV-000045"},
        {2005, "CV", 45, "", 2, true, "2005-CV-000045"},
        // a type after the blanks in character order is added
        {2005, "CV", 45, " D", 3, true, "2005-CV-000045- D-003"},
        // numbers keep at least their width and are never cut
        {5, "CV", 1, "", 0, true, "0005-CV-000001"},
        {2009, "CV", 1234567, "", 0, true, "2009-CV-1234567"},
        {0, "", 0, "", 0, true, "0000-  -000000"},
        {2009, "CVX", 1, "", 0, true, "2009-CVX-000001"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(modFormatCaseNumber::FormatCaseNumber(c.year, c.type, c.sequence, c.litigantType, c.litigant,
                                                        c.dashes),
                  c.expected)
            << c.expected.toStdString();
}

TEST(BoolToString, ChoosesByFlag)
{
    EXPECT_EQ(modBooleanConversions::BoolToString(true, "1", "0"), "1");
    EXPECT_EQ(modBooleanConversions::BoolToString(false, "1", "0"), "0");
    EXPECT_EQ(modBooleanConversions::BoolToString(false, "True", ""), "");
}

} // namespace
