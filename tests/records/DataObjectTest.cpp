#include "TestWorld.h"
#include "TraceCapture.h"
#include "records/DataObject.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

const QString Insert = QStringLiteral(
    "Insert Into MRLCRT.FILCHK (FILOTO, FILUDT, FILUSR,FILYER, FILTYP, FILSEQ) Values(?,?,?,?,?,?)");

class DataObjectTest : public ::testing::Test
{
protected:
    DataObjectTest()
    {
        QObject::connect(&data, &DataObject::Error, [this](qint32 n, const QString &d) {
            errors << d;
            errorNumbers << n;
            sawRowsDuringError = !data.Eof();
        });
    }
    TestWorld world;
    DataObject data;
    QStringList errors;
    QList<qint32> errorNumbers;
    bool sawRowsDuringError = true;
};

TEST_F(DataObjectTest, BoundValuesKeepTheirMeaning)
{
    if (!TestWorld::OnSQLite())
        GTEST_SKIP() << "a server's columns have fixed types";
    // Year and sequence arrive as 16/32-bit integers from the editor, as doubles from the batch
    // grid and as text from elsewhere: all must land as the same integer key.
    const struct
    {
        QVariant year, sequence;
    } cases[] = {
        {QVariant::fromValue<qint16>(2001), QVariant::fromValue<qint32>(1)},
        {2002.0, 2.0},
        {QStringLiteral("2003"), QStringLiteral("3")},
        {QVariant::fromValue<qint16>(-1), QVariant::fromValue<qint32>(2147483647)},
    };
    for (const auto &c : cases) {
        data.Execute(Insert, QVariantList{"X", "01052026", "U", c.year, "CA", c.sequence});
        EXPECT_EQ(world.Scalar(QStringLiteral("SELECT typeof(FILYER) || typeof(FILSEQ) || typeof(FILUDT) "
                                              "FROM MRLCRT.FILCHK WHERE FILYER=%1")
                                   .arg(c.year.toInt())),
                  "integerintegerinteger");
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_EQ(world.Scalar("SELECT FILSEQ FROM MRLCRT.FILCHK WHERE FILYER=-1").toLongLong(), 2147483647);
    // The date text loses its leading zero in the numeric column.
    EXPECT_EQ(world.Scalar("SELECT FILUDT FROM MRLCRT.FILCHK WHERE FILYER=2001").toInt(), 1052026);

    // A key written as an integer is found when bound as a double, and a one-letter type
    // matches its blank-padded form.
    data.Execute(Insert, QVariantList{"Y", "12042026", "U", QVariant::fromValue<qint16>(2009), "T", 5});
    data.Execute(QStringLiteral("Select * From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=?"),
                 QVariantList{2009.0, "T ", 5.0});
    ASSERT_FALSE(data.Eof());
    EXPECT_EQ(data.Field("FILOTO").toString(), "Y");
    EXPECT_EQ(data.Field("FILUDT").toInt(), 12042026);
}

TEST_F(DataObjectTest, TextIsStoredAsTyped)
{
    const QStringList parties{"O'NEIL", "\"QUOTED\"", QString::fromUtf8("MÜLLER-ÉTÉ"), "13 CHARACTERS", "  BLANKS  ",
                              "'; DROP TABLE"};
    int seq = 1;
    for (const QString &p : parties)
        data.Execute(Insert, QVariantList{p, "01012026", "CLERK", 2020, "CA", seq++});
    seq = 1;
    for (const QString &p : parties)
        EXPECT_EQ(world.Scalar(QStringLiteral("SELECT FILOTO FROM MRLCRT.FILCHK WHERE FILSEQ=%1").arg(seq++)).toString(),
                  p);
}

TEST_F(DataObjectTest, CountsChangedRows)
{
    for (int seq = 1; seq <= 3; ++seq)
        EXPECT_EQ(data.Execute(Insert, QVariantList{"A", "01012026", "U", 2020, "CA", seq}), 1);
    const struct
    {
        const char *statement;
        qint32 count;
    } cases[] = {
        {"Update MRLCRT.FILCHK Set FILOTO='B' Where FILYER=1999", 0},
        {"Update MRLCRT.FILCHK Set FILOTO='B' Where FILYER=2020", 3},
        {"Select * From MRLCRT.FILCHK", 0},
        {"Delete From MRLCRT.FILCHK Where FILSEQ<3", 2},
        {"Delete From MRLCRT.FILCHK Where FILSEQ<3", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(data.Execute(QString::fromLatin1(c.statement)), c.count) << c.statement;
}

TEST_F(DataObjectTest, WalksTheRowsOfAQuery)
{
    for (int seq : {3, 1, 2})
        data.Execute(Insert, QVariantList{QStringLiteral("P%1").arg(seq), "01012026", "U", 2020, "CA", seq});
    data.SetStatement(QStringLiteral("Select FILSEQ, FILOTO From MRLCRT.FILCHK Where FILYER=? Order By FILSEQ"));
    data.Execute({}, QVariantList{2020});
    QStringList seen;
    for (; !data.Eof(); data.MoveNext())
        seen << data.Field("filoto").toString() + data.Field("FILSEQ").toString();
    EXPECT_EQ(seen, QStringList({"P11", "P22", "P33"}));
    data.MoveNext();
    EXPECT_TRUE(data.Eof());
    EXPECT_FALSE(data.Field("FILOTO").isValid());

    data.Execute({}, QVariantList{2020});
    EXPECT_FALSE(data.Field("NOSUCH").isValid());
    data.Close();
    EXPECT_TRUE(data.Eof());
    data.Execute({}, QVariantList{1999});
    EXPECT_TRUE(data.Eof());
}

TEST_F(DataObjectTest, ErrorIsRaisedInsideTheFailingCall)
{
    data.Execute(QStringLiteral("Select * From MRLCRT.FILCHK"));
    data.Execute(Insert, QVariantList{"A", "01012026", "U", 2020, "CA", 1});
    data.Execute(QStringLiteral("Select * From MRLCRT.FILCHK"));
    ASSERT_FALSE(data.Eof());

    const char *failing[] = {
        "Select * From MRLCRT.NOSUCH",
        "Selct nonsense",
        // the unique key: one loan row per folder
        "Insert Into MRLCRT.FILCHK (FILOTO, FILUDT, FILUSR,FILYER, FILTYP, FILSEQ) Values('B',1,'U',2020,'CA',1)",
    };
    for (const char *statement : failing) {
        errors.clear();
        sawRowsDuringError = true;
        EXPECT_EQ(data.Execute(QString::fromLatin1(statement)), 0) << statement;
        ASSERT_EQ(errors.size(), 1) << statement;
        EXPECT_FALSE(sawRowsDuringError) << statement;
        EXPECT_TRUE(data.Eof());
        EXPECT_EQ(data.LastErrorDescription(), errors.first());
    }
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILCHK").toInt(), 1);
}

TEST_F(DataObjectTest, LockedDatabaseRaisesErrorAfterTheBusyTimeout)
{
    {
        const TestWorld::WriteLock otherClerk(world);
        ASSERT_TRUE(otherClerk.Held());
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(data.Execute(Insert, QVariantList{"A", "01012026", "U", 2020, "CA", 2}), 0);
        const qint64 waited = timer.elapsed();
        ASSERT_EQ(errors.size(), 1);
        if (TestWorld::OnSQLite())
            EXPECT_EQ(errorNumbers.first(), 5); // SQLITE_BUSY
        else
            EXPECT_TRUE(errors.first().contains("lock timeout")) << errors.first().toStdString();
        EXPECT_GE(waited, 4500);
        EXPECT_LT(waited, 15000);
    }
    // Once the other clerk is done, the same object writes again.
    EXPECT_EQ(data.Execute(Insert, QVariantList{"A", "01012026", "U", 2020, "CA", 2}), 1);
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(DataObjectTest, TracesTextAndBoundValues)
{
    TraceCapture trace;
    data.Execute(Insert, QVariantList{"O'NEIL", "01052026", "CLERK1", QVariant::fromValue<qint16>(2009), "CV", 2.0});
    data.Execute(QStringLiteral("Select * From MRLCRT.FILCHK"));
    ASSERT_EQ(trace.Entries().size(), 2);
    EXPECT_EQ(trace.Entries().at(0), Insert + "\n  ?1 = O'NEIL (QString)\n  ?2 = 01052026 (QString)\n"
                                              "  ?3 = CLERK1 (QString)\n  ?4 = 2009 (short)\n  ?5 = CV (QString)\n"
                                              "  ?6 = 2 (double)");
    EXPECT_EQ(trace.Entries().at(1), "Select * From MRLCRT.FILCHK");
}

TEST_F(DataObjectTest, HandleErrorReportsToThePresenterWithTheWindow)
{
    QObject window;
    QObject *shownFor = nullptr;
    QString shown;
    DataObject::SetErrorPresenter([&](QObject *w, const QString &d) {
        shownFor = w;
        shown = d;
    });
    data.Execute(QStringLiteral("Select * From MRLCRT.NOSUCH"));
    data.HandleError(&window);
    DataObject::SetErrorPresenter({});
    EXPECT_EQ(shownFor, &window);
    EXPECT_TRUE(shown.contains(QLatin1String("NOSUCH"), Qt::CaseInsensitive)) << shown.toStdString();
}

} // namespace
