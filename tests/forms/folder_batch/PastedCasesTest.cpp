#include "forms/folder_batch/PastedCases.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

static void PrintTo(const CaseKey &key, std::ostream *os)
{
    *os << key.year << '-' << key.type.toStdString() << '-' << key.sequence;
}

namespace {

CaseKey Key(qint16 year, const char *type, qint32 sequence)
{
    return CaseKey{year, QString::fromLatin1(type), sequence};
}

TEST(PastedCases, EachLineACaseOrARefusal)
{
    const PastedCases pasted =
        ReadPastedCases("2009-CA-7\r\n2010 cf 12\r\nnot a case\n\n2010\tCF\t13\n2011CA000099\n99-CA-1\n");
    EXPECT_EQ(pasted.cases, QList<CaseKey>({Key(2009, "CA", 7), Key(2010, "CF", 12), Key(2010, "CF", 13),
                                            Key(2011, "CA", 99)}));
    EXPECT_EQ(pasted.refused, QStringList({"line 3: not a case", "line 7: 99-CA-1"}));
}

TEST(PastedCases, LinesEndInCrLfLfOrCr)
{
    const PastedCases pasted = ReadPastedCases("2009-CA-1\r2009-CA-2\n2009-CA-3\r\n\r\nx\r");
    EXPECT_EQ(pasted.cases, QList<CaseKey>({Key(2009, "CA", 1), Key(2009, "CA", 2), Key(2009, "CA", 3)}));
    // The blank line between counts: the clerk finds the line by its number.
    EXPECT_EQ(pasted.refused, QStringList({"line 5: x"}));
}

TEST(PastedCases, ASpreadsheetRowNeedsThreeCells)
{
    const PastedCases pasted = ReadPastedCases("\t2010\t\t cf \t13\t\n2010\tCF\t13\t4\n2010-CF\t13\n  \t \n");
    EXPECT_EQ(pasted.cases, QList<CaseKey>({Key(2010, "CF", 13)}));
    EXPECT_EQ(pasted.refused, QStringList({"line 2: 2010\tCF\t13\t4", "line 3: 2010-CF\t13"}));
}

TEST(PastedCases, NothingPasted)
{
    for (const QString &text : {QString(), QStringLiteral("\r\n\n \t\r")}) {
        const PastedCases pasted = ReadPastedCases(text);
        EXPECT_TRUE(pasted.cases.isEmpty()) << text.toStdString();
        EXPECT_TRUE(pasted.refused.isEmpty()) << text.toStdString();
    }
}

} // namespace
