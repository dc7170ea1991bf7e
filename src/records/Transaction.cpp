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
    if (!begin || openTransaction)
        return;
    QString error;
    m_db = Connection::Database(role, &error);
    // A connection that cannot be opened fails the statement that follows, which reports it.
    m_open = m_db.isValid() && m_db.transaction();
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
