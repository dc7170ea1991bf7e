#include "Schema.h"

#include "Connection.h"

#include <QSqlError>
#include <QSqlQuery>

namespace Schema {
namespace {

// The tables hold the server's types whatever program writes the rows (STRICT): a key is a whole
// number in its column's range or a type code of at most two characters; text and fractions are
// refused. Type codes compare as DB2 compares CHAR(2): trailing blanks do not count ("T" = "T "),
// hence RTRIM. FILOTO is NOCASE so that the party box's LIKE prefix search can use its index.
#define ZORVA_SMALLINT(c) c " INTEGER CHECK (" c " BETWEEN -32768 AND 32767)"
#define ZORVA_INT(c) c " INTEGER CHECK (" c " BETWEEN -2147483648 AND 2147483647)"
#define ZORVA_CODE(c) c " TEXT COLLATE RTRIM CHECK (length(" c ") <= 2)"
const char *const SqliteScript[] = {
    "CREATE TABLE IF NOT EXISTS MRLCRT.FILCHK (" ZORVA_SMALLINT("FILYER") " NOT NULL, " ZORVA_CODE("FILTYP")
    " NOT NULL CHECK (length(FILTYP) >= 1), " ZORVA_INT("FILSEQ") " NOT NULL, FILOTO TEXT COLLATE NOCASE,"
    " FILUDT INTEGER, FILUSR TEXT) STRICT",
    "CREATE UNIQUE INDEX IF NOT EXISTS MRLCRT.FILCHK_KEY ON FILCHK (FILYER, FILTYP, FILSEQ)",
    "CREATE INDEX IF NOT EXISTS MRLCRT.FILCHK_OTO ON FILCHK (FILOTO)",
    // The locator's overdue list and age summary: the key after the date, so that the folders out
    // longest are read in the list's order (an older court's index on the date alone made the
    // engine sort every overdue loan for the first 500).
    "DROP INDEX IF EXISTS MRLCRT.FILCHK_UDT",
    "CREATE INDEX IF NOT EXISTS MRLCRT.FILCHK_AGE ON FILCHK (" ZORVA_LOAN_DATE_KEY ", FILYER, FILTYP, FILSEQ)",

    // The hearing table is the court's: a row may hold NULLs or numbers no case key can (as the
    // server's decimal columns may), which the docket run refuses row by row.
    "CREATE TABLE IF NOT EXISTS MRLCRT.HRGDTA (HRGYER INTEGER, " ZORVA_CODE("HRGTYP") ", HRGSEQ INTEGER,"
    " HRGJDG TEXT, HRGROM TEXT, HRGHDT INTEGER, HRGHTM INTEGER) STRICT",
    "CREATE INDEX IF NOT EXISTS MRLCRT.HRGDTA_DATE ON HRGDTA (HRGHDT, HRGJDG, HRGHTM)",

    "CREATE TABLE IF NOT EXISTS MRLCRT.MASCRM (" ZORVA_SMALLINT("MASYER") " NOT NULL, " ZORVA_CODE("MASTYP")
    " NOT NULL, " ZORVA_INT("MASSEQ") " NOT NULL, " ZORVA_CODE("MASLTP") " NOT NULL, MASLIT INTEGER NOT NULL,"
    " MASBRN TEXT, MASNAM TEXT, MASATY TEXT) STRICT",
    "CREATE UNIQUE INDEX IF NOT EXISTS MRLCRT.MASCRM_KEY ON MASCRM (MASYER, MASTYP, MASSEQ, MASLTP, MASLIT)",
    "CREATE TABLE IF NOT EXISTS MRLCRT.MASCIV (" ZORVA_SMALLINT("MASYER") " NOT NULL, " ZORVA_CODE("MASTYP")
    " NOT NULL, " ZORVA_INT("MASSEQ") " NOT NULL, " ZORVA_CODE("MASLTP") " NOT NULL, MASLIT INTEGER NOT NULL,"
    " MASBRN TEXT, MASNAM TEXT, MASATY TEXT) STRICT",
    "CREATE UNIQUE INDEX IF NOT EXISTS MRLCRT.MASCIV_KEY ON MASCIV (MASYER, MASTYP, MASSEQ, MASLTP, MASLIT)",

    "CREATE TABLE IF NOT EXISTS MRLCRT.FILLOG (LOGTSP TEXT NOT NULL, " ZORVA_SMALLINT("LOGYER") ", "
    ZORVA_CODE("LOGTYP") ", " ZORVA_INT("LOGSEQ") ", LOGAUT INTEGER, LOGUSR TEXT, LOGOTO TEXT, LOGOUT INTEGER,"
    " LOGDIG TEXT) STRICT",
    // A case's rows in the order the chain runs (an older court keeps its index without LOGTSP).
    "CREATE INDEX IF NOT EXISTS MRLCRT.FILLOG_KEY ON FILLOG (LOGYER, LOGTYP, LOGSEQ, LOGTSP)",
    // The log is append-only: no program, the component included, rewrites the past.
    "CREATE TRIGGER IF NOT EXISTS MRLCRT.FILLOG_NO_UPDATE BEFORE UPDATE ON FILLOG"
    " BEGIN SELECT RAISE(ABORT, 'the folder log is append-only: UPDATE refused'); END",
    "CREATE TRIGGER IF NOT EXISTS MRLCRT.FILLOG_NO_DELETE BEFORE DELETE ON FILLOG"
    " BEGIN SELECT RAISE(ABORT, 'the folder log is append-only: DELETE refused'); END",
};
#undef ZORVA_SMALLINT
#undef ZORVA_INT
#undef ZORVA_CODE

// Unquoted names fold to lower case, so the statements' MRLCRT.FILCHK finds mrlcrt.filchk. Type
// codes are CHAR(2) as on the court's server: trailing blanks do not count in comparisons.
const char *const PostgresScript[] = {
    "CREATE SCHEMA IF NOT EXISTS mrlcrt",
    "CREATE TABLE IF NOT EXISTS mrlcrt.filchk (filyer smallint NOT NULL, filtyp char(2) NOT NULL CHECK (filtyp <> ''),"
    " filseq integer NOT NULL, filoto varchar, filudt numeric(8,0), filusr varchar)",
    "CREATE UNIQUE INDEX IF NOT EXISTS filchk_key ON mrlcrt.filchk (filyer, filtyp, filseq)",
    "CREATE INDEX IF NOT EXISTS filchk_oto ON mrlcrt.filchk (filoto varchar_pattern_ops)",
    // The locator's holder search: letter case and trailing blanks do not count.
    "CREATE INDEX IF NOT EXISTS filchk_holder ON mrlcrt.filchk (upper(rtrim(filoto)))",
    "DROP INDEX IF EXISTS mrlcrt.filchk_udt",
    "CREATE INDEX IF NOT EXISTS filchk_age ON mrlcrt.filchk (" ZORVA_LOAN_DATE_KEY ", filyer, filtyp, filseq)",

    // As on the court's server, the hearing key is decimal: a row may hold what no case key can.
    "CREATE TABLE IF NOT EXISTS mrlcrt.hrgdta (hrgyer numeric(5,0), hrgtyp char(2), hrgseq numeric(11,0),"
    " hrgjdg varchar, hrgrom varchar, hrghdt integer, hrghtm integer)",
    "CREATE INDEX IF NOT EXISTS hrgdta_date ON mrlcrt.hrgdta (hrghdt, hrgjdg, hrghtm)",

    "CREATE TABLE IF NOT EXISTS mrlcrt.mascrm (masyer integer NOT NULL, mastyp char(2) NOT NULL,"
    " masseq integer NOT NULL, masltp char(2) NOT NULL, maslit integer NOT NULL, masbrn varchar,"
    " masnam varchar, masaty varchar)",
    "CREATE UNIQUE INDEX IF NOT EXISTS mascrm_key ON mrlcrt.mascrm (masyer, mastyp, masseq, masltp, maslit)",
    "CREATE TABLE IF NOT EXISTS mrlcrt.masciv (masyer integer NOT NULL, mastyp char(2) NOT NULL,"
    " masseq integer NOT NULL, masltp char(2) NOT NULL, maslit integer NOT NULL, masbrn varchar,"
    " masnam varchar, masaty varchar)",
    "CREATE UNIQUE INDEX IF NOT EXISTS masciv_key ON mrlcrt.masciv (masyer, mastyp, masseq, masltp, maslit)",

    "CREATE TABLE IF NOT EXISTS mrlcrt.fillog (logtsp varchar NOT NULL, logyer integer, logtyp char(2),"
    " logseq integer, logaut integer, logusr varchar, logoto varchar, logout integer, logdig varchar)",
    // An older court gains the digest column; its rows stay as they are.
    "ALTER TABLE mrlcrt.fillog ADD COLUMN IF NOT EXISTS logdig varchar",
    "CREATE INDEX IF NOT EXISTS fillog_key ON mrlcrt.fillog (logyer, logtyp, logseq, logtsp)",
    // The log is append-only: no program, the component included, rewrites the past.
    "CREATE OR REPLACE FUNCTION mrlcrt.fillog_append_only() RETURNS trigger LANGUAGE plpgsql AS"
    " $$ BEGIN RAISE EXCEPTION 'the folder log is append-only: % refused', TG_OP; END $$",
    "CREATE OR REPLACE TRIGGER fillog_append_only BEFORE UPDATE OR DELETE OR TRUNCATE ON mrlcrt.fillog"
    " FOR EACH STATEMENT EXECUTE FUNCTION mrlcrt.fillog_append_only()",

    // DB2's IfNull. anycompatible, so that a varchar column and a '' literal meet.
    "CREATE OR REPLACE FUNCTION mrlcrt.ifnull(anycompatible, anycompatible) RETURNS anycompatible"
    " LANGUAGE sql IMMUTABLE AS 'SELECT coalesce($1, $2)'",

    // The case style program of the court's server, as a function: plaintiff = the case's first
    // litigant of type PL, defendant = the first of type DF, versus word VS when the case has
    // litigants; outputs never null. The type is compared as the column's own type, so that the
    // master key index answers (a text comparison would read every master row).
    "CREATE OR REPLACE FUNCTION mrlcrt.wingetsty(secf text, yer integer, typ text, seq integer, ltp text,"
    " lit integer, OUT plfltp text, OUT plflit integer, OUT plfnam text, OUT plfaty text, OUT versus text,"
    " OUT defltp text, OUT deflit integer, OUT defnam text, OUT defaty text) LANGUAGE plpgsql STABLE AS $$\n"
    "DECLARE r record;\n"
    "BEGIN\n"
    "  plfltp := ''; plflit := 0; plfnam := ''; plfaty := ''; versus := '';\n"
    "  defltp := ''; deflit := 0; defnam := ''; defaty := '';\n"
    "  FOR r IN SELECT rtrim(masltp) AS t, maslit, masnam, masaty FROM mrlcrt.mascrm"
    " WHERE masyer = yer AND mastyp = typ::bpchar AND masseq = seq"
    " UNION ALL SELECT rtrim(masltp), maslit, masnam, masaty FROM mrlcrt.masciv"
    " WHERE masyer = yer AND mastyp = typ::bpchar AND masseq = seq ORDER BY 1, 2 LOOP\n"
    "    versus := 'VS';\n"
    "    IF r.t = 'PL' AND plfltp = '' THEN\n"
    "      plfltp := r.t; plflit := r.maslit; plfnam := coalesce(r.masnam, ''); plfaty := coalesce(r.masaty, '');\n"
    "    ELSIF r.t = 'DF' AND defltp = '' THEN\n"
    "      defltp := r.t; deflit := r.maslit; defnam := coalesce(r.masnam, ''); defaty := coalesce(r.masaty, '');\n"
    "    END IF;\n"
    "  END LOOP;\n"
    "END $$",

    // IfNull is called unqualified: every session of this database finds the schema's functions.
    "DO $$ BEGIN EXECUTE format('ALTER DATABASE %I SET search_path = \"$user\", public, mrlcrt',"
    " current_database()); END $$",
    "SET search_path = \"$user\", public, mrlcrt",
};

template <size_t N> bool RunScript(QSqlDatabase &db, const char *const (&script)[N], QString *error)
{
    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    for (const char *statement : script) {
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

// An older court file's log table gains the digest column; its rows stay as they are.
const char *const SqliteDigestColumn[] = {"ALTER TABLE MRLCRT.FILLOG ADD COLUMN LOGDIG TEXT"};

bool LacksDigest(QSqlDatabase &db)
{
    QSqlQuery q(db);
    const bool lacks = q.exec(QStringLiteral("SELECT count(*), count(CASE WHEN name='LOGDIG' THEN 1 END)"
                                             " FROM pragma_table_info('FILLOG', 'MRLCRT')")) &&
                       q.next() && q.value(0).toInt() > 0 && q.value(1).toInt() == 0;
    q.finish();
    return lacks;
}

const char *const SqliteDrop[] = {
    "DROP TABLE IF EXISTS MRLCRT.FILLOG", "DROP TABLE IF EXISTS MRLCRT.FILCHK", "DROP TABLE IF EXISTS MRLCRT.HRGDTA",
    "DROP TABLE IF EXISTS MRLCRT.MASCRM", "DROP TABLE IF EXISTS MRLCRT.MASCIV",
};
const char *const PostgresDrop[] = {
    "DROP TABLE IF EXISTS mrlcrt.fillog", "DROP TABLE IF EXISTS mrlcrt.filchk", "DROP TABLE IF EXISTS mrlcrt.hrgdta",
    "DROP TABLE IF EXISTS mrlcrt.mascrm", "DROP TABLE IF EXISTS mrlcrt.masciv",
};

} // namespace

bool Recreate(QSqlDatabase &db, QString *error)
{
    switch (Connection::DialectOf(db)) {
    case Connection::Dialect::SQLite:
        return RunScript(db, SqliteDrop, error) && Create(db, error);
    case Connection::Dialect::PostgreSQL:
        return RunScript(db, PostgresDrop, error) && Create(db, error);
    case Connection::Dialect::DB2:
    case Connection::Dialect::Other:
        break;
    }
    return Create(db, error);
}

bool Create(QSqlDatabase &db, QString *error)
{
    switch (Connection::DialectOf(db)) {
    case Connection::Dialect::SQLite:
        // The table exists before the script only on an older court.
        if (LacksDigest(db) && !RunScript(db, SqliteDigestColumn, error))
            return false;
        return RunScript(db, SqliteScript, error);
    case Connection::Dialect::PostgreSQL:
        return RunScript(db, PostgresScript, error);
    case Connection::Dialect::DB2:
    case Connection::Dialect::Other:
        break;
    }
    *error = QStringLiteral("the court tables are created on SQLite files and PostgreSQL databases only; "
                            "on the court's own server they are its administrators' to create");
    return false;
}

} // namespace Schema
