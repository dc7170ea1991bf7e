#include "ZorvaDb.h"

#include "logwriter/LogChain.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

const QString LogColumns = "INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT, LOGDIG)";

// A case's log rows as the log writer chains them: "time out|in PARTY", oldest first. A row
// given as "time out PARTY>SEALED" is chained over SEALED and stored with PARTY, as if changed
// afterwards; "time out PARTY -" carries no digest (written before the chain existed).
QStringList Log(int year, const QString &type, int sequence, const QStringList &rows)
{
    QStringList statements;
    QString previous;
    for (const QString &text : rows) {
        const QStringList w = text.split(' ');
        const QString stamp = w[0], party = w[2].section('>', 0, 0), sealed = w[2].section('>', -1);
        const bool out = w[1] == "out", unchained = w.size() > 3 && w[3] == "-";
        const QString digest =
            unchained ? QString() : LogChain::Digest({stamp, year, type, sequence, false, "CLERK1", sealed, out}, previous);
        previous = digest;
        statements << LogColumns + QStringLiteral(" VALUES ('%1',%2,'%3',%4,0,'CLERK1','%5',%6,%7)")
                                       .arg(stamp).arg(year).arg(type).arg(sequence).arg(party).arg(out ? 1 : 0)
                                       .arg(unchained ? QStringLiteral("NULL") : "'" + digest + "'");
    }
    return statements;
}

QString Loan(const QString &party, const QString &date) { return "INSERT INTO MRLCRT.FILCHK VALUES (2009,'CV',123,'" + party + "'," + date + ",'CLERK1')"; }

const QString Master = "INSERT INTO MRLCRT.MASCIV VALUES (2009,'CV',123,'PL',1,'N','ABLE','')";
const QString T1 = "2026-01-05T09:30:00.000Z", T2 = "2026-02-10T14:00:00.000Z", T3 = "2026-03-01T08:15:00.000Z";

// Each kind of discrepancy between the loans and their log, a broken chain, rows older than the
// chain and a clean court, through zorva-db audit on every backend: its lines and exit status.
TEST(ZorvaDbAudit, FindsEachKindOfDiscrepancy)
{
    const QString future = QDate::currentDate().addYears(2).toString("MMddyyyy");
    // court: the rows; args: after "audit --db URL"; lines: what the output must hold
    const struct { const char *name; QStringList court; QStringList args; int exitCode; QStringList lines; } cases[] = {
        {"a clean court", QStringList{Master, Loan("SMI", "1052026")} + Log(2009, "CV", 123, {T1 + " out SMI"}), {}, 0,
         {"audit of 1 loans and 1 log rows: nothing found"}},
        {"a loan the log does not know", QStringList{Master, Loan("SMI", "1052026")}, {}, 1,
         {"1  loan not in the log", "2026-01-05  2009-CV-000123  loan not in the log: on loan to SMI since 01/05/2026, "
                                    "recorded by CLERK1; the log has no row for the case"}},
        {"a loan changed while logging was off", QStringList{Master, Loan("SMI", "1052026")} + Log(2009, "CV", 123, {T1 + " out JON"}),
         {}, 1, {"loan not in the log: on loan to SMI since 01/05/2026, recorded by CLERK1; the log's latest row: "
                 "2026-01-05 09:30:00 UTC, out to JON by CLERK1"}},
        {"a return the log does not know", QStringList{Master} + Log(2009, "CV", 123, {T1 + " out SMI"}), {}, 1,
         {"1  return not in the log", "2026-01-05 09:30:00 UTC  2009-CV-000123  return not in the log: the log's latest row "
                                      "(2026-01-05 09:30:00 UTC, out to SMI by CLERK1) has the folder out"}},
        {"a loan of no case", QStringList{Loan("SMI", "1052026")} + Log(2009, "CV", 123, {T1 + " out SMI"}), {}, 1,
         {"1  loan of no case", "2009-CV-000123  loan of no case: on loan to SMI: the case is in neither MASCRM nor MASCIV"}},
        {"a loan date that is no date", QStringList{Master, Loan("SMI", "13452026")} + Log(2009, "CV", 123, {T1 + " out SMI"}),
         {}, 1, {"-  2009-CV-000123  loan date wrong: on loan to SMI: the loan date 13452026 is no date"}},
        {"a loan date in the future", QStringList{Master, Loan("SMI", future)} + Log(2009, "CV", 123, {T1 + " out SMI"}), {}, 1,
         {"loan date wrong: on loan to SMI: the loan date " + QDate::currentDate().addYears(2).toString("MM/dd/yyyy") +
          " lies in the future"}},
        {"a row changed after it was written",
         QStringList{Master} + Log(2009, "CV", 123, {T1 + " out SMI", T2 + " in JON>SMI", T3 + " out DA"}) + QStringList{Loan("DA", "3012026")},
         {}, 1, {"1  chain broken", "2026-02-10 14:00:00 UTC  2009-CV-000123  chain broken: the log row of 2026-02-10 14:00:00 UTC "
                                    "(in from JON by CLERK1) does not verify"}},
        {"a row removed", QStringList{Master, Loan("DA", "3012026")} + Log(2009, "CV", 123, {T1 + " out SMI", T2 + " in SMI", T3 + " out DA"}).mid(0, 1) +
                              Log(2009, "CV", 123, {T1 + " out SMI", T2 + " in SMI", T3 + " out DA"}).mid(2),
         {}, 1, {"1  chain broken", "chain broken: the log row of 2026-03-01 08:15:00 UTC (out to DA by CLERK1)"}},
        {"a row slipped in afterwards, chained over the one before it",
         QStringList{Master, Loan("DA", "3012026")} + Log(2009, "CV", 123, {T1 + " out SMI", T3 + " out DA"}) +
             Log(2009, "CV", 123, {T1 + " out SMI", T2 + " in SMI"}).mid(1),
         {}, 1, {"1  chain broken", "chain broken: the log row of 2026-03-01 08:15:00 UTC (out to DA by CLERK1)"}},
        {"a row slipped in before the latest, chained over it", QStringList{Master, Loan("DA", "3012026")} +
             Log(2009, "CV", 123, {T1 + " out SMI", T3 + " out DA", T2 + " out DA"}),
         {}, 1, {"1  chain broken", "chain broken: the log row of 2026-02-10 14:00:00 UTC (out to DA by CLERK1)"}},
        {"a case's rows stored out of time order", QStringList{Master, Loan("DA", "3012026")} +
             Log(2009, "CV", 123, {T1 + " out SMI", T2 + " in SMI", T3 + " out DA"}).mid(2) +
             Log(2009, "CV", 123, {T1 + " out SMI", T2 + " in SMI", T3 + " out DA"}).mid(0, 2),
         {}, 0, {"audit of 1 loans and 3 log rows: nothing found"}},
        {"rows older than the chain", QStringList{Master, Loan("SMI", "1052026")} +
                                          Log(2009, "CV", 123, {"2020-01-01T00:00:00.000Z out JON -", "2020-02-01T00:00:00.000Z in JON -"}) +
                                          Log(2009, "CV", 123, {T1 + " out SMI"}),
         {}, 1, {"1  unchained", "2020-02-01 00:00:00 UTC  -  unchained: 2 log rows carry no digest (the latest of 2020-02-01 00:00:00 UTC)"}},
        {"--since leaves out what came before", QStringList{Master} + Log(2009, "CV", 123, {T1 + " out SMI"}), {"--since", "2026-01-06"}, 0,
         {"audit of 0 loans and 1 log rows: nothing found"}},
        {"--since keeps what came on the day", QStringList{Master} + Log(2009, "CV", 123, {T1 + " out SMI"}), {"--since", "2026-01-05"}, 1,
         {"1  return not in the log"}},
        {"as CSV", QStringList{Master} + Log(2009, "CV", 123, {T1 + " out SMI"}), {"--csv"}, 1,
         {"kind,case,when,detail\r\nreturn not in the log,,,1\r\nreturn not in the log,2009-CV-000123,2026-01-05 09:30:00 UTC,"}},
        {"a log table without the digest column",
         {"DROP TABLE MRLCRT.FILLOG", "CREATE TABLE MRLCRT.FILLOG (LOGTSP TEXT, LOGYER INTEGER, LOGTYP TEXT, LOGSEQ INTEGER, LOGAUT INTEGER,"
                                      " LOGUSR TEXT, LOGOTO TEXT, LOGOUT INTEGER)"},
         {}, 1, {"1  unchained", "-  -  unchained: the log table has no digest column"}},
        {"a date that is none", {}, {"--since", "2026-02-30"}, 2, {}},
        {"an argument", {}, {"2009-CV-123"}, 2, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TestWorld world;
        for (const QString &statement : c.court)
            world.Exec(statement);
        const ZorvaDb::Result r = ZorvaDb(world).Run(QStringList{"audit", "--db", world.DatabaseUrl()} + c.args, {{"TZ", "UTC"}});
        EXPECT_EQ(r.exitCode, c.exitCode) << r;
        for (const QString &line : c.lines)
            EXPECT_TRUE(r.out.contains(line)) << line.toStdString() << "\n" << r;
    }
}

// The demo court holds one case of each kind on purpose; the audit finds them and nothing else.
TEST(ZorvaDbAudit, FindsWhatTheDemoPlanted)
{
    TestWorld world;
    ZorvaDb zorva(world);
    ASSERT_EQ(zorva.Run({"seed-demo", world.DatabaseUrl()}).exitCode, 0);
    const ZorvaDb::Result r = zorva.Run({"audit", "--db", world.DatabaseUrl()}, {{"TZ", "UTC"}});
    EXPECT_EQ(r.exitCode, 1) << r;
    for (const char *line : {"1  loan not in the log", "1  return not in the log", "1  loan of no case", "1  loan date wrong",
                             "1  chain broken", "1  unchained", "2017-CV-000501  loan not in the log",
                             "2017-CV-000502  return not in the log", "2017-CV-000503  loan of no case",
                             "2017-CV-000504  loan date wrong", "2017-CV-000505  chain broken"})
        EXPECT_TRUE(r.out.contains(line)) << line << "\n" << r;
    EXPECT_TRUE(r.out.contains(": 6 found")) << r;
}

} // namespace
