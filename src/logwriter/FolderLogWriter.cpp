#include "FolderLogWriter.h"

#include "LogChain.h"

#include "records/Connection.h"
#include "records/DataObject.h"
#include "records/Transaction.h"

#include <QDateTime>
#include <QHash>

namespace {

// Asked once per connection.
bool Chained(QSqlDatabase &db)
{
    thread_local QHash<quint64, bool> known;
    const quint64 serial = Connection::SerialOf(db);
    if (const auto it = known.constFind(serial); it != known.constEnd())
        return *it;
    return known[serial] = LogChain::HasDigestColumn(db);
}

} // namespace

FolderLogWriter::FolderLogWriter(QObject *parent) : QObject(parent) {}

bool FolderLogWriter::Record(qint16 year, const QString &type, qint32 sequence, bool autoMode, const QString &user,
                             const QString &loanedTo, bool checkedOut)
{
    QString error;
    QSqlDatabase db = Connection::Database(Role, &error);
    DataObject log(nullptr, Role);
    bool failed = false;
    qint32 number = 0;
    QString description;
    connect(&log, &DataObject::Error, this, [&](qint32 n, const QString &d) {
        failed = true;
        number = n;
        description = d;
    });
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const bool chained = db.isValid() && Chained(db);
    // The case's latest row is read and the new one written under one lock, so that two clerks on
    // the same folder never both chain onto it: the file's write lock, the case's own on a server.
    Transaction own(chained);
    // Inside the loan statement's transaction a failed row undoes only itself: the change stands.
    Transaction::Savepoint savepoint;
    qint32 rows = 0;
    if (chained) {
        const QVariantList key{year, type, sequence};
        if (Connection::DialectOf(db) == Connection::Dialect::PostgreSQL) {
            // The same number in every clerk's process: the key's own bits.
            const QString code = type.trimmed().leftJustified(2, QLatin1Char(' '), true);
            const quint64 lock = (quint64(quint16(year)) << 48) | (quint64(code[0].unicode() & 0xff) << 40) |
                                 (quint64(code[1].unicode() & 0xff) << 32) | quint32(sequence);
            log.Execute(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), QVariantList{qint64(lock)});
        }
        QString latestStamp, previous;
        if (!failed) {
            log.Execute(QLatin1String(LatestStatement), key);
            if (!log.Eof()) {
                latestStamp = log.Field(QStringLiteral("LOGTSP")).toString();
                previous = log.Field(QStringLiteral("LOGDIG")).toString();
            }
        }
        const LogChain::Row row{LogChain::NextStamp(now, latestStamp), year, type, sequence, autoMode, user, loanedTo,
                                checkedOut};
        if (!failed)
            rows = log.Execute(QLatin1String(ChainedInsertStatement),
                               QVariantList{row.stamp, year, type, sequence, autoMode ? 1 : 0, user, loanedTo,
                                            checkedOut ? 1 : 0, LogChain::Digest(row, previous)});
    } else if (!failed) {
        rows = log.Execute(QLatin1String(InsertStatement),
                           QVariantList{now.toString(Qt::ISODateWithMs), year, type, sequence, autoMode ? 1 : 0, user,
                                        loanedTo, checkedOut ? 1 : 0});
    }
    if (!failed) {
        savepoint.Keep();
        if (own.Commit(&error))
            return rows == 1;
        failed = true;
        number = -1;
        description = error;
    }
    emit Error(number, description);
    return false;
}
