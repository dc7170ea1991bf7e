#include "Schema.h"

#include "Connection.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Schema {
namespace {

// Type codes compare as DB2 compares CHAR(2): trailing blanks do not count ("T" = "T "), hence
// RTRIM. FILOTO is NOCASE so that the party box's LIKE prefix search can use its index.
const char *const SqliteScript[] = {
    "CREATE TABLE IF NOT EXISTS MRLCRT.FILCHK (FILYER INTEGER NOT NULL, FILTYP TEXT COLLATE RTRIM NOT NULL,"
    " FILSEQ INTEGER NOT NULL, FILOTO TEXT COLLATE NOCASE, FILUDT NUMERIC, FILUSR TEXT)",
    "CREATE UNIQUE INDEX IF NOT EXISTS MRLCRT.FILCHK_KEY ON FILCHK (FILYER, FILTYP, FILSEQ)",
    "CREATE INDEX IF NOT EXISTS MRLCRT.FILCHK_OTO ON FILCHK (FILOTO)",

    // The hearing table is the court's: its rows are not ours to vouch for, so nothing is refused.
    "CREATE TABLE IF NOT EXISTS MRLCRT.HRGDTA (HRGYER INTEGER, HRGTYP TEXT COLLATE RTRIM, HRGSEQ INTEGER,"
    " HRGJDG TEXT, HRGROM TEXT, HRGHDT INTEGER, HRGHTM INTEGER)",
    "CREATE INDEX IF NOT EXISTS MRLCRT.HRGDTA_DATE ON HRGDTA (HRGHDT, HRGJDG, HRGHTM)",

    "CREATE TABLE IF NOT EXISTS MRLCRT.MASCRM (MASYER INTEGER NOT NULL, MASTYP TEXT COLLATE RTRIM NOT NULL,"
    " MASSEQ INTEGER NOT NULL, MASLTP TEXT COLLATE RTRIM NOT NULL, MASLIT INTEGER NOT NULL, MASBRN TEXT,"
    " MASNAM TEXT, MASATY TEXT)",
    "CREATE UNIQUE INDEX IF NOT EXISTS MRLCRT.MASCRM_KEY ON MASCRM (MASYER, MASTYP, MASSEQ, MASLTP, MASLIT)",
    "CREATE TABLE IF NOT EXISTS MRLCRT.MASCIV (MASYER INTEGER NOT NULL, MASTYP TEXT COLLATE RTRIM NOT NULL,"
    " MASSEQ INTEGER NOT NULL, MASLTP TEXT COLLATE RTRIM NOT NULL, MASLIT INTEGER NOT NULL, MASBRN TEXT,"
    " MASNAM TEXT, MASATY TEXT)",
    "CREATE UNIQUE INDEX IF NOT EXISTS MRLCRT.MASCIV_KEY ON MASCIV (MASYER, MASTYP, MASSEQ, MASLTP, MASLIT)",

    "CREATE TABLE IF NOT EXISTS MRLCRT.FILLOG (LOGTSP TEXT NOT NULL, LOGYER INTEGER, LOGTYP TEXT COLLATE RTRIM,"
    " LOGSEQ INTEGER, LOGAUT INTEGER, LOGUSR TEXT, LOGOTO TEXT, LOGOUT INTEGER)",
    "CREATE INDEX IF NOT EXISTS MRLCRT.FILLOG_KEY ON FILLOG (LOGYER, LOGTYP, LOGSEQ)",
};

} // namespace

bool Create(QSqlDatabase &db, QString *error)
{
    if (Connection::BackendOf(db) != Connection::Backend::SQLite) {
        *error = QStringLiteral("creating the schema is supported on SQLite files only so far");
        return false;
    }
    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    for (const char *statement : SqliteScript) {
        if (!q.exec(QString::fromLatin1(statement))) {
            *error = QStringLiteral("creating the schema failed: %1").arg(q.lastError().text());
            q.finish();
            db.rollback();
            return false;
        }
    }
    q.finish();
    if (!db.commit()) {
        *error = db.lastError().text();
        return false;
    }
    return true;
}

} // namespace Schema
