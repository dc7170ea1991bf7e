#include "LogChain.h"

#include "records/Connection.h"

#include <QCryptographicHash>
#include <QSqlQuery>

namespace LogChain {

bool HasDigestColumn(QSqlDatabase &db)
{
    QString query;
    switch (Connection::DialectOf(db)) {
    case Connection::Dialect::SQLite:
        query = QStringLiteral("SELECT count(*) FROM pragma_table_info('FILLOG', 'MRLCRT') WHERE name='LOGDIG'");
        break;
    case Connection::Dialect::PostgreSQL:
        query = QStringLiteral("SELECT count(*) FROM information_schema.columns WHERE table_schema='mrlcrt'"
                               " AND table_name='fillog' AND column_name='logdig'");
        break;
    case Connection::Dialect::DB2:
    case Connection::Dialect::Other:
        return false;
    }
    QSqlQuery q(db);
    const bool has = q.exec(query) && q.next() && q.value(0).toInt() > 0;
    q.finish();
    return has;
}

QString Digest(const Row &row, const QString &previous)
{
    // A type code compares without trailing blanks (CHAR(2) on a server), so it is hashed so; the
    // unit separator between the fields keeps "AB"+"C" apart from "A"+"BC". The audit hashes every
    // row of the court: the fields go in one by one, with no list made of them.
    QString type = row.type;
    while (type.endsWith(QLatin1Char(' ')))
        type.chop(1);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArrayView("zorva-log-1"));
    const auto add = [&hash](const QString &field) {
        hash.addData(QByteArrayView("\x1f", 1));
        hash.addData(field.toUtf8());
    };
    add(row.stamp);
    add(QString::number(row.year));
    add(type);
    add(QString::number(row.sequence));
    add(row.automatic ? QStringLiteral("1") : QStringLiteral("0"));
    add(row.user);
    add(row.party);
    add(row.out ? QStringLiteral("1") : QStringLiteral("0"));
    add(previous);
    return QString::fromLatin1(hash.result().toHex());
}

QString NextStamp(const QDateTime &nowUtc, const QString &latestStamp)
{
    const QDateTime latest = QDateTime::fromString(latestStamp, Qt::ISODateWithMs);
    const QDateTime stamp = latest.isValid() && nowUtc <= latest ? latest.addMSecs(1) : nowUtc;
    return stamp.toUTC().toString(Qt::ISODateWithMs);
}

} // namespace LogChain
