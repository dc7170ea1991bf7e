#include "TestWorld.h"
#include "TraceCapture.h"
#include "util/modGetCaseStyle.h"

#include <gtest/gtest.h>

namespace {

struct Style
{
    QString result, plfNam, plfLtp, versus, defNam, defLtp, plfAty, defAty;
    qint16 plfLit = -1, defLit = -1;
    QList<QString> errors;
};

Style Fetch(qint16 year, const QString &type, qint32 sequence)
{
    Style s;
    s.result = modGetCaseStyle::GetCaseStyle(true, year, type, sequence, QStringLiteral("PL"), 1, s.plfNam, s.plfLtp,
                                             s.plfLit, s.versus, s.defNam, s.defLtp, s.defLit, s.plfAty, s.defAty,
                                             [&](qint32, const QString &d) { s.errors << d; });
    return s;
}

class CaseStyle : public ::testing::Test
{
protected:
    void Litigant(const char *table, int year, const char *type, int seq, const char *ltp, int lit, const QString &name,
                  const QString &attorney = QString())
    {
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.%1 (MASYER,MASTYP,MASSEQ,MASLTP,MASLIT,MASBRN,MASNAM,MASATY)"
                                  " VALUES (%2,'%3',%4,'%5',%6,'N','%7','%8')")
                       .arg(QLatin1String(table))
                       .arg(year)
                       .arg(QLatin1String(type))
                       .arg(seq)
                       .arg(QLatin1String(ltp))
                       .arg(lit)
                       .arg(name, attorney));
    }
    TestWorld world;
};

TEST_F(CaseStyle, PlaintiffVersusDefendant)
{
    Litigant("MASCRM", 2009, "CF", 123, "DF", 1, "BAKER", "DEFENDER, PAT");
    Litigant("MASCRM", 2009, "CF", 123, "PL", 1, "ABLE", "PROSECUTOR, LEE");
    const Style s = Fetch(2009, "CF", 123);
    EXPECT_TRUE(s.errors.isEmpty());
    EXPECT_EQ(s.result, "ABLE VS BAKER");
    EXPECT_EQ(s.plfNam, "ABLE");
    EXPECT_EQ(s.plfLtp, "PL");
    EXPECT_EQ(s.plfLit, 1);
    EXPECT_EQ(s.plfAty, "PROSECUTOR, LEE");
    EXPECT_EQ(s.versus, "VS");
    EXPECT_EQ(s.defNam, "BAKER");
    EXPECT_EQ(s.defLtp, "DF");
    EXPECT_EQ(s.defLit, 1);
    EXPECT_EQ(s.defAty, "DEFENDER, PAT");
}

TEST_F(CaseStyle, FirstLitigantOfEachSideByNumberAndBlanksDropped)
{
    Litigant("MASCIV", 2010, "CA", 7, "PL", 3, "THIRD");
    Litigant("MASCIV", 2010, "CA", 7, "PL", 2, "SECOND   ");
    Litigant("MASCIV", 2010, "CA", 7, "DF", 5, "DOE, JANE");
    Litigant("MASCIV", 2010, "CA", 7, "WT", 1, "WITNESS");
    // The same number in the other master belongs to another case type and must not leak in.
    Litigant("MASCRM", 2010, "CF", 7, "PL", 1, "STATE");
    const Style s = Fetch(2010, "CA", 7);
    EXPECT_EQ(s.result, "SECOND VS DOE, JANE");
    EXPECT_EQ(s.plfLit, 2);
    EXPECT_EQ(s.defLit, 5);
}

TEST_F(CaseStyle, MissingSidesGiveEmptyOutputs)
{
    Litigant("MASCRM", 2011, "TR", 9, "PL", 1, "STATE");
    Style s = Fetch(2011, "TR", 9);
    EXPECT_EQ(s.result, "STATE VS ");
    EXPECT_EQ(s.defNam, "");
    EXPECT_EQ(s.defLit, 0);

    s = Fetch(2011, "TR", 10); // no such case
    EXPECT_TRUE(s.errors.isEmpty());
    EXPECT_EQ(s.result, "  ");
    EXPECT_EQ(s.plfLtp, "");
    EXPECT_EQ(s.plfLit, 0);
}

TEST_F(CaseStyle, NamesLongerThanTheirOutputAreCut)
{
    const QString longName = QStringLiteral("A").repeated(34) + QStringLiteral("BC");
    Litigant("MASCIV", 2012, "SC", 1, "PL", 1, longName);
    EXPECT_EQ(Fetch(2012, "SC", 1).plfNam, longName.left(35));
}

TEST_F(CaseStyle, SendsTheCallWithFifteenValues)
{
    TraceCapture trace;
    Fetch(2009, "CF", 123);
    ASSERT_FALSE(trace.Entries().isEmpty());
    const QStringList lines = trace.Entries().first().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.first(), "{{CALL /QSYS.LIB/MRLCRT.LIB/WINGETSTY.PGM(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)}}");
    ASSERT_EQ(lines.size(), 16);
    EXPECT_EQ(lines.at(1), "  ?1 = 1 (QString)");
    EXPECT_EQ(lines.at(2), "  ?2 = 2009 (short)");
    EXPECT_EQ(lines.at(3), "  ?3 = CF (QString)");
    EXPECT_EQ(lines.at(4), "  ?4 = 123 (int)");
}

// A litigant number that the window's 16-bit field cannot hold reaches the caller as a failure,
// never as 0 or a wrapped number. The master here is one another program wrote, without the
// schema's NOT NULL.
TEST_F(CaseStyle, LitigantNumbersThatDoNotConvertAreFailures)
{
    const struct
    {
        const char *ltp, *number;
        QString result, error; // error: empty when none
        qint16 plfLit, defLit;
    } cases[] = {
        {"PL", "70000", "", "WINGETSTY returned 70000 in PrmPlfLit, which is not a litigant number.", -1, -1},
        {"DF", "-32769", "", "WINGETSTY returned -32769 in PrmDefLit, which is not a litigant number.", -1, -1},
        {"DF", "NULL", "", "WINGETSTY returned no number in PrmDefLit.", -1, -1},
        {"PL", "2.5", "", "WINGETSTY returned 2.5 in PrmPlfLit, which is not a litigant number.", -1, -1},
        {"DF", "32767", " VS NAME", "", 0, 32767},
        {"PL", "-32768", "NAME VS ", "", -32768, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number);
        world.Exec(QStringLiteral("DROP TABLE IF EXISTS MRLCRT.MASCIV"));
        world.Exec(QStringLiteral("CREATE TABLE MRLCRT.MASCIV (MASYER INTEGER, MASTYP TEXT, MASSEQ INTEGER, MASLTP TEXT,"
                                  " MASLIT, MASBRN TEXT, MASNAM TEXT, MASATY TEXT)"));
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.MASCIV VALUES (2013,'CA',1,'%1',%2,'N','NAME','')")
                       .arg(QLatin1String(c.ltp), QLatin1String(c.number)));
        const Style s = Fetch(2013, "CA", 1);
        EXPECT_EQ(s.errors, c.error.isEmpty() ? QStringList() : QStringList{c.error});
        EXPECT_EQ(s.result, c.result);
        EXPECT_EQ(s.plfLit, c.plfLit);
        EXPECT_EQ(s.defLit, c.defLit);
    }
}

TEST_F(CaseStyle, DatabaseFailureReachesTheCaller)
{
    world.Exec(QStringLiteral("DROP TABLE MRLCRT.MASCIV"));
    const Style s = Fetch(2009, "CF", 123);
    ASSERT_EQ(s.errors.size(), 1);
    EXPECT_TRUE(s.errors.first().contains(QLatin1String("MASCIV"))) << s.errors.first().toStdString();
    EXPECT_EQ(s.result, "  ");
}

} // namespace
