#include "ServerRoles.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace ServerRoles {
namespace {

QString Quoted(QString name) { return QLatin1Char('"') + name.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"'); }

bool Run(QSqlDatabase &db, const QStringList &statements, QString *error)
{
    QSqlQuery q(db);
    for (const QString &statement : statements)
        if (!q.exec(statement)) {
            *error = q.lastError().text();
            return false;
        }
    return true;
}

bool Exists(QSqlDatabase &db, const QString &role)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT 1 FROM pg_roles WHERE rolname = ?"));
    q.addBindValue(role);
    return q.exec() && q.next();
}

// The court's database as the server names it (through ODBC the connection's name is no help).
QString Database(QSqlDatabase &db)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT current_database()")) && q.next() ? q.value(0).toString() : QString();
}

} // namespace

QString Name(QSqlDatabase &db, const QString &kind) { return Database(db) + QLatin1Char('_') + kind; }

bool Apply(QSqlDatabase &db, bool createMissing, QString *error)
{
    const QString reader = Name(db, QLatin1String(Reader)), clerk = Name(db, QLatin1String(Clerk));
    for (const QString &role : {reader, clerk}) {
        if (Exists(db, role))
            continue;
        if (!createMissing)
            return true;
        if (!Run(db, {QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(Quoted(role))}, error))
            return false;
    }
    const QString r = Quoted(reader), c = Quoted(clerk);
    return Run(db,
               {// Nothing is anyone's by default: the functions are executable by all unless taken back.
                QStringLiteral("REVOKE ALL ON SCHEMA mrlcrt FROM PUBLIC"),
                QStringLiteral("REVOKE EXECUTE ON ALL FUNCTIONS IN SCHEMA mrlcrt FROM PUBLIC"),
                QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2").arg(Quoted(Database(db)), r),
                QStringLiteral("GRANT USAGE ON SCHEMA mrlcrt TO %1").arg(r),
                QStringLiteral("GRANT SELECT ON ALL TABLES IN SCHEMA mrlcrt TO %1").arg(r),
                QStringLiteral("GRANT EXECUTE ON FUNCTION mrlcrt.ifnull(anycompatible, anycompatible) TO %1").arg(r),
                // The pull list shows each case's title: the case style function only reads.
                QStringLiteral("GRANT EXECUTE ON FUNCTION mrlcrt.wingetsty(text, integer, text, integer, text, integer)"
                               " TO %1")
                    .arg(r),
                QStringLiteral("GRANT %1 TO %2").arg(r, c),
                QStringLiteral("GRANT INSERT, UPDATE, DELETE ON mrlcrt.filchk TO %1").arg(c),
                QStringLiteral("GRANT INSERT ON mrlcrt.fillog TO %1").arg(c)},
               error);
}

bool Grant(QSqlDatabase &db, const QString &kind, const QString &login, QString *error)
{
    return Run(db, {QStringLiteral("GRANT %1 TO %2").arg(Quoted(Name(db, kind)), Quoted(login))}, error);
}

} // namespace ServerRoles
