#include "Connection.h"

#include "KeptStatements.h"
#include "MaskedUrl.h"
#include "Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSettings>
#include <QAtomicInteger>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>
#include <cstdlib>

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

namespace Connection {
namespace {

constexpr int BusyTimeoutMs = 5000;
// A server gets this long to answer; together they stay under half a minute.
constexpr int ConnectTimeoutS = 10;
constexpr int StatementTimeoutMs = 20000;
const QString NamePrefix = QStringLiteral("zorva.");

QMutex mutex;
QString programUrl; // set through Use()
QString programOrigin;
QString environmentSeen; // ZORVA_DATABASE as it was when the open connections were made
QByteArray environmentSeenBytes; // the same, as the environment holds it, for Epoch()
QAtomicInteger<quint64> epoch = 1;
int generation = 0; // bumped by Use() so that stale connections are never reused
QAtomicInteger<quint64> serials = 0;
const char SerialProperty[] = "zorva.serial";
const char DialectProperty[] = "zorva.dialect";
const char LostProperty[] = "zorva.lost";
const char CourtProperty[] = "zorva.court";
Access programAccess = Access::Write;

QString ConnectionName(const QString &role)
{
    QMutexLocker lock(&mutex);
    return NamePrefix + role + QLatin1Char('.') +
           QString::number(reinterpret_cast<quintptr>(QThread::currentThread()), 16) + QLatin1Char('.') +
           QString::number(generation);
}

// Every message and log line names the court through here: never with its password.
QString Describe(const Url &u) { return QStringLiteral("\"%1\" (%2)").arg(MaskedUrl(u.url), u.origin); }

// The tables that make a file a court; a file with none of them belongs to another program.
const QStringList CourtTables{QStringLiteral("FILCHK"), QStringLiteral("HRGDTA"), QStringLiteral("MASCRM"),
                              QStringLiteral("MASCIV"), QStringLiteral("FILLOG")};

bool OpenSqlite(QSqlDatabase &db, const QString &path, Access access, bool isDefault, QString *why)
{
    if (path.isEmpty()) {
        *why = QStringLiteral("the URL names no file");
        return false;
    }
    const QFileInfo file(path);
    const QString where = file.absoluteFilePath();
    const bool mayCreate = access == Access::Create || (isDefault && access == Access::Write);
    if (!file.exists()) {
        if (!mayCreate) {
            *why = QStringLiteral("the file \"%1\" does not exist (\"zorva-db init\" makes a new court)").arg(where);
            return false;
        }
        if (isDefault)
            QDir().mkpath(file.absolutePath());
        if (!file.absoluteDir().exists()) {
            *why = QStringLiteral("the file \"%1\" cannot be created, its folder does not exist").arg(where);
            return false;
        }
    } else if (file.isDir()) {
        *why = QStringLiteral("\"%1\" is a folder, not a court file").arg(where);
        return false;
    } else if (!file.isFile()) {
        // A device or pipe (/dev/zero) reports a size of 0: it is not an empty court file.
        *why = QStringLiteral("\"%1\" is a device or other special file, not a court file").arg(where);
        return false;
    } else if (file.size() == 0 && !mayCreate) {
        *why = QStringLiteral("the file \"%1\" is empty, it holds no court (\"zorva-db init\" makes one)").arg(where);
        return false;
    }
    // The statements name the library MRLCRT, so the file is attached under that name; as a URI,
    // so that mode=rw can refuse to make a file that is not there.
    db.setDatabaseName(QStringLiteral(":memory:"));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1;QSQLITE_OPEN_URI").arg(BusyTimeoutMs));
    if (!db.open()) {
        *why = EngineText(db.lastError());
        return false;
    }
    QUrl uri = QUrl::fromLocalFile(where);
    uri.setQuery(mayCreate ? QStringLiteral("mode=rwc") : QStringLiteral("mode=rw"));
    QSqlQuery q(db);
    q.prepare(QStringLiteral("ATTACH DATABASE ? AS MRLCRT"));
    q.addBindValue(uri.toString(QUrl::FullyEncoded));
    // Whether it is a court is asked before anything is set: journal_mode=WAL would stay in
    // another program's file for good.
    bool ok = q.exec();
    ok = ok && q.exec(QStringLiteral("SELECT count(*), coalesce(sum(upper(name) IN ('%1')), 0) FROM "
                                     "MRLCRT.sqlite_master WHERE type = 'table'")
                          .arg(CourtTables.join(QStringLiteral("', '")))) &&
         q.next();
    if (!ok) {
        *why = QStringLiteral("the file \"%1\" cannot be opened as a court: %2").arg(where, EngineText(q.lastError()));
        return false;
    }
    const int tables = q.value(0).toInt(), courtTables = q.value(1).toInt();
    q.finish();
    if (courtTables == 0 && (tables > 0 || !mayCreate)) {
        *why = tables > 0 ? QStringLiteral("the file \"%1\" holds %2 table(s) but none of the court's (%3): it is "
                                           "another program's database")
                                .arg(where)
                                .arg(tables)
                                .arg(CourtTables.join(QStringLiteral(", ")))
                          : QStringLiteral("the file \"%1\" holds no tables, it is no court (\"zorva-db init\" "
                                           "makes one)")
                                .arg(where);
        return false;
    }
    if (access == Access::ReadOnly) {
        // Reading leaves the file as it is: no journal mode set, and no statement may write.
        if (q.exec(QStringLiteral("PRAGMA query_only = ON")))
            return true;
        *why = EngineText(q.lastError());
        return false;
    }
    // synchronous and journal_mode do not reach an attached database unless named for it.
    ok = q.exec(QStringLiteral("PRAGMA MRLCRT.journal_mode=WAL"));
    ok = ok && q.exec(QStringLiteral("PRAGMA MRLCRT.synchronous=FULL"));
    if (!ok) {
        *why = QStringLiteral("the file \"%1\" cannot be opened: %2").arg(where, EngineText(q.lastError()));
        return false;
    }
    q.finish();
    // A new (empty) file gets the schema, so that a first start needs no install step.
    return courtTables > 0 || Schema::Create(db, why);
}

// A server that stops answering must end in an error, not a frozen window: the connection gives
// up after connect_timeout, the kernel's keepalives and tcp_user_timeout find a dead peer.
// Options given in the URL win.
QString PostgresOptions(const QUrl &url)
{
    QList<std::pair<QString, QString>> options{
        {QStringLiteral("connect_timeout"), QString::number(ConnectTimeoutS)},
        {QStringLiteral("keepalives"), QStringLiteral("1")},
        {QStringLiteral("keepalives_idle"), QStringLiteral("10")},
        {QStringLiteral("keepalives_interval"), QStringLiteral("5")},
        {QStringLiteral("keepalives_count"), QStringLiteral("3")},
        {QStringLiteral("tcp_user_timeout"), QString::number(StatementTimeoutMs)},
    };
    for (const auto &given : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        auto same = [&given](const auto &o) { return o.first == given.first; };
        options.erase(std::remove_if(options.begin(), options.end(), same), options.end());
        options.append(given);
    }
    QStringList joined;
    for (const auto &[key, value] : options)
        joined << key + QLatin1Char('=') + value;
    return joined.join(QLatin1Char(';'));
}

bool OpenPostgres(QSqlDatabase &db, const QString &url, QString *error)
{
    const QUrl parsed(url);
    if (!parsed.isValid() || parsed.host().isEmpty()) {
        *error = QStringLiteral("it is not a valid postgresql://user@host:port/dbname URL");
        return false;
    }
    db.setHostName(parsed.host());
    if (parsed.port() > 0)
        db.setPort(parsed.port());
    db.setUserName(parsed.userName());
    db.setPassword(parsed.password());
    db.setDatabaseName(parsed.path().mid(1));
    db.setConnectOptions(PostgresOptions(parsed));
    if (!db.open()) {
        *error = EngineText(db.lastError());
        return false;
    }
    return true;
}

// A row another clerk is writing is waited for as long as on a file, then reported; a statement
// the server does not finish is cancelled by the server. (DB2 for i waits as the table's record
// wait time says.)
bool SetSessionLimits(QSqlDatabase &db, Access access, QString *error)
{
    QStringList settings{QStringLiteral("SET lock_timeout = %1").arg(BusyTimeoutMs),
                         QStringLiteral("SET statement_timeout = %1").arg(StatementTimeoutMs)};
    if (access == Access::ReadOnly)
        settings << QStringLiteral("SET default_transaction_read_only = on");
    QSqlQuery q(db);
    for (const QString &setting : settings) {
        if (!q.exec(setting)) {
            *error = EngineText(q.lastError());
            return false;
        }
    }
    return true;
}

// What the ODBC source says it is: the court's DB2 for i gets the server program call as
// written, other sources the stand-ins.
Dialect OdbcDialect(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (handle.metaType() != QMetaType::fromType<SQLHANDLE>())
        return Dialect::Other;
    SQLCHAR name[128] = {};
    SQLSMALLINT length = 0;
    const SQLRETURN rc = SQLGetInfo(*static_cast<const SQLHANDLE *>(handle.constData()), SQL_DBMS_NAME, name,
                                    sizeof name, &length);
    if (!SQL_SUCCEEDED(rc))
        return Dialect::Other;
    const QString dbms = QString::fromLatin1(reinterpret_cast<const char *>(name)).trimmed();
    if (dbms.contains(QLatin1String("DB2"), Qt::CaseInsensitive))
        return Dialect::DB2;
    if (dbms.startsWith(QLatin1String("PostgreSQL"), Qt::CaseInsensitive))
        return Dialect::PostgreSQL;
    if (dbms.startsWith(QLatin1String("SQLite"), Qt::CaseInsensitive))
        return Dialect::SQLite;
    return Dialect::Other;
}

QSqlDatabase Open(const QString &name, const QString &role, QString *error)
{
    const Url u = Current();
    if (!u.error.isEmpty()) {
        *error = u.error;
        return {};
    }
    Access access;
    {
        QMutexLocker lock(&mutex);
        access = role == QLatin1String(ReadRole) ? Access::ReadOnly : programAccess;
    }
    QString why;
    bool ok = false;
    {
        QSqlDatabase db;
        if (u.url.startsWith(QLatin1String("sqlite:"))) {
            QString path = u.url.mid(7);
            if (path.startsWith(QLatin1String("//")))
                path = path.mid(2);
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            ok = OpenSqlite(db, path, access, u.isDefault, &why);
        } else if (u.url.startsWith(QLatin1String("postgresql://")) ||
                   u.url.startsWith(QLatin1String("postgres://"))) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            ok = OpenPostgres(db, u.url, &why);
        } else if (u.url.startsWith(QLatin1String("odbc:"))) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
            db.setDatabaseName(u.url.mid(5));
            // The driver manager's own limits for logging in and for each request.
            QString options = QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%2")
                                  .arg(ConnectTimeoutS)
                                  .arg(StatementTimeoutMs / 1000);
            if (access == Access::ReadOnly)
                options += QStringLiteral(";SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY");
            db.setConnectOptions(options);
            ok = db.open();
            if (!ok)
                why = EngineText(db.lastError());
        } else {
            *error = QStringLiteral("The court database URL %1 has an unknown scheme; use sqlite:/path/file.db, "
                                    "postgresql://user@host:port/dbname or odbc:<connection string>.")
                         .arg(Describe(u));
            return {};
        }
        if (ok) {
            ++epoch;
            db.driver()->setProperty(SerialProperty, quint64(++serials));
            db.driver()->setProperty(CourtProperty, Describe(u));
            if (BackendOf(db) == Backend::ODBC)
                db.driver()->setProperty(DialectProperty, int(OdbcDialect(db)));
            if (DialectOf(db) != Dialect::PostgreSQL || SetSessionLimits(db, access, &why))
                return db;
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    *error = QStringLiteral("The court database %1 cannot be opened: %2.").arg(Describe(u), why);
    return {};
}

} // namespace

Url Current()
{
    {
        QMutexLocker lock(&mutex);
        if (!programUrl.isEmpty())
            return {programUrl, programOrigin, {}, false};
    }
    const QString env = qEnvironmentVariable(EnvironmentVariable);
    if (!env.isEmpty()) {
        const QString origin = qEnvironmentVariable(OriginVariable);
        return {env,
                origin.isEmpty() ? QStringLiteral("the environment variable %1").arg(QLatin1String(EnvironmentVariable))
                                 : origin,
                {},
                false};
    }
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QLatin1String(SettingsOrganization),
                       QLatin1String(SettingsApplication));
    const QString stored = settings.value(QLatin1String(SettingsKey)).toString();
    const QString origin = QStringLiteral("the setting %1 in %2").arg(QLatin1String(SettingsKey), settings.fileName());
    // A settings file that cannot be read may name another court: falling back to the default
    // would show that court's folders as if they were this one's.
    if (settings.status() != QSettings::NoError)
        return {{}, origin,
                QStringLiteral("The settings file \"%1\" cannot be read (%2), so the court database it names is "
                               "not known; no court was opened.")
                    .arg(settings.fileName(), settings.status() == QSettings::AccessError
                                                  ? QStringLiteral("it cannot be opened")
                                                  : QStringLiteral("it is not a valid settings file")),
                false};
    if (!stored.isEmpty())
        return {stored, origin, {}, false};
    return {QStringLiteral("sqlite:") + DefaultDatabaseFile(), QStringLiteral("the default database of this user"),
            {}, true};
}

void Use(const QString &url, const QString &origin, Access access)
{
    CloseAll();
    QMutexLocker lock(&mutex);
    programUrl = url;
    programOrigin = origin;
    programAccess = access;
    ++generation;
    ++epoch;
}

void CloseAll()
{
    ++epoch;
    for (const QString &name : QSqlDatabase::connectionNames()) {
        if (!name.startsWith(NamePrefix))
            continue;
        QSqlDatabase db = QSqlDatabase::database(name, false);
        KeptStatements::Drop(db);
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(name);
    }
}

QString DefaultDatabaseFile()
{
    // Under the maker's folder rather than the host program's, so that every program of the
    // suite on this account (hosts, zorva-db) finds the same default court.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           QLatin1String(SettingsOrganization) + QStringLiteral("/court.db");
}

QString EngineText(const QSqlError &error)
{
    // Qt puts its own words ("Unable to fetch row", "QPSQL: Unable to create query") after the
    // engine's; they say nothing the engine has not said.
    const QString engine = error.databaseText().trimmed();
    return engine.isEmpty() ? error.driverText().trimmed() : engine;
}

QString FailureText(const QSqlDatabase &db, const QSqlError &error)
{
    const QString court = db.driver() ? db.driver()->property(CourtProperty).toString() : QString();
    return court.isEmpty() ? EngineText(error)
                           : QStringLiteral("Court database %1: %2").arg(court, EngineText(error));
}

QSqlDatabase Database(const QString &role, QString *error)
{
    // A changed ZORVA_DATABASE points the layer elsewhere, as Use() does.
    const QString environment = qEnvironmentVariable(EnvironmentVariable);
    bool changed = false;
    {
        QMutexLocker lock(&mutex);
        if (environment != environmentSeen) {
            environmentSeen = environment;
            environmentSeenBytes = qgetenv(EnvironmentVariable);
            ++generation;
            changed = true;
        }
    }
    if (changed)
        CloseAll();
    const QString name = ConnectionName(role);
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && !db.driver()->property(LostProperty).toBool())
            return db;
        KeptStatements::Drop(db);
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(name);
    }
    return Open(name, role, error);
}

quint64 Epoch()
{
    // Cheaper than Database(): no connection name composed, no lookup, no copy of the variable.
    const char *environment = std::getenv(EnvironmentVariable);
    {
        QMutexLocker lock(&mutex);
        if (qstrcmp(environment ? environment : "", environmentSeenBytes.constData()) != 0)
            return 0;
    }
    return epoch.loadAcquire();
}

quint64 SerialOf(const QSqlDatabase &db)
{
    return db.driver() ? db.driver()->property(SerialProperty).toULongLong() : 0;
}

Dialect DialectOf(const QSqlDatabase &db)
{
    const QVariant dialect = db.driver() ? db.driver()->property(DialectProperty) : QVariant();
    if (dialect.isValid())
        return Dialect(dialect.toInt());
    switch (BackendOf(db)) {
    case Backend::SQLite:
        return Dialect::SQLite;
    case Backend::PostgreSQL:
        return Dialect::PostgreSQL;
    case Backend::ODBC:
        break;
    }
    return Dialect::Other;
}

void CheckAfterFailure(const QSqlDatabase &db)
{
    if (!db.isValid())
        return;
    if (BackendOf(db) == Backend::SQLite) {
        // A file that could only be opened read-only (a read-only mount, an immutable file) stays
        // so on this connection: the next use opens it anew, writable once the fault is gone.
        const QVariant handle = db.driver()->handle();
        if (qstrcmp(handle.typeName(), "sqlite3*") == 0 &&
            sqlite3_db_readonly(*static_cast<sqlite3 *const *>(handle.constData()), "MRLCRT") == 1) {
            db.driver()->setProperty(LostProperty, true);
            ++epoch;
        }
        return;
    }
    QSqlQuery probe(db);
    if (probe.exec(DialectOf(db) == Dialect::DB2 ? QStringLiteral("VALUES 1") : QStringLiteral("SELECT 1")))
        return;
    // The server is gone for every role of this thread (the log writer's too), not just this one.
    const QString thread = QLatin1Char('.') + QString::number(reinterpret_cast<quintptr>(QThread::currentThread()), 16) +
                           QLatin1Char('.');
    for (const QString &name : QSqlDatabase::connectionNames()) {
        if (name.startsWith(NamePrefix) && name.contains(thread))
            QSqlDatabase::database(name, false).driver()->setProperty(LostProperty, true);
    }
    ++epoch;
}

Backend BackendOf(const QSqlDatabase &db)
{
    if (db.driverName() == QLatin1String("QPSQL"))
        return Backend::PostgreSQL;
    if (db.driverName() == QLatin1String("QODBC"))
        return Backend::ODBC;
    return Backend::SQLite;
}

} // namespace Connection
