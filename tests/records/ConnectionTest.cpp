#include "TestWorld.h"
#include "records/Connection.h"
#include "records/DataObject.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QSqlQuery>
#include <QTcpServer>
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

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Another program's SQLite file (rollback journal), or a court with a row, written without the
// layer under test.
void MakeSqliteFile(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test.own"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString &statement : statements)
            ASSERT_TRUE(q.exec(statement)) << statement.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test.own"));
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

// A file's durable settings, and a server's limits on how long a statement may wait or run.
TEST_F(ConnectionTest, DurableSettingsAndServerLimitsAreInForce)
{
    const struct
    {
        bool server;
        const char *statement;
        const char *column;
        const char *expected;
    } cases[] = {
        {false, "PRAGMA MRLCRT.journal_mode", "journal_mode", "wal"},
        {false, "PRAGMA MRLCRT.synchronous", "synchronous", "2"}, // FULL
        {false, "PRAGMA busy_timeout", "timeout", "5000"},
        {true, "SHOW lock_timeout", "lock_timeout", "5s"},
        {true, "SHOW statement_timeout", "statement_timeout", "20s"},
    };
    for (const auto &c : cases) {
        if (c.server == TestWorld::OnSQLite())
            continue;
        DataObject data;
        data.Execute(QString::fromLatin1(c.statement));
        ASSERT_FALSE(data.Eof()) << c.statement;
        EXPECT_EQ(data.Field(QLatin1String(c.column)).toString(), QLatin1String(c.expected)) << c.statement;
    }
}

TEST_F(ConnectionTest, ErrorsNameWhatChoseTheDatabase)
{
    enum Chooser { Environment, EnvironmentSetByAProgram, Program };
    const struct
    {
        QString url;
        Chooser chooser;
        QStringList mentions;
        QStringList absent;
    } cases[] = {
        {"mysql://court/db", Environment, {"unknown scheme", "ZORVA_DATABASE", "mysql://court/db"}, {}},
        {"sqlite:" + world.Path("no/such/folder/court.db"),
         Environment,
         {"the environment variable ZORVA_DATABASE", world.Path("no/such/folder/court.db"), "does not exist"},
         {}},
        {"sqlite:" + world.Path("cuort.db"),
         EnvironmentSetByAProgram,
         {"\"sqlite:" + world.Path("cuort.db") + "\" (the --database option of zorva-host)", "does not exist"},
         {"environment"}},
        {"sqlite:", Program, {"names no file", "the program"}, {}},
        {"postgresql://nobody@127.0.0.1:1/court",
         Program,
         {"postgresql://nobody@127.0.0.1:1/court", "cannot be opened"},
         {"QPSQL", "Unable to connect"}},
        {"postgresql:///court", Program, {"not a valid"}, {}},
    };
    for (const auto &c : cases) {
        qunsetenv(Connection::OriginVariable);
        if (c.chooser == Program) {
            qunsetenv(Connection::EnvironmentVariable);
            Connection::Use(c.url);
        } else {
            Connection::Use({});
            qputenv(Connection::EnvironmentVariable, c.url.toUtf8());
            if (c.chooser == EnvironmentSetByAProgram)
                qputenv(Connection::OriginVariable, "the --database option of zorva-host");
        }
        const QString error = ErrorOf(QStringLiteral("Select * From MRLCRT.FILCHK"));
        for (const QString &m : c.mentions)
            EXPECT_TRUE(error.contains(m)) << c.url.toStdString() << " -> " << error.toStdString();
        for (const QString &a : c.absent)
            EXPECT_FALSE(error.contains(a)) << c.url.toStdString() << " -> " << error.toStdString();
    }
    qunsetenv(Connection::OriginVariable);
}

// Only a court is opened, and only on purpose: a mistyped, empty or foreign file is an error
// that names it, and is left exactly as it was (another program's file keeps its journal mode).
TEST_F(ConnectionTest, OnlyACourtIsOpenedAndOnlyOnPurposeIsOneMade)
{
    if (!TestWorld::OnSQLite())
        GTEST_SKIP() << "SQLite files only";
    enum File { Missing, Empty, Foreign, Junk, Damaged, ExistingCourt };
    using Connection::Access;
    const struct
    {
        const char *name;
        File file;
        Access access;
        const char *statement;
        const char *error; // empty: none
        bool court;        // the file is a court afterwards (else it is as it was, or absent)
    } cases[] = {
        {"typo", Missing, Access::Write, "Select * From MRLCRT.FILCHK", "does not exist", false},
        {"typo, read only", Missing, Access::ReadOnly, "Select * From MRLCRT.FILCHK", "does not exist", false},
        {"typo, made on purpose", Missing, Access::Create, "Select * From MRLCRT.FILCHK", "", true},
        {"zero bytes", Empty, Access::Write, "Select * From MRLCRT.FILCHK", "is empty", false},
        {"zero bytes, read only", Empty, Access::ReadOnly, "Select * From MRLCRT.FILCHK", "is empty", false},
        {"zero bytes, made on purpose", Empty, Access::Create, "Select * From MRLCRT.FILCHK", "", true},
        {"another program's", Foreign, Access::Write, "Select * From MRLCRT.FILCHK", "another program's database",
         false},
        {"another program's, init", Foreign, Access::Create, "Select * From MRLCRT.FILCHK",
         "another program's database", false},
        {"not a database", Junk, Access::Write, "Select * From MRLCRT.FILCHK", "file is not a database", false},
        {"damaged court", Damaged, Access::Write, "Select * From MRLCRT.FILCHK",
         "\" (the --db option): database disk image is malformed", true},
        {"court, read only", ExistingCourt, Access::ReadOnly, "Select * From MRLCRT.FILCHK", "", true},
        {"court, read only, a write", ExistingCourt, Access::ReadOnly,
         "Delete From MRLCRT.FILCHK Where FILYER=2009", "attempt to write a readonly database", true},
    };
    int n = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = world.Path(QStringLiteral("case%1.db").arg(++n));
        const QString url = QStringLiteral("sqlite:") + path;
        switch (c.file) {
        case Missing:
            break;
        case Empty: {
            QFile empty(path);
            ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
            break;
        }
        case Foreign:
            MakeSqliteFile(path, {"CREATE TABLE notes (body TEXT)", "INSERT INTO notes VALUES ('keep me')"});
            break;
        case Junk:
            {
                QFile junk(path);
                ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
                junk.write(QByteArray(8192, 'x'));
            }
            break;
        case Damaged:
        case ExistingCourt: {
            Connection::Use(url, QStringLiteral("the test"), Access::Create);
            EXPECT_EQ(ErrorOf(QStringLiteral("Insert Into MRLCRT.FILCHK (FILYER, FILTYP, FILSEQ, FILOTO) "
                                             "Values(2009,'CV',123,'SMI')")),
                      "");
            Connection::CloseAll();
            if (c.file == Damaged) {
                // The schema page stays readable; every page after it is overwritten.
                QFile damaged(path);
                ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
                const qint64 size = damaged.size();
                damaged.seek(4096);
                damaged.write(QByteArray(size - 4096, '\xA5'));
            }
            break;
        }
        }
        const QByteArray before = Bytes(path);
        const QStringList filesBefore = QDir(world.Path({})).entryList(QDir::Files);

        Connection::Use(url, QStringLiteral("the --db option"), c.access);
        const QString error = ErrorOf(QLatin1String(c.statement));
        Connection::CloseAll();
        if (*c.error == '\0') {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_TRUE(error.contains(QLatin1String(c.error))) << error.toStdString();
            EXPECT_TRUE(error.contains("\"" + url + "\" (the --db option)")) << error.toStdString();
            EXPECT_FALSE(error.contains(QLatin1String("Unable to"))) << error.toStdString();
        }
        if (!c.court || c.access == Access::ReadOnly) {
            EXPECT_EQ(Bytes(path), before) << "the file was changed";
            EXPECT_EQ(QDir(world.Path({})).entryList(QDir::Files), filesBefore) << "a file was made";
        }
        if (c.court && c.file != Damaged) {
            Connection::Use(url, QStringLiteral("the test"), Access::ReadOnly);
            EXPECT_EQ(ErrorOf(QStringLiteral("Select * From MRLCRT.FILLOG")), "");
            Connection::CloseAll();
        }
    }
}

// A settings file that cannot be read is an error naming it, not a quiet switch to this
// user's default court.
TEST_F(ConnectionTest, AnUnreadableSettingsFileIsNamedNotPassedOver)
{
    const QString file = world.Path("settings/Venholt Dedezirive, Ltd/ZORVAAS400Services.ini");
    ASSERT_TRUE(QDir().mkpath(file)); // a folder where the file should be: no program can read it
    Connection::Use({});
    const QString error = ErrorOf(QStringLiteral("Select * From MRLCRT.FILCHK"));
    EXPECT_TRUE(error.contains("The settings file \"" + file + "\" cannot be read")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(Connection::DefaultDatabaseFile()));
}

// A server that accepts the connection and then says nothing: the open gives up with an error
// naming the URL instead of freezing the clerk's window. The listener never accepts; the
// kernel completes the handshake all the same.
TEST_F(ConnectionTest, AServerThatNeverAnswersEndsInAnError)
{
    if (!TestWorld::OnSQLite())
        GTEST_SKIP() << "needs no court server; run once";
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString port = QString::number(silent.serverPort());
    const QString urls[] = {
        "postgresql://clerk@127.0.0.1:" + port + "/court",
        "odbc:DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=" + port + ";DATABASE=court;UID=clerk",
    };
    for (const QString &url : urls) {
        Connection::Use(url, QStringLiteral("the --db option"));
        QElapsedTimer waited;
        waited.start();
        const QString error = ErrorOf(QStringLiteral("Select * From MRLCRT.FILCHK"));
        EXPECT_TRUE(error.contains("\"" + url + "\" (the --db option) cannot be opened")) << error.toStdString();
        EXPECT_LT(waited.elapsed(), 120000) << "reported only after " << waited.elapsed() << " ms";
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
