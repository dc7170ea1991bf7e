#include "records/FolderStatements.h"

#include <gtest/gtest.h>

namespace {

using namespace FolderStatements;

// The docket's literal statements as sent: numbers as plain digits, the type as it stands (blanks
// and all) with its quotes doubled, as it comes from the court's own rows.
TEST(FolderStatementTexts, LiteralStatementsAsSent)
{
    const QString where = KeyCondition(2005, QStringLiteral("CR"), 1234);
    EXPECT_EQ(where, " Where FILYER=2005 And FILTYP='CR' And FILSEQ=1234");
    EXPECT_EQ(KeyCondition(7, QStringLiteral("T "), 45), " Where FILYER=7 And FILTYP='T ' And FILSEQ=45");
    EXPECT_EQ(KeyCondition(2009, QStringLiteral("C'"), 1), " Where FILYER=2009 And FILTYP='C''' And FILSEQ=1");
    EXPECT_EQ(UpdateLoanLiteral("O''NEIL", "12312005", "CLERK1", where),
              "Update MRLCRT.FILCHK Set FILOTO= 'O''NEIL', FILUDT= 12312005, FILUSR= 'CLERK1' Where FILYER=2005 And "
              "FILTYP='CR' And FILSEQ=1234");
}

} // namespace
