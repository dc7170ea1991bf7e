#include "TestWorld.h"
#include "records/Connection.h"
#include "records/DataObject.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

// Runs one statement through a data object; returns the error text it raised, if any.
QString ErrorOf(const QString &statement)
{
    DataObject data;
    QString error;
    QObject::connect(&data, &DataObject::Error, [&](qint32, const QString &d) { error = d; });
    data.Execute(statement);
    return error;
}

void StoreSetting(const QString &url)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QLatin1String(Connection::SettingsOrganization),
                       QLatin1String(Connection::SettingsApplication));
    settings.setValue(QLatin1String(Connection::SettingsKey), url);
}

class ConnectionTest : public ::testing::Test
{
protected:
    void SetUp() override { qunsetenv(Connection::EnvironmentVariable); }
    void TearDown() override { qunsetenv(Connection::EnvironmentVariable); }
    TestWorld world;
};

TEST_F(ConnectionTest, ProgramThenEnvironmentThenSettingThenDefault)
{
    Connection::Use({});
    EXPECT_EQ(Connection::Current().url, "sqlite:" + Connection::DefaultDatabaseFile());
    EXPECT_TRUE(Connection::DefaultDatabaseFile().startsWith(world.Path("data")));

    StoreSetting(QStringLiteral("sqlite:/from/setting.db"));
    EXPECT_EQ(Connection::Current().url, "sqlite:/from/setting.db");
    EXPECT_TRUE(Connection::Current().origin.contains(QLatin1String("Connection/Database")));

    qputenv(Connection::EnvironmentVariable, "sqlite:/from/environment.db");
    EXPECT_EQ(Connection::Current().url, "sqlite:/from/environment.db");
    EXPECT_TRUE(Connection::Current().origin.contains(QLatin1String("ZORVA_DATABASE")));

    Connection::Use(QStringLiteral("sqlite:/from/program.db"));
    EXPECT_EQ(Connection::Current().url, "sqlite:/from/program.db");
}

TEST_F(ConnectionTest, DefaultFileIsCreatedWithTheSchemaOnFirstUse)
{
    Connection::Use({});
    ASSERT_FALSE(QFile::exists(Connection::DefaultDatabaseFile()));
    EXPECT_EQ(ErrorOf(QStringLiteral("Select * From MRLCRT.FILCHK")), "");
    EXPECT_TRUE(QFile::exists(Connection::DefaultDatabaseFile()));
    for (const char *table : {"FILCHK", "HRGDTA", "MASCRM", "MASCIV", "FILLOG"})
        EXPECT_EQ(ErrorOf(QStringLiteral("Select count(*) From MRLCRT.%1").arg(QLatin1String(table))), "") << table;
}

TEST_F(ConnectionTest, DurableSettingsReachTheAttachedFile)
{
    if (!TestWorld::OnSQLite())
        GTEST_SKIP() << "SQLite files only";
    const struct
    {
        const char *pragma;
        const char *column;
        const char *expected;
    } cases[] = {
        {"PRAGMA MRLCRT.journal_mode", "journal_mode", "wal"},
        {"PRAGMA MRLCRT.synchronous", "synchronous", "2"}, // FULL
        {"PRAGMA busy_timeout", "timeout", "5000"},
    };
    for (const auto &c : cases) {
        DataObject data;
        data.Execute(QString::fromLatin1(c.pragma));
        ASSERT_FALSE(data.Eof()) << c.pragma;
        EXPECT_EQ(data.Field(QLatin1String(c.column)).toString(), QLatin1String(c.expected)) << c.pragma;
    }
}

TEST_F(ConnectionTest, ErrorsNameWhatChoseTheDatabase)
{
    const struct
    {
        QString url;
        bool fromEnvironment;
        QStringList mentions;
    } cases[] = {
        {"mysql://court/db", true, {"unknown scheme", "ZORVA_DATABASE", "mysql://court/db"}},
        {"sqlite:" + world.Path("no/such/folder/court.db"), true,
         {"ZORVA_DATABASE", world.Path("no/such/folder/court.db"), "folder does not exist"}},
        {"sqlite:", false, {"names no file", "the program"}},
        {"postgresql://nobody@127.0.0.1:1/court", false, {"postgresql://nobody@127.0.0.1:1/court", "cannot be opened"}},
        {"postgresql:///court", false, {"not a valid"}},
    };
    for (const auto &c : cases) {
        if (c.fromEnvironment) {
            Connection::Use({});
            qputenv(Connection::EnvironmentVariable, c.url.toUtf8());
        } else {
            qunsetenv(Connection::EnvironmentVariable);
            Connection::Use(c.url);
        }
        const QString error = ErrorOf(QStringLiteral("Select * From MRLCRT.FILCHK"));
        for (const QString &m : c.mentions)
            EXPECT_TRUE(error.contains(m)) << c.url.toStdString() << " -> " << error.toStdString();
    }
}

TEST_F(ConnectionTest, PointingElsewhereSwitchesCourts)
{
    TestWorld other;
    Connection::Use(other.DatabaseUrl());
    DataObject data;
    data.Execute(QStringLiteral("Insert Into MRLCRT.FILCHK (FILYER, FILTYP, FILSEQ, FILOTO) Values(2001,'CA',1,'X')"));
    Connection::Use(world.DatabaseUrl());
    data.Execute(QStringLiteral("Select count(*) As N From MRLCRT.FILCHK"));
    EXPECT_EQ(data.Field("N").toInt(), 0);
    EXPECT_EQ(other.Scalar("SELECT count(*) FROM MRLCRT.FILCHK").toInt(), 1);
}

TEST_F(ConnectionTest, EachSourceSaysWhatItSpeaks)
{
    Connection::Use(world.DatabaseUrl());
    QString error;
    const QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    ASSERT_TRUE(db.isValid()) << error.toStdString();
    // Through ODBC the answer comes from the source itself (here a PostgreSQL server).
    EXPECT_EQ(Connection::DialectOf(db),
              TestWorld::OnSQLite() ? Connection::Dialect::SQLite : Connection::Dialect::PostgreSQL);
}

TEST_F(ConnectionTest, ALostServerSessionIsOpenedAnewForTheNextStatement)
{
    if (TestWorld::OnSQLite())
        GTEST_SKIP() << "a file has no session to lose";
    world.Lend(2009, "CV", 123, "SMI");
    const QString lookup = QStringLiteral("Select FILOTO From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=?");
    const QVariantList key{2009, "CV", 123};
    DataObject data;
    QStringList errors;
    QObject::connect(&data, &DataObject::Error, [&](qint32, const QString &d) { errors << d; });
    data.Execute(lookup, key);
    ASSERT_TRUE(errors.isEmpty());

    // The server ends the session, as a restart or a cut network would.
    world.Exec("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
               "WHERE datname = current_database() AND pid <> pg_backend_pid()");
    data.Execute(lookup, key);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(data.Eof());

    // The next statement, of this object or of the next window's, finds a new session.
    data.Execute(lookup, key);
    EXPECT_EQ(errors.size(), 1) << errors.last().toStdString();
    ASSERT_FALSE(data.Eof());
    EXPECT_EQ(data.Field(QStringLiteral("FILOTO")).toString(), "SMI");
}

} // namespace
