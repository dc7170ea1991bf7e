#include "TestWorld.h"

#include "records/Connection.h"
#include "records/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

QUrl ServerUrl(const QString &database)
{
    QUrl url(qEnvironmentVariable(TestWorld::ServerVariable));
    if (!database.isEmpty())
        url.setPath(QLatin1Char('/') + database);
    return url;
}

QSqlDatabase OpenOwn(const QString &name, const QString &file, const QString &serverDatabase, const QString &role = {})
{
    const bool server = !serverDatabase.isEmpty();
    QSqlDatabase db = QSqlDatabase::addDatabase(server ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), name);
    if (server) {
        const QUrl url = ServerUrl(serverDatabase);
        db.setHostName(url.host());
        db.setPort(url.port());
        db.setUserName(role.isEmpty() ? url.userName() : role);
        db.setDatabaseName(serverDatabase);
    } else {
        db.setDatabaseName(QStringLiteral(":memory:"));
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    }
    EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    QSqlQuery q(db);
    EXPECT_TRUE(server || q.exec(QStringLiteral("ATTACH DATABASE '%1' AS MRLCRT").arg(file))) << q.lastError().text().toStdString();
    return db;
}

// A connection of the test's own: to the file attached under the same name as in the product,
// or to the world's database on the server.
template <typename Fn> void WithDatabase(const QString &file, const QString &serverDatabase, Fn fn)
{
    const QString name = QStringLiteral("test.world");
    {
        QSqlDatabase db = OpenOwn(name, file, serverDatabase);
        fn(db);
    }
    QSqlDatabase::removeDatabase(name);
}

const QString LockConnection = QStringLiteral("test.lock");

// Creating and dropping the worlds' databases, through the server's maintenance database.
void Administer(const QString &statement)
{
    WithDatabase({}, ServerUrl({}).path().mid(1), [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(statement)) << statement.toStdString() << ": " << q.lastError().text().toStdString();
    });
}

} // namespace

TestWorld::Backend TestWorld::CurrentBackend()
{
    const QString name = qEnvironmentVariable("ZORVA_TEST_BACKEND");
    return name == QLatin1String("postgresql") ? Backend::PostgreSQL
           : name == QLatin1String("odbc")     ? Backend::ODBC
                                               : Backend::SQLite;
}

TestWorld::TestWorld()
{
    EXPECT_TRUE(m_dir.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Path(QStringLiteral("settings")));
    qputenv("XDG_DATA_HOME", Path(QStringLiteral("data")).toUtf8());
    if (!OnSQLite()) {
        if (qEnvironmentVariableIsEmpty(ServerVariable)) {
            ADD_FAILURE() << "The server tests need " << ServerVariable
                          << ": start a cluster with scripts/pg-cluster (scripts/test does).";
        } else {
            static int worlds = 0;
            m_serverDatabase = QStringLiteral("zt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++worlds);
            Administer(QStringLiteral("CREATE DATABASE %1").arg(m_serverDatabase));
            WithDatabase({}, m_serverDatabase, [](QSqlDatabase &db) {
                QString error;
                EXPECT_TRUE(Schema::Create(db, &error)) << error.toStdString();
            });
        }
    }
    // The component library keeps a data layer of its own, which finds the database through
    // the environment; code linked into the test is pointed at it directly.
    qputenv(Connection::EnvironmentVariable, DatabaseUrl().toUtf8());
    // The world's court is made on purpose, as zorva-db init makes one; then the code under test
    // meets an existing court, as a clerk's program does.
    Connection::Use(DatabaseUrl(), QStringLiteral("the test"), Connection::Access::Create);
    QString error;
    EXPECT_TRUE(Connection::Database(QStringLiteral("data"), &error).isValid()) << error.toStdString();
    Connection::Use(DatabaseUrl());
}

TestWorld::~TestWorld()
{
    Connection::Use({});
    qunsetenv(Connection::EnvironmentVariable);
    qunsetenv("ZORVA_PROGRAM_FILES");
    // FORCE: the component library's own data layer may still hold a session on it.
    if (!m_serverDatabase.isEmpty())
        Administer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_serverDatabase));
}

QString TestWorld::DatabaseUrl() const
{
    switch (CurrentBackend()) {
    case Backend::SQLite:
        break;
    case Backend::PostgreSQL:
        return ServerUrl(m_serverDatabase).toString();
    case Backend::ODBC: {
        const QUrl url = ServerUrl({});
        // CommLog=0: the driver's own trace file per session is not wanted.
        return QStringLiteral("odbc:DRIVER={PostgreSQL Unicode};SERVER=%1;PORT=%2;DATABASE=%3;UID=%4;CommLog=0")
            .arg(url.host(), QString::number(url.port()), m_serverDatabase, url.userName());
    }
    }
    return QStringLiteral("sqlite:") + DatabaseFile();
}

QString TestWorld::InstallReferenceTables() const
{
    const QString folder = Path(QStringLiteral("programs/Venholt Dedezirive, Ltd/Common Files/Tables/Client/"));
    EXPECT_TRUE(QDir().mkpath(folder));
    for (const char *table : {"ARYTYP.XML", "ARYJDG.XML", "ARYROM.XML"})
        EXPECT_TRUE(QFile::copy(QStringLiteral(ZORVA_SOURCE_DIR "/data/") + table, folder + table)) << table;
    qputenv("ZORVA_PROGRAM_FILES", Path(QStringLiteral("programs")).toUtf8());
    return folder;
}

void TestWorld::Lend(int year, const QString &type, int sequence, const QString &party) const
{
    const QString quoted = QString(party).replace(QLatin1Char('\''), QLatin1String("''"));
    Exec(QStringLiteral("INSERT INTO MRLCRT.FILCHK VALUES (%1,'%2',%3,'%4',1052026,'OLD')").arg(year).arg(type).arg(sequence).arg(quoted));
}

void TestWorld::Exec(const QString &statement) const
{
    WithDatabase(DatabaseFile(), m_serverDatabase, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(statement)) << statement.toStdString() << ": " << q.lastError().text().toStdString();
    });
}

void TestWorld::FailInsertsFrom(int rows, const QString &message, const QString &table) const
{
    if (OnSQLite()) {
        Exec(QStringLiteral("CREATE TRIGGER MRLCRT.FAIL BEFORE INSERT ON %3 WHEN (SELECT count(*) FROM %3) >= %1 "
                            "BEGIN SELECT RAISE(ABORT, '%2'); END").arg(rows).arg(message, table));
        return;
    }
    Exec(QStringLiteral("CREATE FUNCTION mrlcrt.fail() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                        "IF (SELECT count(*) FROM mrlcrt.%3) >= %1 THEN RAISE EXCEPTION '%2'; END IF; "
                        "RETURN NEW; END $$").arg(rows).arg(message, table));
    Exec(QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON mrlcrt.%1 FOR EACH ROW EXECUTE FUNCTION mrlcrt.fail()").arg(table));
}

TestWorld::WriteLock::WriteLock(const TestWorld &world)
{
    QSqlDatabase db = OpenOwn(LockConnection, world.DatabaseFile(), world.m_serverDatabase);
    QSqlQuery q(db);
    if (OnSQLite())
        m_held = q.exec(QStringLiteral("BEGIN IMMEDIATE")) &&
                 q.exec(QStringLiteral("INSERT INTO MRLCRT.FILCHK (FILYER,FILTYP,FILSEQ) VALUES (1,'CA',1)"));
    else
        m_held = q.exec(QStringLiteral("BEGIN")) && q.exec(QStringLiteral("LOCK TABLE mrlcrt.filchk IN EXCLUSIVE MODE"));
    EXPECT_TRUE(m_held) << q.lastError().text().toStdString();
}

TestWorld::WriteLock::~WriteLock()
{
    {
        QSqlDatabase db = QSqlDatabase::database(LockConnection, false);
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(QStringLiteral("ROLLBACK")));
    }
    QSqlDatabase::removeDatabase(LockConnection);
}

QString TestWorld::Refusal(const QString &statement, const QString &role) const
{
    const QString name = QStringLiteral("test.refusal");
    QString refusal;
    {
        QSqlDatabase db = OpenOwn(name, DatabaseFile(), m_serverDatabase, role);
        QSqlQuery q(db);
        if (!q.exec(statement))
            refusal = q.lastError().text();
    }
    QSqlDatabase::removeDatabase(name);
    return refusal;
}

QVariant TestWorld::Scalar(const QString &query) const
{
    const QList<QVariantList> rows = Rows(query);
    return rows.isEmpty() || rows.first().isEmpty() ? QVariant() : rows.first().first();
}

QList<QVariantList> TestWorld::Rows(const QString &query) const
{
    QList<QVariantList> rows;
    WithDatabase(DatabaseFile(), m_serverDatabase, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(query)) << query.toStdString() << ": " << q.lastError().text().toStdString();
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i);
            rows << row;
        }
    });
    return rows;
}
