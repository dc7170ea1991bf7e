#include "WriteAccess.h"

#include "Connection.h"

#include <QSqlError>
#include <QSqlQuery>

namespace WriteAccess {

QString Refusal()
{
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    if (!db.isValid() || Connection::DialectOf(db) != Connection::Dialect::PostgreSQL)
        return {};
    QSqlQuery q(db);
    // Asked first, so that a clerk never sends the refused statement; a reader then hears the
    // server's own words from a delete that could remove nothing.
    const bool allowed = q.exec(QStringLiteral("SELECT has_table_privilege('mrlcrt.filchk', 'INSERT')"
                                               " AND has_table_privilege('mrlcrt.filchk', 'UPDATE')"
                                               " AND has_table_privilege('mrlcrt.filchk', 'DELETE')")) &&
                         q.next() && q.value(0).toBool();
    q.finish();
    if (allowed)
        return {};
    if (q.exec(QStringLiteral("DELETE FROM mrlcrt.filchk WHERE 1 = 0")))
        return {}; // the question was wrong, the change is allowed after all
    return Connection::EngineText(q.lastError());
}

} // namespace WriteAccess
