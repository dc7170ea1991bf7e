#include "Connection.h"

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

#include <sql.h>
#include <sqlext.h>
#include <sqlite3.h>

namespace Connection {
namespace {

constexpr int BusyTimeoutMs = 5000;
const QString NamePrefix = QStringLiteral("zorva.");

QMutex mutex;
QString programUrl; // set through Use()
QString programOrigin;
QString environmentSeen; // ZORVA_DATABASE as it was when the open connections were made
int generation = 0; // bumped by Use() so that stale connections are never reused
QAtomicInteger<quint64> serials = 0;
const char SerialProperty[] = "zorva.serial";
const char DialectProperty[] = "zorva.dialect";
const char LostProperty[] = "zorva.lost";

QString ConnectionName(const QString &role)
{
    QMutexLocker lock(&mutex);
    return NamePrefix + role + QLatin1Char('.') +
           QString::number(reinterpret_cast<quintptr>(QThread::currentThread()), 16) + QLatin1Char('.') +
           QString::number(generation);
}

QString Describe(const Url &u) { return QStringLiteral("\"%1\" (%2)").arg(u.url, u.origin); }

bool OpenSqlite(QSqlDatabase &db, const QString &path, QString *why)
{
    const QFileInfo file(path);
    if (path.isEmpty()) {
        *why = QStringLiteral("the URL names no file");
        return false;
    }
    if (!file.exists()) {
        if (file.absoluteFilePath() == QFileInfo(DefaultDatabaseFile()).absoluteFilePath())
            QDir().mkpath(file.absolutePath());
        if (!file.absoluteDir().exists()) {
            *why = QStringLiteral("the file \"%1\" cannot be created, its folder does not exist")
                       .arg(file.absoluteFilePath());
            return false;
        }
    }
    // The statements name the library MRLCRT, so the file is attached under that name.
    db.setDatabaseName(QStringLiteral(":memory:"));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs));
    if (!db.open()) {
        *why = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("ATTACH DATABASE ? AS MRLCRT"));
    q.addBindValue(file.absoluteFilePath());
    bool ok = q.exec();
    // synchronous and journal_mode do not reach an attached database unless named for it.
    ok = ok && q.exec(QStringLiteral("PRAGMA MRLCRT.journal_mode=WAL"));
    ok = ok && q.exec(QStringLiteral("PRAGMA MRLCRT.synchronous=FULL"));
    // A new (empty) file gets the schema, so that a first start needs no install step.
    ok = ok && q.exec(QStringLiteral("SELECT count(*) FROM MRLCRT.sqlite_master")) && q.next();
    if (!ok) {
        *why = QStringLiteral("the file \"%1\" cannot be opened or created: %2")
                   .arg(file.absoluteFilePath(), q.lastError().text());
        return false;
    }
    const bool empty = q.value(0).toInt() == 0;
    q.finish();
    return !empty || Schema::Create(db, why);
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
    QStringList options;
    for (const auto &[key, value] : QUrlQuery(parsed).queryItems(QUrl::FullyDecoded))
        options << key + QLatin1Char('=') + value;
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        *error = db.lastError().text();
        return false;
    }
    return true;
}

// A row another clerk is writing is waited for as long as on a file, then reported. (DB2 for i
// waits as the table's record wait time says.)
bool SetLockTimeout(QSqlDatabase &db, QString *error)
{
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SET lock_timeout = %1").arg(BusyTimeoutMs)))
        return true;
    *error = q.lastError().text();
    return false;
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

QSqlDatabase Open(const QString &name, QString *error)
{
    const Url u = Current();
    QString why;
    bool ok = false;
    {
        QSqlDatabase db;
        if (u.url.startsWith(QLatin1String("sqlite:"))) {
            QString path = u.url.mid(7);
            if (path.startsWith(QLatin1String("//")))
                path = path.mid(2);
            db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            ok = OpenSqlite(db, path, &why);
        } else if (u.url.startsWith(QLatin1String("postgresql://")) ||
                   u.url.startsWith(QLatin1String("postgres://"))) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            ok = OpenPostgres(db, u.url, &why);
        } else if (u.url.startsWith(QLatin1String("odbc:"))) {
            db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
            db.setDatabaseName(u.url.mid(5));
            ok = db.open();
            if (!ok)
                why = db.lastError().text();
        } else {
            *error = QStringLiteral("The court database URL %1 has an unknown scheme; use sqlite:/path/file.db, "
                                    "postgresql://user@host:port/dbname or odbc:<connection string>.")
                         .arg(Describe(u));
            return {};
        }
        if (ok) {
            db.driver()->setProperty(SerialProperty, quint64(++serials));
            if (BackendOf(db) == Backend::ODBC)
                db.driver()->setProperty(DialectProperty, int(OdbcDialect(db)));
            if (DialectOf(db) != Dialect::PostgreSQL || SetLockTimeout(db, &why))
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
            return {programUrl, programOrigin};
    }
    const QString env = qEnvironmentVariable(EnvironmentVariable);
    if (!env.isEmpty())
        return {env, QStringLiteral("the environment variable %1").arg(QLatin1String(EnvironmentVariable))};
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QLatin1String(SettingsOrganization),
                       QLatin1String(SettingsApplication));
    const QString stored = settings.value(QLatin1String(SettingsKey)).toString();
    if (!stored.isEmpty())
        return {stored, QStringLiteral("the setting %1 in %2").arg(QLatin1String(SettingsKey), settings.fileName())};
    return {QStringLiteral("sqlite:") + DefaultDatabaseFile(), QStringLiteral("the default database of this user")};
}

void Use(const QString &url, const QString &origin)
{
    CloseAll();
    QMutexLocker lock(&mutex);
    programUrl = url;
    programOrigin = origin;
    ++generation;
}

void CloseAll()
{
    for (const QString &name : QSqlDatabase::connectionNames()) {
        if (!name.startsWith(NamePrefix))
            continue;
        QSqlDatabase::database(name, false).close();
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

QSqlDatabase Database(const QString &role, QString *error)
{
    // A changed ZORVA_DATABASE points the layer elsewhere, as Use() does.
    const QString environment = qEnvironmentVariable(EnvironmentVariable);
    bool changed = false;
    {
        QMutexLocker lock(&mutex);
        if (environment != environmentSeen) {
            environmentSeen = environment;
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
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(name);
    }
    return Open(name, error);
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
            sqlite3_db_readonly(*static_cast<sqlite3 *const *>(handle.constData()), "MRLCRT") == 1)
            db.driver()->setProperty(LostProperty, true);
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
