#include "ChainedLog.h"

#include "RawLibpq.h"
#include "logwriter/LogChain.h"
#include "records/Connection.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace ChainedLog {
namespace {

constexpr int CasesAYear = 1000000;

qint64 YearOf(int i) { return 2000 + i / CasesAYear; }
qint64 SequenceOf(int i) { return i % CasesAYear + 1; }

// Every row in the order it is written, with its digest.
void ForEachRow(int cases, int rowsPerCase, const std::function<void(const LogChain::Row &, const QString &)> &take)
{
    const QDateTime start(QDate(2025, 1, 2), QTime(0, 0), Qt::UTC);
    std::vector<QString> previous(static_cast<size_t>(cases));
    for (int day = 0; day < rowsPerCase; ++day) {
        const bool out = (rowsPerCase - 1 - day) % 2 == 0; // the last day's row is an "out"
        for (int i = 0; i < cases; ++i) {
            const LogChain::Row row{start.addMSecs(qint64(day) * 86400000 + qint64(i) * 50).toString(Qt::ISODateWithMs),
                                    YearOf(i), QStringLiteral("CV"), SequenceOf(i), true, QStringLiteral("CLERK1"),
                                    QStringLiteral("SMI"), out};
            QString &chain = previous[static_cast<size_t>(i)];
            chain = LogChain::Digest(row, chain);
            take(row, chain);
        }
        std::fprintf(stderr, "log rows of day %d of %d written\n", day + 1, rowsPerCase);
    }
}

// Masters and loans, made by the engine itself from a series of case numbers.
QStringList MastersAndLoans(const QString &series)
{
    const QString key = QStringLiteral("2000 + (i - 1) / %1, 'CV', (i - 1) % %1 + 1").arg(CasesAYear);
    return {QStringLiteral("INSERT INTO MRLCRT.MASCIV SELECT %1, 'PL', 1, 'N', 'ABLE', '' FROM %2").arg(key, series),
            QStringLiteral("INSERT INTO MRLCRT.FILCHK SELECT %1, 'SMI', 1052026, 'CLERK1' FROM %2").arg(key, series)};
}

void Exec(QSqlQuery &q, const QString &statement)
{
    if (!q.exec(statement))
        throw std::runtime_error(statement.left(80).toStdString() + ": " + q.lastError().text().toStdString());
}

} // namespace

void WriteSqlite(int cases, int rowsPerCase)
{
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    if (!db.isValid())
        throw std::runtime_error(error.toStdString());
    db.transaction();
    QSqlQuery q(db);
    for (const QString &statement : MastersAndLoans(
             QStringLiteral("(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i < %1)"
                                   " SELECT i FROM n) AS s")
                        .arg(cases)))
        Exec(q, statement);
    QSqlQuery log(db);
    log.prepare(QStringLiteral("INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO,"
                               " LOGOUT, LOGDIG) VALUES (?,?,?,?,?,?,?,?,?)"));
    ForEachRow(cases, rowsPerCase, [&](const LogChain::Row &row, const QString &digest) {
        const QVariant values[] = {row.stamp, row.year, row.type, row.sequence, 1, row.user, row.party, row.out ? 1 : 0, digest};
        for (int v = 0; v < 9; ++v)
            log.bindValue(v, values[v]);
        if (!log.exec())
            throw std::runtime_error(log.lastError().text().toStdString());
    });
    if (!db.commit())
        throw std::runtime_error(db.lastError().text().toStdString());
    Exec(q, QStringLiteral("ANALYZE MRLCRT"));
}

void WritePostgres(const QString &url, int cases, int rowsPerCase)
{
    RawLibpq server(url.toStdString());
    for (const QString &statement : MastersAndLoans(QStringLiteral("generate_series(1,%1) AS s(i)").arg(cases)))
        server.Exec(statement.toStdString());
    // The rows go over as they are made, a megabyte at a time.
    server.BeginCopy("COPY MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT, LOGDIG)"
                     " FROM STDIN");
    std::string chunk;
    ForEachRow(cases, rowsPerCase, [&](const LogChain::Row &row, const QString &digest) {
        chunk += QStringLiteral("%1\t%2\t%3\t%4\t1\t%5\t%6\t%7\t%8\n")
                     .arg(row.stamp)
                     .arg(row.year)
                     .arg(row.type)
                     .arg(row.sequence)
                     .arg(row.user, row.party)
                     .arg(row.out ? 1 : 0)
                     .arg(digest)
                     .toStdString();
        if (chunk.size() > 1 << 20)
            server.PutCopyData(std::exchange(chunk, std::string()));
    });
    server.PutCopyData(chunk);
    server.EndCopy();
    server.Exec("VACUUM ANALYZE");
}

} // namespace ChainedLog
