// zorva-db audit on a large court: LOANS loans (default 1,000,000), each case with ten chained
// log rows, the last an "out" to the loan's holder, so that the audit reads and verifies every
// row and finds nothing. The goal is an absolute bound: under a minute. The court is a SQLite
// file (ZORVA_AUDIT_LOANS sets the size).
#include "CourtAudit.h"
#include "RatioReporter.h"
#include "logwriter/LogChain.h"
#include "records/Connection.h"
#include "records/Schema.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr int RowsPerCase = 10;

void Check(QSqlQuery &q)
{
    if (!q.exec())
        throw std::runtime_error(q.lastError().text().toStdString());
}

// The court, written in one transaction: a master row, a loan and ten log rows per case.
void Seed(QSqlDatabase &db, int loans)
{
    db.transaction();
    QSqlQuery master(db), loan(db), log(db);
    master.prepare(QStringLiteral("INSERT INTO MRLCRT.MASCIV VALUES (?, 'CV', ?, 'PL', 1, 'N', 'ABLE', '')"));
    loan.prepare(QStringLiteral("INSERT INTO MRLCRT.FILCHK VALUES (?, 'CV', ?, 'SMI', 1052026, 'CLERK1')"));
    log.prepare(QStringLiteral("INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO,"
                               " LOGOUT, LOGDIG) VALUES (?,?,?,?,?,?,?,?,?)"));
    const QDateTime start(QDate(2025, 1, 2), QTime(9, 0), Qt::UTC);
    for (int i = 0; i < loans; ++i) {
        const int year = 2000 + i / 1000000, sequence = i % 1000000 + 1;
        master.bindValue(0, year);
        master.bindValue(1, sequence);
        Check(master);
        loan.bindValue(0, year);
        loan.bindValue(1, sequence);
        Check(loan);
        QString previous;
        for (int r = 0; r < RowsPerCase; ++r) {
            const bool out = r % 2 == 1; // the tenth row is an "out"
            const LogChain::Row row{start.addSecs(qint64(r) * 86400 + i % 3600).toString(Qt::ISODateWithMs), year,
                                    QStringLiteral("CV"), sequence, true, QStringLiteral("CLERK1"),
                                    QStringLiteral("SMI"), out};
            previous = LogChain::Digest(row, previous);
            const QVariantList values{row.stamp, year, row.type, sequence, 1, row.user, row.party, out ? 1 : 0, previous};
            for (int v = 0; v < values.size(); ++v)
                log.bindValue(v, values[v]);
            Check(log);
        }
        if (i % 100000 == 99999)
            std::fprintf(stderr, "seeded %d loans\n", i + 1);
    }
    if (!db.commit())
        throw std::runtime_error(db.lastError().text().toStdString());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int loans = qEnvironmentVariableIsSet("ZORVA_AUDIT_LOANS") ? qEnvironmentVariableIntValue("ZORVA_AUDIT_LOANS")
                                                                     : 1000000;
    QTemporaryDir dir;
    const QString url = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("court.db"));
    Connection::Use(url, QStringLiteral("the benchmark"), Connection::Access::Create);
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    if (!db.isValid())
        throw std::runtime_error(error.toStdString());
    const double seeded = TimedMs([&] { Seed(db, loans); });
    // The audit opens the court as zorva-db does: read-only, on a connection of its own.
    Connection::Use(url, QStringLiteral("the benchmark"), Connection::Access::ReadOnly);
    db = Connection::Database(QStringLiteral("data"), &error);
    CourtAudit::Report report;
    bool ok = false;
    const double audited = TimedMs([&] { ok = CourtAudit::Run(db, {}, QDate::currentDate(), &report, &error); });
    std::printf("court of %d loans and %lld log rows seeded in %.1f s\n", loans, report.logRows, seeded / 1000);
    std::printf("audit: %.1f s (bound 60 s), %lld findings\n", audited / 1000, qint64(report.findings.size()));
    return ok && report.findings.isEmpty() && report.logRows == qint64(loans) * RowsPerCase && audited < 60000 ? 0 : 1;
}
