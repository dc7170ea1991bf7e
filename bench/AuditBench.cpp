// zorva-db audit on a large court: LOANS loans (default 1,000,000), each case with ten chained
// log rows written in time order, the last an "out" to the loan's holder, so that the audit
// reads and verifies every row and finds nothing. The goal is an absolute bound: under a minute,
// on a SQLite file and, when ZORVA_BENCH_POSTGRES names a server, on PostgreSQL.
#include "BenchCourt.h"
#include "ChainedLog.h"
#include "CourtAudit.h"
#include "RatioReporter.h"
#include "records/Connection.h"

#include <QCoreApplication>
#include <QDate>
#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace {

constexpr int RowsPerCase = 10;
constexpr double BoundMs = 60000;

bool Audit(const char *engine, BenchCourt &court, int loans)
{
    const double seeded = TimedMs([&] {
        if (court.OnServer())
            ChainedLog::WritePostgres(court.Url(), loans, RowsPerCase);
        else
            ChainedLog::WriteSqlite(loans, RowsPerCase);
    });
    // The audit opens the court as zorva-db does: read-only, on a connection of its own.
    Connection::Use(court.Url(), QStringLiteral("the benchmark"), Connection::Access::ReadOnly);
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    CourtAudit::Report report;
    bool ok = false;
    const std::clock_t cpu = std::clock();
    const double audited = TimedMs([&] { ok = db.isValid() && CourtAudit::Run(db, {}, QDate::currentDate(), &report, &error); });
    const double cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    std::printf("%s: court of %d loans and %lld log rows written in %.1f s\n", engine, loans, report.logRows,
                seeded / 1000);
    std::printf("%s: audit %.1f s (bound %.0f s; %.1f s of processor time), %lld findings %s\n", engine,
                audited / 1000, BoundMs / 1000, cpuSeconds, qint64(report.findings.size()), qPrintable(error));
    std::fflush(stdout);
    return ok && report.findings.isEmpty() && report.logRows == qint64(loans) * RowsPerCase && audited < BoundMs;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int loans = qEnvironmentVariableIsSet("ZORVA_AUDIT_LOANS") ? qEnvironmentVariableIntValue("ZORVA_AUDIT_LOANS")
                                                                     : 1000000;
    bool within = true;
    try {
        {
            BenchCourt court(0);
            within = Audit("SQLite", court, loans) && within;
        }
        const QString server = qEnvironmentVariable("ZORVA_BENCH_POSTGRES");
        if (!server.isEmpty()) {
            BenchCourt court(0, server);
            within = Audit("PostgreSQL", court, loans) && within;
        } else {
            std::printf("ZORVA_BENCH_POSTGRES not set: PostgreSQL not measured\n");
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "audit_bench: %s\n", e.what());
        return 1;
    }
    return within ? 0 : 1;
}
