#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

// The court database connection, owned by the data-services layer: one per thread and role,
// opened lazily from a connection URL:
//   sqlite:/path/court.db              embedded file, attached as MRLCRT
//   postgresql://user@host:port/db     server, schema mrlcrt
//   odbc:<connection string>           any ODBC source (the court's DB2 for i)
namespace Connection {

enum class Backend { SQLite, PostgreSQL, ODBC };
// The SQL that the other end speaks: an ODBC source may be any of them.
enum class Dialect { SQLite, PostgreSQL, DB2, Other };

inline constexpr char EnvironmentVariable[] = "ZORVA_DATABASE";
// Who set ZORVA_DATABASE, when a program sets it for the component ("the --database option of
// zorva-host"), so that errors blame that and not the environment.
inline constexpr char OriginVariable[] = "ZORVA_DATABASE_ORIGIN";
// The setting that names the court database when the environment does not.
inline constexpr char SettingsOrganization[] = "Venholt Dedezirive, Ltd";
inline constexpr char SettingsApplication[] = "ZORVAAS400Services";
inline constexpr char SettingsKey[] = "Connection/Database";

struct Url
{
    QString url;
    QString origin; // said in every error, so that IT staff know what to fix
    QString error;  // why no URL could be found (a settings file that cannot be read)
    bool isDefault = false;
};

// What an opening may do to a SQLite court file. Nothing is ever changed in a file before it is
// known to hold the court tables; only Create (zorva-db init, a test's own court) and the
// per-user default court make a missing or empty file into a court.
enum class Access {
    Write,    // an existing court
    ReadOnly, // an existing court, never changed (zorva-db status, history)
    Create,   // an existing court, or a new one made from a missing or empty file
};

// The role of connections that only look (the locator): opened read-only whatever the program's
// access, so that a view never creates, migrates or switches the journal mode of a court.
inline constexpr char ReadRole[] = "read";

// The URL in force: one set by the program, else ZORVA_DATABASE, else the setting, else the
// per-user default file.
Url Current();
// Points the layer elsewhere (a test's own file, a host switching courts) and closes every
// connection; an empty URL goes back to the environment, setting and default. origin says in
// errors who chose the URL ("the --db option").
void Use(const QString &url, const QString &origin = QStringLiteral("the program that uses this component"),
         Access access = Access::Write);
// Closes every connection this layer opened; the next use opens them anew.
void CloseAll();

QString DefaultDatabaseFile();

// The engine's own words for a failure, without the Qt driver's trailer ("Unable to fetch row").
QString EngineText(const QSqlError &error);
// A failed statement's message: the engine's words and the court they came from, with what
// chose it, so that a damaged file or a stalled server is named.
QString FailureText(const QSqlDatabase &db, const QSqlError &error);

// The calling thread's connection for a role ("data" for the windows, "log" for the logging
// component). Returns an invalid database and fills *error when it cannot be opened.
QSqlDatabase Database(const QString &role, QString *error);

Backend BackendOf(const QSqlDatabase &db);
Dialect DialectOf(const QSqlDatabase &db);

// After a failed statement: when the server no longer answers, the role's connection is marked
// lost and the next Database() call opens it anew, so that the clerk's next window works once
// the server is back. A file database is never marked.
void CheckAfterFailure(const QSqlDatabase &db);

// A number that names one opened connection: a connection opened anew (after Use(), a changed
// environment or a lost server) gets another, so that statements prepared on the old one are
// never reused.
quint64 SerialOf(const QSqlDatabase &db);

// Changes whenever a connection handed out before may no longer be the one Database() would hand
// out (Use, CloseAll, a changed ZORVA_DATABASE, a connection opened or marked lost), so that a
// holder of statements asks for its connection again only then; 0 means "ask now".
quint64 Epoch();

} // namespace Connection
