#include "Transaction.h"

#include "Connection.h"
#include "DataObject.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
// The transaction open on this thread's court connection, if any (all windows run on one thread).
thread_local QSqlDatabase *openTransaction = nullptr;

bool Send(QSqlDatabase &db, const char *statement)
{
    QSqlQuery q(db);
    const bool ok = q.exec(QLatin1String(statement));
    q.finish();
    return ok;
}
} // namespace

Transaction::Transaction(bool begin, const QString &role)
{
    if (begin)
        Begin(role, QString());
}

Transaction::Transaction(qint16 year, const QString &type, qint32 sequence)
{
    // Two whole numbers name the case: the year and the two type letters in one, the sequence.
    const QString code = type.trimmed().toUpper().leftJustified(2, QLatin1Char(' ')).left(2);
    const qint32 first = qint32(year) * 65536 + (code.at(0).unicode() & 0xff) * 256 + (code.at(1).unicode() & 0xff);
    Begin(QStringLiteral("data"), QStringLiteral("%1,%2").arg(first).arg(sequence));
}

void Transaction::Begin(const QString &role, const QString &lockKey)
{
    if (openTransaction)
        return;
    QString error;
    m_db = Connection::Database(role, &error);
    // A connection that cannot be opened fails the statement that follows, which reports it.
    if (!m_db.isValid())
        return;
    const Connection::Dialect dialect = Connection::DialectOf(m_db);
    if (!lockKey.isEmpty() && dialect == Connection::Dialect::SQLite)
        m_open = Send(m_db, "BEGIN IMMEDIATE");
    else
        m_open = m_db.transaction();
    if (m_open && !lockKey.isEmpty() && dialect == Connection::Dialect::PostgreSQL)
        Send(m_db, qPrintable(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(lockKey)));
    if (m_open)
        openTransaction = &m_db;
}

Transaction::~Transaction() { Rollback(); }

bool Transaction::Commit(QString *error)
{
    if (!m_open)
        return true;
    m_open = false;
    openTransaction = nullptr;
    if (m_db.commit())
        return true;
    *error = m_db.lastError().text();
    m_db.rollback();
    Connection::CheckAfterFailure(m_db);
    return false;
}

bool Transaction::Commit(DataObject *sender)
{
    QString error;
    if (Commit(&error))
        return true;
    sender->RaiseError(-1, QStringLiteral("The folder status change was not saved: %1").arg(error));
    return false;
}

void Transaction::Rollback()
{
    if (!m_open)
        return;
    m_open = false;
    openTransaction = nullptr;
    m_db.rollback();
}

Transaction::Savepoint::Savepoint()
{
    if (!openTransaction)
        return;
    m_db = *openTransaction;
    m_open = Send(m_db, "SAVEPOINT zorva_log");
}

Transaction::Savepoint::~Savepoint()
{
    if (m_open && Send(m_db, "ROLLBACK TO SAVEPOINT zorva_log"))
        Send(m_db, "RELEASE SAVEPOINT zorva_log");
}

void Transaction::Savepoint::Keep()
{
    if (m_open)
        Send(m_db, "RELEASE SAVEPOINT zorva_log");
    m_open = false;
}
