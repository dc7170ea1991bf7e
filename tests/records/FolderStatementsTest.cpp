#include "TestWorld.h"
#include "records/DataObject.h"
#include "records/FolderStatements.h"

#include <gtest/gtest.h>

namespace {

using namespace FolderStatements;

TEST(FolderStatementTexts, LiteralStatementsAsSent)
{
    const QString where = KeyCondition(2005, QStringLiteral("CR"), 1234);
    EXPECT_EQ(where, " Where FILYER=2005 And FILTYP='CR' And FILSEQ=1234");
    EXPECT_EQ(SelectLoanLiteralPrefix + where,
              "Select * From MRLCRT.FILCHK  Where FILYER=2005 And FILTYP='CR' And FILSEQ=1234");
    EXPECT_EQ(DeleteLoanLiteralPrefix + where,
              "Delete From MRLCRT.FILCHK  Where FILYER=2005 And FILTYP='CR' And FILSEQ=1234");
    EXPECT_EQ(UpdateLoanLiteral("SMI", "12312005", "CLERK1", where),
              "Update MRLCRT.FILCHK Set FILOTO= 'SMI', FILUDT= 12312005, FILUSR= 'CLERK1' Where FILYER=2005 And "
              "FILTYP='CR' And FILSEQ=1234");
    // The type goes in unchanged, blanks and all; numbers carry no leading zeros.
    EXPECT_EQ(KeyCondition(7, QStringLiteral("T "), 45), " Where FILYER=7 And FILTYP='T ' And FILSEQ=45");
    EXPECT_EQ(CaseLookup("MASCRM"),
              "Select MASYER,MASTYP,MASSEQ,MASLTP,MASLIT,IfNull(FILOTO,'') As FILOTO From MRLCRT.MASCRM Left Join "
              "MRLCRT.FILCHK On FILYER=MASYER And FILTYP=MASTYP And FILSEQ=MASSEQ Where MASYER=? And MASTYP=? And "
              "MASSEQ=? Order By MASLTP,MASLIT");
    // The editor's delete has two blanks before "Where", the batch run's one.
    EXPECT_TRUE(QString::fromLatin1(DeleteLoanEditor).contains(QLatin1String("FILCHK  Where")));
    EXPECT_TRUE(QString::fromLatin1(DeleteLoanBatch).contains(QLatin1String("FILCHK Where")));
}

// Every statement against a real schema, in the order a folder's life sends them.
class FolderStatementsRun : public ::testing::Test
{
protected:
    FolderStatementsRun()
    {
        QObject::connect(&data, &DataObject::Error, [this](qint32, const QString &d) { errors << d; });
    }
    QVariantList Loan(int seq) const
    {
        return world.Rows(QStringLiteral("SELECT FILOTO, FILUDT, FILUSR FROM MRLCRT.FILCHK WHERE FILYER=2009 AND "
                                         "FILTYP='CV' AND FILSEQ=%1")
                              .arg(seq))
            .value(0);
    }
    int Loans() const { return world.Scalar("SELECT count(*) FROM MRLCRT.FILCHK").toInt(); }

    TestWorld world;
    DataObject data;
    QStringList errors;
};

TEST_F(FolderStatementsRun, EditorStatements)
{
    const QVariantList key{QVariant::fromValue<qint16>(2009), "CV", QVariant::fromValue<qint32>(123)};
    data.Execute(SelectLoan, key);
    EXPECT_TRUE(data.Eof());
    EXPECT_EQ(data.Execute(InsertLoan, QVariantList{"O'NEIL", "01052026", "CLERK1"} + key), 1);
    EXPECT_EQ(Loan(123), QVariantList({"O'NEIL", 1052026, "CLERK1"}));
    data.Execute(SelectLoan, key);
    ASSERT_FALSE(data.Eof());
    EXPECT_EQ(data.Execute(UpdateLoan, QVariantList{"SMI", "12042026", "CLERK2"} + key), 1);
    EXPECT_EQ(Loan(123), QVariantList({"SMI", 12042026, "CLERK2"}));
    EXPECT_EQ(Loans(), 1);
    EXPECT_EQ(data.Execute(DeleteLoanEditor, key), 1);
    EXPECT_EQ(data.Execute(DeleteLoanEditor, key), 0);
    EXPECT_EQ(Loans(), 0);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(FolderStatementsRun, DocketStatements)
{
    const QString where = KeyCondition(2009, QStringLiteral("CV"), 77);
    data.Execute(SelectLoanLiteralPrefix + where);
    EXPECT_TRUE(data.Eof());
    EXPECT_EQ(data.Execute(InsertLoanDocket, QVariantList{2009, "CV", 77, "O'NEIL", "12312005", "CLERK1"}), 1);
    data.Execute(SelectLoanLiteralPrefix + where);
    ASSERT_FALSE(data.Eof());
    EXPECT_EQ(data.Field("FILOTO").toString(), "O'NEIL");
    // The literal update carries the party with its quote doubled and stores it as typed.
    EXPECT_EQ(data.Execute(UpdateLoanLiteral("D''ARCY", "01052026", "CLERK2", where)), 1);
    EXPECT_EQ(Loan(77), QVariantList({"D'ARCY", 1052026, "CLERK2"}));
    EXPECT_EQ(data.Execute(DeleteLoanLiteralPrefix + where), 1);
    EXPECT_EQ(Loans(), 0);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(FolderStatementsRun, BatchStatements)
{
    world.Exec("INSERT INTO MRLCRT.MASCIV VALUES (2009,'CV',5,'PL',2,'N','ABLE','X'), (2009,'CV',5,'DF',1,'N','BAKER',"
               "'Y'), (2009,'CV',5,'PL',1,'N','ALPHA','Z'), (2009,'CV',6,'PL',1,'N','SOLO','')");
    // The batch grid hands doubles for year and sequence.
    EXPECT_EQ(data.Execute(InsertLoan, QVariantList{"PARTY", "01052026", "CLERK1", 2009.0, "CV", 5.0}), 1);

    data.Execute(CaseLookup("MASCIV"), QVariantList{2009.0, "CV", "5"});
    QStringList rows;
    for (; !data.Eof(); data.MoveNext())
        rows << data.Field("MASLTP").toString() + data.Field("MASLIT").toString() + "/" +
                    data.Field("FILOTO").toString();
    EXPECT_EQ(rows, QStringList({"DF1/PARTY", "PL1/PARTY", "PL2/PARTY"}));

    // Without a loan the left join gives the empty text, not null.
    data.Execute(CaseLookup("MASCIV"), QVariantList{2009.0, "CV", "6"});
    ASSERT_FALSE(data.Eof());
    EXPECT_TRUE(data.Field("FILOTO").isValid() && !data.Field("FILOTO").isNull());
    EXPECT_EQ(data.Field("FILOTO").toString(), "");

    data.Execute(SelectLoan, QVariantList{2009.0, "CV", 5.0});
    EXPECT_FALSE(data.Eof());
    EXPECT_EQ(data.Execute(DeleteLoanBatch, QVariantList{2009.0, "CV", 5.0}), 1);
    EXPECT_EQ(Loans(), 0);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(FolderStatementsRun, PartySuggestions)
{
    int seq = 1;
    for (const char *party : {"SMITH", "SMALL", "JONES", "SMI", "SM'T"})
        data.Execute(InsertLoan, QVariantList{party, "01052026", "U", 2009, "CV", seq++});
    data.Execute(PartySuggestions, QVariantList{"SM%"});
    QStringList seen;
    for (; !data.Eof(); data.MoveNext())
        seen << data.Field("FILOTO").toString();
    EXPECT_EQ(seen, QStringList({"SM'T", "SMALL", "SMI", "SMITH"}));
}

} // namespace
