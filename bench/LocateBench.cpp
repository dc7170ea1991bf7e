// The locator's four queries on a large court: 100,000 cases, 50,000 folders out, 100,000
// hearings (a hundred a day), 1,000,000 log rows, and one busy case with 20,000 log rows of its
// own. Each view's query, as the window runs it, is timed on SQLite and, when
// ZORVA_BENCH_POSTGRES names a server, on PostgreSQL. Exits non-zero when a median is over 50 ms.
//   ZORVA_LOCATE_CASES, ZORVA_LOCATE_LOG_ROWS   another size (a large court: 1000000, 10000000)
//   ZORVA_LOCATE_ENGINE=postgresql              the server only
//   ZORVA_LOCATE_KEEP                           a path the SQLite court is copied to at the end,
//                                               for timing zorva-db's commands on it

#include "BenchCourt.h"

#include "forms/folder_locate/LocateQueries.h"
#include "records/Connection.h"
#include "records/DataObject.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string_view>
#include <stdexcept>

namespace {

int Cases = 100000;
int LogRows = 1000000;
constexpr int BusyCaseRows = 20000;
constexpr int Runs = 15;
constexpr double BoundMs = 50.0;

void Exec(const QString &statement)
{
    QString error;
    QSqlQuery q(Connection::Database(QStringLiteral("data"), &error));
    if (!q.exec(statement))
        throw std::runtime_error(statement.left(80).toStdString() + ": " + q.lastError().text().toStdString());
}

// Generated in the engine itself: a million rows go in within seconds.
void Seed(bool server)
{
    // Ten million rows in one statement take longer than the locator's wait for a silent server.
    if (server)
        Exec(QStringLiteral("SET statement_timeout = 0"));
    const auto series = [server](int n) {
        return server ? QStringLiteral("generate_series(1,%1) AS s(i)").arg(n)
                      : QStringLiteral("(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < %1)"
                                       " SELECT i FROM n) AS s")
                            .arg(n);
    };
    // Case i: year 2000 + i % 25, type CF, CV (criminal), CA, SC (civil) in turn, sequence i.
    const QString key = QStringLiteral("2000 + i % 25, CASE i % 4 WHEN 0 THEN 'CF' WHEN 1 THEN 'CV' WHEN 2 THEN 'CA' "
                                       "ELSE 'SC' END, i");
    const QString criminal = QStringLiteral(" WHERE i % 4 < 2"), civil = QStringLiteral(" WHERE i % 4 >= 2");
    for (const char *litigant : {"PL", "DF"}) {
        for (const auto &[table, which] : {std::pair{"MASCRM", criminal}, std::pair{"MASCIV", civil}})
            Exec(QStringLiteral("INSERT INTO MRLCRT.%1 SELECT %2, '%3', 1, CASE WHEN i %% 2 = 0 THEN 'N' ELSE 'S' END,"
                                " '%3 ' || i, '' FROM %4%5")
                     .replace(QLatin1String("%%"), QLatin1String("%"))
                     .arg(QLatin1String(table), key, QLatin1String(litigant), series(Cases), which));
    }
    // Every second case's folder is out, to one of 1,000 holders, lent 0 to 59 days ago.
    const QString lent = server ? QStringLiteral("to_char(current_date - i % 60, 'MMDDYYYY')::numeric")
                                : QStringLiteral("CAST(strftime('%m%d%Y', date('now', '-' || (i % 60) || ' days')) AS INTEGER)");
    Exec(QStringLiteral("INSERT INTO MRLCRT.FILCHK SELECT %1, 'HOLDER' || (i % 1000), %2, 'CLERK' || (i % 20) FROM %3"
                        " WHERE i % 2 = 0")
             .arg(key, lent, series(Cases)));
    // One hearing a case, a hundred a day from tomorrow on, four judges, three rooms.
    const QString day = server ? QStringLiteral("to_char(current_date + 1 + i % 1000, 'YYYYMMDD')::integer")
                               : QStringLiteral("CAST(strftime('%Y%m%d', date('now', '+' || (1 + i % 1000) || ' days')) AS INTEGER)");
    Exec(QStringLiteral("INSERT INTO MRLCRT.HRGDTA SELECT %1, CASE i % 4 WHEN 0 THEN 'SMI' WHEN 1 THEN 'JON' WHEN 2 THEN 'GAR'"
                        " ELSE 'ALV' END, CASE i % 3 WHEN 0 THEN '1' WHEN 1 THEN '2' ELSE '4A' END, %2, 800 + (i % 9) * 100"
                        " FROM %3")
             .arg(key, day, series(Cases)));
    // Ten log rows a case, a minute apart.
    const QString stamp = server ? QStringLiteral("to_char(timestamp '2020-01-01' + i * interval '1 minute',"
                                                  " 'YYYY-MM-DD\"T\"HH24:MI:SS.000\"Z\"')")
                                 : QStringLiteral("strftime('%Y-%m-%dT%H:%M:%S.000Z', '2020-01-01', '+' || i || ' minutes')");
    const QString logKey = QStringLiteral("2000 + (1 + i % %1) % 25, CASE (1 + i % %1) % 4 WHEN 0 THEN 'CF' WHEN 1 THEN 'CV'"
                                          " WHEN 2 THEN 'CA' ELSE 'SC' END, 1 + i % %1")
                               .arg(Cases);
    Exec(QStringLiteral("INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT)"
                        " SELECT %1, %2, 1, 'CLERK' || (i % 20), 'HOLDER' || (i % 1000), i % 2 FROM %3")
             .arg(stamp, logKey, series(LogRows)));
    // The busy case: 2000-CF-000100, lent and returned twenty thousand times.
    Exec(QStringLiteral("INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT)"
                        " SELECT %1, 2000, 'CF', 100, 1, 'CLERK1', 'HOLDER1', i % 2 FROM %2")
             .arg(stamp, series(BusyCaseRows)));
    Exec(server ? QStringLiteral("VACUUM ANALYZE") : QStringLiteral("ANALYZE MRLCRT"));
}

struct Figure
{
    double median, worst;
    qsizetype rows;
};

Figure Time(const std::function<qsizetype(int run)> &query)
{
    query(0); // warm: the first run pays for preparing and for reading the pages in
    QList<double> ms;
    qsizetype rows = 0;
    for (int run = 1; run <= Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        rows = query(run);
        ms << timer.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return {ms[Runs / 2], ms.last(), rows};
}

bool Measure(const char *engine)
{
    LocateQueries q;
    bool failed = false;
    QObject::connect(q.adoFILCHK(), &DataObject::Error, [&](qint32, const QString &d) {
        failed = true;
        std::fprintf(stderr, "data error: %s\n", qPrintable(d));
    });
    const auto key = [](int run) {
        const int i = 1 + (run * 6151) % Cases;
        const char *types[] = {"CF", "CV", "CA", "SC"};
        return CaseKey{static_cast<qint16>(2000 + i % 25), QLatin1String(types[i % 4]), i};
    };
    const QList<std::pair<const char *, std::function<qsizetype(int)>>> views{
        {"case: where is it, its history", [&](int run) {
             LocateQueries::Location where;
             q.WhereIs(key(run), &where);
             return where.history.size();
         }},
        {"case: the busy one (20,000 log rows)", [&](int) {
             LocateQueries::Location where;
             q.WhereIs(CaseKey{2000, QStringLiteral("CF"), 100}, &where);
             return where.history.size();
         }},
        {"case: the busy one, every entry (Show all; not bound)", [&](int) {
             LocateQueries::Location where;
             q.WhereIs(CaseKey{2000, QStringLiteral("CF"), 100}, &where, true);
             return where.history.size();
         }},
        {"holder: its folders", [&](int run) {
             QList<LocateQueries::Loan> loans;
             q.HeldBy(QStringLiteral("HOLDER%1").arg(run * 74 % 1000), &loans);
             return loans.size();
         }},
        {"pull list: a day's docket, its first screen titled", [&](int run) {
             // As the window: the day's first 100 hearings, the first 50 titled; the rest of the
             // day follows while the clerk reads.
             DocketSelection s;
             s.hearingDate = QDate::currentDate().addDays(1 + run);
             QList<LocateQueries::Pull> pulls;
             qsizetype read = 0;
             q.PullPage(s, 0, 100, &pulls, &read);
             for (qsizetype i = 0; i < std::min<qsizetype>(50, pulls.size()); ++i)
                 q.Title(pulls[i]);
             return pulls.size();
         }},
        {"pull list: a day's docket, every title (as zorva-db; not bound)", [&](int run) {
             DocketSelection s;
             s.hearingDate = QDate::currentDate().addDays(1 + run);
             QList<LocateQueries::Pull> pulls;
             q.PullList(s, &pulls);
             return pulls.size();
         }},
        {"overdue: over 30 days, the 500 out longest", [&](int) {
             QList<LocateQueries::HolderGroup> groups;
             q.Overdue(30, &groups, 500);
             qsizetype n = 0;
             for (const auto &g : groups)
                 n += g.loans.size();
             return n;
         }},
        {"overdue: over 30 days, all (List all; not bound)", [&](int) {
             QList<LocateQueries::HolderGroup> groups;
             q.Overdue(30, &groups);
             qsizetype n = 0;
             for (const auto &g : groups)
                 n += g.loans.size();
             return n;
         }},
        {"overdue: the age summary (shown after the list; not bound)", [&](int) {
             LocateQueries::Ages ages{};
             q.AgeSummary(&ages);
             return qsizetype(ages[0] + ages[1] + ages[2] + ages[3]);
         }},
    };
    bool within = true;
    std::printf("| %s | median (ms) | worst (ms) | rows |\n|---|---:|---:|---:|\n", engine);
    for (const auto &[name, query] : views) {
        const Figure f = Time(query);
        // What the clerk asks for by hand (the whole overdue list, the whole history) and what
        // follows a view's first page is measured but not bound.
        const bool bound = std::string_view(name).find("not bound") == std::string_view::npos;
        within = within && (f.median <= BoundMs || !bound) && !failed;
        std::printf("| %s | %.1f | %.1f | %lld |\n", name, f.median, f.worst, static_cast<long long>(f.rows));
        std::fflush(stdout);
    }
    return within;
}

bool Run(BenchCourt &court, const char *engine)
{
    QElapsedTimer seeding;
    seeding.start();
    Seed(court.OnServer());
    std::printf("\n%s court generated in %.1f s\n\n", engine, seeding.nsecsElapsed() / 1e9);
    return Measure(engine);
}

} // namespace

int main(int argc, char *argv[])
{
    // The case style stand-in is registered by the data layer; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("ZORVA_LOCATE_CASES"))
        Cases = qEnvironmentVariableIntValue("ZORVA_LOCATE_CASES");
    if (qEnvironmentVariableIsSet("ZORVA_LOCATE_LOG_ROWS"))
        LogRows = qEnvironmentVariableIntValue("ZORVA_LOCATE_LOG_ROWS");
    bool within = true;
    try {
        if (qEnvironmentVariable("ZORVA_LOCATE_ENGINE") != QLatin1String("postgresql")) {
            BenchCourt court(0);
            within = Run(court, "SQLite") && within;
            const QString keep = qEnvironmentVariable("ZORVA_LOCATE_KEEP");
            if (!keep.isEmpty()) {
                Connection::Use({}); // closed, so that the file holds every row
                if (!QFile::copy(court.File(), keep))
                    throw std::runtime_error("cannot copy the court to " + keep.toStdString());
            }
        }
        const QString server = qEnvironmentVariable("ZORVA_BENCH_POSTGRES");
        if (!server.isEmpty()) {
            BenchCourt court(0, server);
            within = Run(court, "PostgreSQL") && within;
        } else {
            std::printf("\nZORVA_BENCH_POSTGRES not set: PostgreSQL not measured\n");
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "locate_bench: %s\n", e.what());
        return 2;
    }
    if (!within)
        std::printf("\nA median is over %.0f ms.\n", BoundMs);
    return within ? 0 : 1;
}
