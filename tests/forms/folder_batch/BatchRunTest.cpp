#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "TraceCapture.h"
#include "forms/folder_batch/BatchLookup.h"
#include "forms/folder_batch/BatchRun.h"
#include "forms/folder_batch/modEliminateKeystroke.h"
#include "records/DataObject.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

using modEliminateKeystroke::NumericKeyFilter;
using modEliminateKeystroke::UpperCaseKeyFilter;

TEST(KeyFilters, EachKeyKeptReplacedOrDropped)
{
    const struct
    {
        int key;
        int numeric, upper, upperWithPeriod;
    } cases[] = {
        {8, 8, 8, 8},       {9, 9, 9, 9},       {13, 13, 13, 13},   {27, 27, 27, 27},
        {'0', '0', '0', '0'}, {'9', '9', '9', '9'}, {'/', 0, '/', '/'}, {':', 0, ':', ':'},
        {'a', 0, 'A', 'A'}, {'z', 0, 'Z', 'Z'}, {'C', 0, 'C', 'C'}, {'.', 0, 0, '.'},
        {' ', 0, ' ', ' '}, {'-', 0, '-', '-'}, {10, 0, 10, 10},    {0xE9, 0, 0xC9, 0xC9},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(NumericKeyFilter(qint16(c.key)), c.numeric) << c.key;
        EXPECT_EQ(UpperCaseKeyFilter(qint16(c.key), false), c.upper) << c.key;
        EXPECT_EQ(UpperCaseKeyFilter(qint16(c.key), true), c.upperWithPeriod) << c.key;
    }
}

class BatchUnits : public ::testing::Test
{
protected:
    void Litigant(const char *table, int year, const char *type, int seq, const char *ltp, int lit, const char *name)
    {
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.%1 VALUES (%2,'%3',%4,'%5',%6,'N','%7','')")
                       .arg(QLatin1String(table))
                       .arg(year)
                       .arg(QLatin1String(type))
                       .arg(seq)
                       .arg(QLatin1String(ltp))
                       .arg(lit)
                       .arg(QLatin1String(name)));
    }
    QList<QVariantList> Loans() const
    {
        return world.Rows("SELECT FILTYP, FILSEQ, FILOTO, FILUSR, FILUDT FROM MRLCRT.FILCHK ORDER BY FILTYP, FILSEQ");
    }
    QList<QVariantList> Log() const
    {
        return world.Rows("SELECT LOGSEQ, LOGOTO, LOGOUT, LOGAUT, LOGUSR FROM MRLCRT.FILLOG ORDER BY " + TestWorld::InsertionOrder());
    }
    static int Today() { return QDate::currentDate().toString("MMddyyyy").toInt(); }

    struct Outcome
    {
        qint16 count;
        QList<qsizetype> changed;
    };
    Outcome Run(const QList<BatchRun::Row> &rows, const char *action, const char *party, bool logAuto = false,
                bool logManual = false)
    {
        DataObject folders;
        QObject::connect(&folders, &DataObject::Error, [this](qint32, const QString &d) { errors << d; });
        BatchRun run(&folders, {QLatin1String(action), QLatin1String(party), "CLERK1", logAuto, logManual});
        Outcome o;
        o.count = run.Run(rows, [&o](qsizetype i) { o.changed << i; });
        failed = run.Failed();
        return o;
    }

    TestWorld world;
    QStringList errors;
    bool failed = false;
    ModalAnswerer answerer;
};

TEST_F(BatchUnits, LookupFindsTitleAndHolderInTheRightMaster)
{
    Litigant("MASCIV", 2009, "CA", 7, "PL", 2, "ZED");
    Litigant("MASCIV", 2009, "CA", 7, "PL", 1, "ABLE");
    Litigant("MASCIV", 2009, "CA", 7, "DF", 1, "BAKER");
    Litigant("MASCRM", 2009, "CA", 8, "PL", 1, "WRONG");   // a civil type is never looked up here
    Litigant("MASCRM", 2010, "CF", 12, "PL", 1, "STATE");
    Litigant("MASCRM", 2010, "CF", 12, "DF", 1, "DOE");
    Litigant("MASCIV", 2011, "SC", 3, "XX", 1, "NOBODY"); // no PL or DF: an empty style
    world.Lend(2010, "CF", 12, "DA OFFICE");

    DataObject master;
    QObject::connect(&master, &DataObject::Error, [this](qint32, const QString &d) { errors << d; });
    BatchLookup lookup(&master);
    const struct
    {
        double year;
        const char *type, *seq;
        bool found;
        const char *title, *holder;
    } cases[] = {
        {2009, "CA", "7", true, "ABLE VS BAKER", ""},
        {2009, "CA", "000007", true, "ABLE VS BAKER", ""},
        {2010, "CF", "12", true, "STATE VS DOE", "DA OFFICE"},
        {2009, "CA", "8", false, "", ""},
        {2011, "SC", "3", true, "VS ", ""}, // leading blank removed, the trailing one stays
        {2010, "CV", "12", false, "", ""},
    };
    TraceCapture trace;
    for (const auto &c : cases) {
        const BatchLookup::Result r = lookup.Lookup(c.year, QLatin1String(c.type), QLatin1String(c.seq), QString(c.seq).toDouble());
        EXPECT_EQ(r.found, c.found) << c.type << c.seq;
        EXPECT_EQ(r.title, QLatin1String(c.title)) << c.type << c.seq;
        EXPECT_EQ(r.holder, QLatin1String(c.holder)) << c.type << c.seq;
        EXPECT_FALSE(lookup.Failed());
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
    EXPECT_TRUE(trace.Statements().contains(
        "Select MASYER,MASTYP,MASSEQ,MASLTP,MASLIT,IfNull(FILOTO,'') As FILOTO From MRLCRT.MASCRM Left Join "
        "MRLCRT.FILCHK On FILYER=MASYER And FILTYP=MASTYP And FILSEQ=MASSEQ Where MASYER=? And MASTYP=? And "
        "MASSEQ=? Order By MASLTP,MASLIT"));
}

TEST_F(BatchUnits, LookupFailuresAreReportedAsTheirOwnNotAnswered)
{
    Litigant("MASCIV", 2009, "CA", 7, "PL", 1, "ABLE");
    // First the case style fails (it also reads MASCRM) while the lookup statement succeeds;
    // then the lookup statement itself fails.
    for (const char *table : {"MASCRM", "MASCIV"}) {
        world.Exec(QStringLiteral("DROP TABLE MRLCRT.%1").arg(QLatin1String(table)));
        errors.clear();
        DataObject master;
        QObject::connect(&master, &DataObject::Error, [this](qint32, const QString &d) { errors << d; });
        BatchLookup lookup(&master);
        const BatchLookup::Result r = lookup.Lookup(2009, "CA", "7", 7);
        EXPECT_TRUE(lookup.Failed()) << table;
        EXPECT_FALSE(r.found) << table;
        ASSERT_EQ(errors.size(), 1) << table;
        EXPECT_TRUE(errors[0].contains(QLatin1String(table), Qt::CaseInsensitive)) << errors[0].toStdString();
        // What HandleError will show is that failure, not an older one.
        EXPECT_EQ(master.LastErrorDescription(), errors[0]);
    }
}

TEST_F(BatchUnits, CheckOutGoesBottomUpAndLeavesFoldersOnLoan)
{
    world.Lend(2009, "CA", 2, "PUBLIC DEF");
    const QList<BatchRun::Row> rows = {
        {2009, "CA", 1, ""}, {2009, "CA", 2, "PUBLIC DEF"}, {2009, "CA", 3, ""}, {2009, "CA", 1, ""}};
    TraceCapture trace;
    const Outcome o = Run(rows, "*OUT", " O'NEIL ", true);
    EXPECT_EQ(o.count, 2);
    // The lower of the two rows of case 1 inserts; the upper one then finds the loan.
    EXPECT_EQ(o.changed, QList<qsizetype>({3, 2}));
    EXPECT_EQ(Loans(), QList<QVariantList>({{"CA", 1, " O'NEIL ", "CLERK1", Today()},
                                            {"CA", 2, "PUBLIC DEF", "OLD", 1052026},
                                            {"CA", 3, " O'NEIL ", "CLERK1", Today()}}));
    EXPECT_EQ(Log(), QList<QVariantList>({{1, " O'NEIL ", 1, 1, "CLERK1"}, {3, " O'NEIL ", 1, 1, "CLERK1"}}));
    const QStringList sent = trace.Statements();
    EXPECT_EQ(sent.count("Select * From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=?"), 4);
    EXPECT_EQ(sent.count("Insert Into MRLCRT.FILCHK (FILOTO, FILUDT, FILUSR,FILYER, FILTYP, FILSEQ) Values(?,?,?,?,?,?)"), 2);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(BatchUnits, CheckInLogsTheHolderTheRowShowed)
{
    world.Lend(2009, "CA", 1, "NOW SOMEONE");
    world.Lend(2009, "CA", 3, "JUDGE");
    const QList<BatchRun::Row> rows = {{2009, "CA", 1, "SHOWN"}, {2009, "CA", 2, ""}, {2009, "CA", 3, "JUDGE"},
                                       {2009, "CA", 3, "JUDGE"}};
    TraceCapture trace;
    const Outcome o = Run(rows, "*IN", "", false, true);
    EXPECT_EQ(o.count, 2);
    EXPECT_EQ(o.changed, QList<qsizetype>({3, 0}));
    EXPECT_TRUE(Loans().isEmpty());
    EXPECT_EQ(Log(), QList<QVariantList>({{3, "JUDGE", 0, 0, "CLERK1"}, {1, "SHOWN", 0, 0, "CLERK1"}}));
    EXPECT_EQ(trace.Statements().count("Delete From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=?"), 2);
}

TEST_F(BatchUnits, NoActionOrNoLoggingWritesNothingElse)
{
    world.Lend(2009, "CA", 1, "X");
    const QList<BatchRun::Row> rows = {{2009, "CA", 1, "X"}, {2009, "CA", 2, ""}};
    Outcome o = Run(rows, "", "P");
    EXPECT_EQ(o.count, 0);
    EXPECT_TRUE(o.changed.isEmpty());
    EXPECT_EQ(Loans().size(), 1);
    o = Run(rows, "*OUT", "P"); // logging off
    EXPECT_EQ(o.count, 1);
    EXPECT_TRUE(Log().isEmpty());
}

TEST_F(BatchUnits, AFailureStopsAndKeepsWhatWasWritten)
{
    world.FailInsertsFrom(2, "disk on fire");
    const QList<BatchRun::Row> rows = {{2009, "CA", 1, ""}, {2009, "CA", 2, ""}, {2009, "CA", 3, ""}, {2009, "CA", 4, ""}};
    const Outcome o = Run(rows, "*OUT", "P", true);
    EXPECT_TRUE(failed);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains("disk on fire"));
    EXPECT_EQ(o.changed, QList<qsizetype>({3, 2}));
    EXPECT_EQ(Loans().size(), 2);
    EXPECT_EQ(Log().size(), 2);
}

} // namespace
