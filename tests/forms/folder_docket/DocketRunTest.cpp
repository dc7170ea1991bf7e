#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "TraceCapture.h"
#include "forms/folder_docket/DocketRun.h"
#include "records/DataObject.h"

#include <gtest/gtest.h>

namespace {

TEST(DocketStatement, ClausesFollowTheSelection)
{
    const QDate day(2005, 12, 31);
    const QString head = "Select Distinct HRGYER,HRGTYP,HRGSEQ,HRGJDG,HRGROM From MRLCRT.HRGDTA Where HRGHDT=20051231";
    const struct
    {
        const char *judge, *room;
        qint32 begin, end;
        QString tail;
    } cases[] = {
        {"SMI", "2", 830, 130, " And HRGJDG='SMI' And HRGROM='2' And HRGHTM Between 830 And 1330"},
        {"*ALL", "*ALL", 0, 0, ""},
        {"*ALL", "*ALL", 130, 400, " And HRGHTM Between 1330 And 1600"},
        {"*ALL", "*ALL", 0, 400, ""}, // no begin time, no range
        {"O'NEIL", "*ALL", 0, 0, " And HRGJDG='O''NEIL'"},
        // the room clause needs a value that sorts after "*ALL"
        {"*ALL", " 1", 0, 0, ""},
        {"*ALL", "*AL", 0, 0, ""},
        {"*ALL", "*", 0, 0, ""},
        {"*ALL", "*B", 0, 0, " And HRGROM='*B'"},
        {"*ALL", "+", 0, 0, " And HRGROM='+'"},
        {"*ALL", "4A", 0, 0, " And HRGROM='4A'"},
    };
    for (const auto &c : cases) {
        DocketSelection s;
        s.hearingDate = day;
        s.judge = QLatin1String(c.judge);
        s.room = QLatin1String(c.room);
        s.beginTime = c.begin;
        s.endTime = c.end;
        EXPECT_EQ(DocketRun::HearingStatement(s), head + c.tail) << c.judge << "/" << c.room;
    }
    EXPECT_EQ(DocketRun::FolderWhereClause(2005, "CR", 1234), " Where FILYER=2005 And FILTYP='CR' And FILSEQ=1234");
}

// A docket on 7 December 2026 in a real court file.
class DocketRunTest : public ::testing::Test
{
protected:
    DocketRunTest()
    {
        selection.hearingDate = QDate(2026, 12, 7);
        Hearing(2009, "CF", 1, "SMI", "1", 900);
        Hearing(2009, "CF", 2, "JON", "2", 1030);
        Hearing(2010, "CA", 3, "SMI", "4A", 1330);
        Hearing(2010, "CV", 4, "GAR", "1", 1500);
        Hearing(2011, "CF", 9, "SMI", "1", 900, 20261208); // another day
        Master("MASCRM", 2009, "CF", 1, "N");
        Master("MASCRM", 2009, "CF", 2, "S");
        Master("MASCIV", 2010, "CA", 3, "N");
        Master("MASCRM", 2010, "CV", 4, "N"); // CV counts as criminal
    }
    void Hearing(int year, const char *type, int seq, const char *judge, const char *room, int time,
                 int date = 20261207)
    {
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (%1,'%2',%3,'%4','%5',%6,%7)")
                       .arg(year)
                       .arg(QLatin1String(type))
                       .arg(seq)
                       .arg(QLatin1String(judge), QLatin1String(room))
                       .arg(date)
                       .arg(time));
    }
    void Master(const char *table, int year, const char *type, int seq, const char *branch)
    {
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.%1 VALUES (%2,'%3',%4,'PL',1,'%5','STATE','')")
                       .arg(QLatin1String(table))
                       .arg(year)
                       .arg(QLatin1String(type))
                       .arg(seq)
                       .arg(QLatin1String(branch)));
    }
    qint16 Run(const char *action, bool logAuto = false, bool logManual = false)
    {
        selection.action = QLatin1String(action);
        DocketRun run(selection, "CLERK1", logAuto, logManual);
        QObject::connect(run.adoHRGDTA(), &DataObject::Error, [this](qint32, const QString &d) { errors << d; });
        QObject::connect(run.adoMASTER(), &DataObject::Error, [this](qint32, const QString &d) { errors << d; });
        QObject::connect(run.adoFILCHK(), &DataObject::Error, [this](qint32, const QString &d) { errors << d; });
        const qint16 count = run.Run();
        failed = run.Failed();
        return count;
    }
    // seq -> holder, user, date of every loan row
    QList<QVariantList> Loans() const
    {
        return world.Rows("SELECT FILSEQ, FILOTO, FILUSR, FILUDT FROM MRLCRT.FILCHK ORDER BY FILSEQ");
    }
    QList<QVariantList> Log() const
    {
        return world.Rows("SELECT LOGSEQ, LOGOTO, LOGOUT, LOGAUT FROM MRLCRT.FILLOG ORDER BY LOGSEQ, " + TestWorld::InsertionOrder());
    }
    static int Today() { return QDate::currentDate().toString("MMddyyyy").toInt(); }

    TestWorld world;
    DocketSelection selection;
    QStringList errors;
    bool failed = false;
    ModalAnswerer answerer; // no box is expected; a stray one is recorded, not left hanging
};

TEST_F(DocketRunTest, EveryJudgeGetsTheFoldersOfItsHearings)
{
    world.Lend(2010, "CV", 4, "PUBLIC DEF"); // on loan elsewhere: reassigned
    EXPECT_EQ(Run("*OUT"), 4);
    EXPECT_EQ(Loans(), QList<QVariantList>({{1, "SMI", "CLERK1", Today()},
                                            {2, "JON", "CLERK1", Today()},
                                            {3, "SMI", "CLERK1", Today()},
                                            {4, "GAR", "CLERK1", Today()}}));
    EXPECT_TRUE(Log().isEmpty()); // logging off
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(DocketRunTest, OneJudgeAndATypedPartyAsSent)
{
    world.Lend(2009, "CF", 1, "PUBLIC DEF");
    selection.judge = "SMI";
    selection.party = "O'NEIL ";
    TraceCapture trace;
    EXPECT_EQ(Run("*OUT", true), 2);
    const QString day = QDate::currentDate().toString("MMddyyyy");
    const QString log = "Insert Into MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) "
                        "Values(?,?,?,?,?,?,?,?)";
    EXPECT_EQ(trace.Statements(),
              QStringList({"Select Distinct HRGYER,HRGTYP,HRGSEQ,HRGJDG,HRGROM From MRLCRT.HRGDTA Where "
                           "HRGHDT=20261207 And HRGJDG='SMI'",
                           "Select * From MRLCRT.FILCHK  Where FILYER=2009 And FILTYP='CF' And FILSEQ=1",
                           "Update MRLCRT.FILCHK Set FILOTO= 'O''NEIL ', FILUDT= " + day +
                               ", FILUSR= 'CLERK1' Where FILYER=2009 And FILTYP='CF' And FILSEQ=1",
                           log,
                           "Select * From MRLCRT.FILCHK  Where FILYER=2010 And FILTYP='CA' And FILSEQ=3",
                           "Insert Into MRLCRT.FILCHK (FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR) "
                           "Values(?,?,?,?,?,?)",
                           log}));
    // The insert binds the party as typed, quote and blank included.
    EXPECT_TRUE(trace.Entries().at(5).contains("?4 = O'NEIL  (QString)")) << trace.Entries().at(5).toStdString();
    EXPECT_EQ(Loans(), QList<QVariantList>({{1, "O'NEIL ", "CLERK1", Today()}, {3, "O'NEIL ", "CLERK1", Today()}}));
    EXPECT_EQ(Log(), QList<QVariantList>({{1, "O'NEIL ", 1, 1}, {3, "O'NEIL ", 1, 1}}));
}

TEST_F(DocketRunTest, CheckInTakesBackOnlyWhatIsOut)
{
    world.Lend(2009, "CF", 2, "JON");
    world.Lend(2010, "CV", 4, "DA OFFICE");
    world.Lend(2011, "CF", 9, "SMI"); // heard another day: stays out
    EXPECT_EQ(Run("*IN", false, true), 2);
    EXPECT_EQ(Loans(), QList<QVariantList>({{9, "SMI", "OLD", 1052026}}));
    EXPECT_EQ(Log(), QList<QVariantList>({{2, "JON", 0, 0}, {4, "DA OFFICE", 0, 0}}));
}

TEST_F(DocketRunTest, ACaseHeardTwiceIsWrittenTwiceAndTakenBackOnce)
{
    Hearing(2009, "CF", 1, "JON", "2", 1100);
    EXPECT_EQ(Run("*OUT", true), 5);
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILCHK WHERE FILSEQ=1").toInt(), 1);
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILLOG WHERE LOGSEQ=1").toInt(), 2);
    EXPECT_EQ(Run("*IN"), 4);
    EXPECT_TRUE(Loans().isEmpty());
}

TEST_F(DocketRunTest, BranchKeepsOnlyItsCasesFromTheRightMaster)
{
    Hearing(2012, "DR", 7, "SMI", "3", 900); // no master row: left out
    Master("MASCRM", 2010, "CA", 3, "S");     // a civil type is never looked up in MASCRM
    TraceCapture trace;
    selection.branch = "N";
    EXPECT_EQ(Run("*OUT"), 3);
    EXPECT_EQ(Loans(), QList<QVariantList>({{1, "SMI", "CLERK1", Today()},
                                            {3, "SMI", "CLERK1", Today()},
                                            {4, "GAR", "CLERK1", Today()}}));
    // Each case's type decides its master; the type is bound in two positions.
    QStringList masters;
    for (const QString &entry : trace.Entries()) {
        if (entry.startsWith("Select * From MRLCRT.MAS"))
            masters << entry.section(' ', 3, 3) + entry.section('\n', 2, 2).section(' ', 4, 4);
    }
    masters.sort();
    EXPECT_EQ(masters, QStringList({"MRLCRT.MASCIVCA", "MRLCRT.MASCIVDR", "MRLCRT.MASCRMCF", "MRLCRT.MASCRMCF",
                                    "MRLCRT.MASCRMCV"}));
    EXPECT_TRUE(trace.Statements().contains("Select * From MRLCRT.MASCIV Where MASYER=? And MASTYP=? and MASSEQ=?"));

    // The branch as typed: a trailing blank matches nothing.
    world.Exec("DELETE FROM MRLCRT.FILCHK");
    selection.branch = "N ";
    EXPECT_EQ(Run("*OUT"), 0);
}

TEST_F(DocketRunTest, EmptyDocketAndBrokenRows)
{
    selection.hearingDate = QDate(2026, 12, 25);
    EXPECT_EQ(Run("*OUT"), 0);
    world.Exec("INSERT INTO MRLCRT.HRGDTA VALUES (NULL,'CF',1,'SMI','1',20261225,900)");
    world.Exec("INSERT INTO MRLCRT.HRGDTA VALUES (2009,'CF',5000000000,'SMI','1',20261225,900)");
    world.Exec("INSERT INTO MRLCRT.HRGDTA VALUES (99999,'CF',1,'SMI','1',20261225,900)");
    world.Exec("INSERT INTO MRLCRT.HRGDTA VALUES (2009,'CF',8,'SMI','1',20261225,900)");
    EXPECT_EQ(Run("*OUT"), 1);
    EXPECT_EQ(Loans(), QList<QVariantList>({{8, "SMI", "CLERK1", Today()}}));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(DocketRunTest, AFailureStopsTheRunAndKeepsWhatWasWritten)
{
    // The third folder written fails, whichever case it is.
    world.FailInsertsFrom(2, "disk on fire");
    Run("*OUT", true);
    EXPECT_TRUE(failed);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("disk on fire"));
    EXPECT_EQ(Loans().size(), 2);
    EXPECT_EQ(Log().size(), 2); // no half-done change: each written folder logged, nothing after the failure
}

} // namespace
