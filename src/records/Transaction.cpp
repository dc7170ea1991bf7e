#include "Transaction.h"

#include "Connection.h"
#include "DataObject.h"
#include "StatementTrace.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
// The transaction open on this thread's court connection, if any (all windows run on one thread).
thread_local QSqlDatabase *openTransaction = nullptr;

bool Send(QSqlDatabase &db, const QString &statement, QString *failure = nullptr)
{
    QSqlQuery q(db);
    const bool ok = q.exec(statement);
    if (!ok && failure)
        *failure = Connection::FailureText(db, q.lastError());
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
    if (lockKey.isEmpty() || (dialect != Connection::Dialect::SQLite && dialect != Connection::Dialect::PostgreSQL)) {
        m_open = m_db.transaction();
    } else {
        // Traced as statements are: IT staff see where a clerk waited for another. SQLite takes
        // the file's write lock at once; a server's transaction is the driver's own (an ODBC
        // driver must know of it to commit it), with a lock on the case key inside.
        if (dialect == Connection::Dialect::SQLite) {
            StatementTrace::Record(QStringLiteral("BEGIN IMMEDIATE"), {});
            m_open = Send(m_db, QStringLiteral("BEGIN IMMEDIATE"), &m_failure);
        } else {
            StatementTrace::Record(QStringLiteral("BEGIN"), {});
            m_open = m_db.transaction();
            if (!m_open)
                m_failure = Connection::FailureText(m_db, m_db.lastError());
            const QString lock = QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(lockKey);
            StatementTrace::Record(lock, {});
            if (m_open && !Send(m_db, lock, &m_failure)) {
                m_db.rollback();
                m_open = false;
            }
        }
    }
    if (m_open)
        openTransaction = &m_db;
}

bool Transaction::Held(DataObject *sender)
{
    if (m_failure.isEmpty())
        return true;
    Connection::CheckAfterFailure(m_db); // a lost server is opened anew for the next window
    sender->RaiseError(-1, QStringLiteral("The folder could not be held for the change: %1").arg(m_failure));
    return false;
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
    m_open = Send(m_db, QStringLiteral("SAVEPOINT zorva_log"));
}

Transaction::Savepoint::~Savepoint()
{
    if (m_open && Send(m_db, QStringLiteral("ROLLBACK TO SAVEPOINT zorva_log")))
        Send(m_db, QStringLiteral("RELEASE SAVEPOINT zorva_log"));
}

void Transaction::Savepoint::Keep()
{
    if (m_open)
        Send(m_db, QStringLiteral("RELEASE SAVEPOINT zorva_log"));
    m_open = false;
}
