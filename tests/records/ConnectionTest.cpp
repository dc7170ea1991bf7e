#include "TestWorld.h"
#include "records/Connection.h"
#include "records/DataObject.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTcpServer>
#include <gtest/gtest.h>

namespace {

QString ErrorOf(const QString &statement)
{
    DataObject data;
    QString error;
    QObject::connect(&data, &DataObject::Error, [&](qint32, const QString &d) { error = d; });
    data.Execute(statement);
    return error;
}

QSettings Store()
{
    return {QSettings::IniFormat, QSettings::UserScope, QLatin1String(Connection::SettingsOrganization),
            QLatin1String(Connection::SettingsApplication)};
}

TEST(Connection, TheProgramThenTheEnvironmentThenTheSettingThenTheDefault)
{
    TestWorld world;
    qunsetenv(Connection::EnvironmentVariable);
    Connection::Use({});
    EXPECT_EQ(Connection::Current().url, "sqlite:" + Connection::DefaultDatabaseFile());
    Store().setValue(QLatin1String(Connection::SettingsKey), "sqlite:/from/setting.db");
    EXPECT_EQ(Connection::Current().url, "sqlite:/from/setting.db");
    EXPECT_EQ(Connection::Current().origin, "the setting Connection/Database in " + Store().fileName());
    qputenv(Connection::EnvironmentVariable, "sqlite:/from/environment.db");
    EXPECT_EQ(Connection::Current().url, "sqlite:/from/environment.db");
    EXPECT_EQ(Connection::Current().origin, "the environment variable ZORVA_DATABASE");
    qputenv(Connection::OriginVariable, "the --database option of zorva-host"); // a host passes it on
    EXPECT_EQ(Connection::Current().origin, "the --database option of zorva-host");
    qunsetenv(Connection::OriginVariable);
    Connection::Use(QStringLiteral("sqlite:/from/program.db"), QStringLiteral("the --db option"));
    EXPECT_EQ(Connection::Current().url, "sqlite:/from/program.db");
    EXPECT_EQ(Connection::Current().origin, "the --db option");
    // A settings file that cannot be read is named, not passed over for this user's default court.
    Connection::Use({});
    qunsetenv(Connection::EnvironmentVariable);
    ASSERT_TRUE(QFile::remove(Store().fileName()) && QDir().mkpath(Store().fileName()));
    EXPECT_TRUE(ErrorOf("Select * From MRLCRT.FILCHK").contains("The settings file \"" + Store().fileName() + "\" cannot be read"));
    EXPECT_FALSE(QFile::exists(Connection::DefaultDatabaseFile()));
    // Readable again: this user's default court is made on first use, its folder too.
    ASSERT_TRUE(QDir(Store().fileName()).removeRecursively());
    EXPECT_EQ(ErrorOf("Select * From MRLCRT.FILCHK"), "");
    EXPECT_TRUE(QFile::exists(Connection::DefaultDatabaseFile()));
}

// A court that cannot be opened is an error naming the URL and who chose it, in the engine's
// words, not Qt's; a file that holds no court is left as it was (another program's file keeps
// its journal mode), and only a court made on purpose is made.
TEST(Connection, AWrongCourtIsNamedAndLeftAsItWas)
{
    TestWorld world;
    if (!TestWorld::OnSQLite())
        GTEST_SKIP() << "the URLs are the test's own: once is enough";
    QTcpServer silent; // accepts (the kernel does) and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    const QString file = world.Path("courts/court.db"), port = QString::number(silent.serverPort());
    using Connection::Access;
    // file: what is there ("" nothing, "empty", "foreign": another program's, "court"); error: ""
    // for none; untouched: the file and its folder stay as they were.
    const struct { QString url; Access access; const char *file; const char *error; bool untouched; } cases[] = {
        {"mysql://court/db", Access::Write, "", "has an unknown scheme; use sqlite:", true},
        {"sqlite:" + file, Access::Write, "", "does not exist (\"zorva-db init\" makes a new court)", true},
        {"sqlite:" + file, Access::Create, "", "", false},
        {"sqlite:", Access::Write, "", "the URL names no file", true},
        {"sqlite:" + world.Path("courts/gone/court.db"), Access::Create, "", "cannot be created, its folder does not exist", true},
        {"sqlite:" + world.Path("courts"), Access::Write, "", "is a folder, not a court file", true},
        {"sqlite:" + file, Access::Write, "empty", "is empty, it holds no court", true},
        {"sqlite:" + file, Access::Write, "foreign", "it is another program's database", true},
        {"sqlite:" + file, Access::Create, "foreign", "it is another program's database", true},
        {"sqlite:" + file, Access::ReadOnly, "court", "attempt to write a readonly database", true},
        {"postgresql://nobody@127.0.0.1:1/court", Access::Write, "", "cannot be opened: ", true},
        {"postgresql://nobody@127.0.0.1:1/court?connect_timeout=x", Access::Write, "", "for connection option \"connect_timeout\"", true}, // the URL's wins
        {"postgresql:///court", Access::Write, "", "it is not a valid postgresql://", true},
        {"postgresql://clerk@127.0.0.1:" + port + "/court", Access::Write, "", "cannot be opened: ", true},
        {"odbc:DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=" + port + ";DATABASE=court;UID=clerk", Access::Write, "",
         "cannot be opened: ", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.url.toStdString() + " " + c.file);
        QDir(world.Path("courts")).removeRecursively();
        QDir().mkpath(world.Path("courts"));
        const QString kind = QLatin1String(c.file);
        if (kind == "empty")
            QFile(file).open(QIODevice::WriteOnly);
        else if (kind == "foreign") { // written without the layer under test
            Connection::Use("sqlite:" + file, QStringLiteral("the test"), Access::Create);
            ASSERT_EQ(ErrorOf("ATTACH DATABASE '" + world.Path("courts/notes.db") + "' AS notes"), "");
            ASSERT_EQ(ErrorOf("CREATE TABLE notes.notes (body TEXT)"), "");
            Connection::CloseAll();
            ASSERT_TRUE(QFile::remove(file) && QFile::rename(world.Path("courts/notes.db"), file));
        } else if (kind == "court") {
            Connection::Use("sqlite:" + file, QStringLiteral("the test"), Access::Create);
            ASSERT_EQ(ErrorOf("Insert Into MRLCRT.FILCHK (FILYER, FILTYP, FILSEQ) Values(2009,'CV',1)"), "");
            Connection::CloseAll();
        }
        const auto now = [&] { // the folder's files and the court file's bytes
            QFile f(file);
            return QDir(world.Path("courts")).entryList(QDir::Files).join(' ').toUtf8() + '\n' +
                   (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
        };
        const QByteArray before = now();

        Connection::Use(c.url, QStringLiteral("the --db option"), c.access);
        const QString error = ErrorOf("Delete From MRLCRT.FILCHK Where FILYER=1");
        Connection::CloseAll();
        if (*c.error) {
            EXPECT_TRUE(error.contains("\"" + c.url + "\" (the --db option)") && error.contains(c.error) &&
                        !error.contains("Unable to")) << error.toStdString();
        } else {
            EXPECT_EQ(error, "");
        }
        if (c.untouched) {
            EXPECT_EQ(now(), before) << "a file was made or changed";
        }
    }
}

} // namespace
