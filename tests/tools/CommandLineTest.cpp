#include "ZorvaDb.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TEST(ZorvaDbCommandLine, HelpListsEveryCommand)
{
    TestWorld world;
    ZorvaDb zorva(world);
    for (const char *flag : {"--help", "-h"}) {
        const ZorvaDb::Result r = zorva.Run({QLatin1String(flag)});
        EXPECT_EQ(r.exitCode, 0) << r;
        EXPECT_TRUE(r.err.isEmpty()) << r;
        for (const char *command :
             {"init URL", "seed-demo URL", "generate URL", "status CASE", "history CASE", "where CASE", "holder NAME",
              "pull-list --date", "overdue [--days N]"})
            EXPECT_TRUE(r.out.contains(QLatin1String(command))) << flag << " lacks " << command;
    }
}

// Each mistake ends the program with a non-zero code and a message that names it, before
// anything is written. %DB% is the test's court, %NOWHERE% a file in a folder that does not
// exist, %JUNK% a file that is no database.
TEST(ZorvaDbCommandLine, RefusesBadInputWithAMessage)
{
    TestWorld world;
    ZorvaDb zorva(world);
    const QString junk = world.Path(QStringLiteral("junk.db"));
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a court database, only some text long enough to be read as a header\n");
    file.close();
    const QString empty = world.Path(QStringLiteral("empty.db"));
    ASSERT_TRUE(QFile(empty).open(QIODevice::WriteOnly));

    const struct
    {
        QStringList args;
        int exitCode;
        const char *message;
    } cases[] = {
        {{}, 2, "no command given"},
        {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
        {{"--verbose"}, 2, "verbose"},
        {{"status"}, 2, "status needs one case number"},
        {{"status", "2009", "CV"}, 2, "status needs one case number"},
        {{"history", "2009-CV-1", "2010-CV-2"}, 2, "history needs one case number"},
        {{"status", "09-CV-123", "--db", "%DB%"}, 2, "\"09-CV-123\" is not a case number"},
        {{"history", "2009-CVX-1", "--db", "%DB%"}, 2, "\"2009-CVX-1\" is not a case number"},
        {{"status", "2009-CV-0", "--db", "%DB%"}, 2, "\"2009-CV-0\" is not a case number"},
        {{"status", "2009-CV-123", "--date", "2026-01-05"}, 2, "status does not take --date"},
        {{"status", "2009-CV-123", "--csv"}, 2, "status does not take --csv"},
        {{"where", "2009-CV", "--db", "%DB%"}, 2, "\"2009-CV\" is not a case number"},
        {{"holder", "--db", "%DB%"}, 2, "holder needs the party's name"},
        {{"overdue", "--days", "-1", "--db", "%DB%"}, 2, "--days \"-1\" is not a number of days"},
        {{"overdue", "--judge", "SMI"}, 2, "overdue does not take --judge"},
        {{"pull-list", "--db", "%DB%"}, 2, "pull-list needs --date yyyy-MM-dd"},
        {{"pull-list", "--date", "2026-12-07", "--begin", "830", "--db", "%DB%"}, 2, "Begin and end times must be both"},
        {{"pull-list", "--date", "2026-12-07", "--begin", "800", "--end", "701"}, 2, "Invalid time."},
        {{"pull-list", "--date", "2026-12-07", "--hearings", "5"}, 2, "pull-list does not take --hearings"},
        {{"init"}, 2, "init needs exactly one database URL"},
        {{"seed-demo", "%DB%", "%DB%"}, 2, "seed-demo needs exactly one database URL"},
        {{"init", "%DB%", "--db", "%DB%"}, 2, "init does not take --db"},
        {{"generate", "%DB%", "--hearings", "5"}, 2, "generate needs --date"},
        {{"generate", "%DB%", "--date", "2026-02-30", "--hearings", "5"},
         2,
         "--date \"2026-02-30\" is not a date"},
        {{"generate", "%DB%", "--date", "01/05/2026", "--hearings", "5"},
         2,
         "--date \"01/05/2026\" is not a date"},
        {{"generate", "%DB%", "--date", "2026-01-05", "--hearings", "0"},
         2,
         "--hearings \"0\" is not a number"},
        {{"generate", "%DB%", "--date", "2026-01-05", "--hearings", "-3"},
         2,
         "--hearings \"-3\" is not a number"},
        {{"generate", "%DB%", "--date", "2026-01-05", "--hearings", "ten"},
         2,
         "--hearings \"ten\" is not a number"},
        {{"generate", "%DB%", "--date", "2026-01-05", "--hearings", "500001"}, 2, "from 1 to 500000"},
        {{"init", "sqlite:%NOWHERE%"}, 1, "folder does not exist"},
        {{"seed-demo", "sqlite:%NOWHERE%"}, 1, "court.db\" does not exist"},
        {{"status", "2009-CV-123", "--db", "sqlite:%NOWHERE%"}, 1, "court.db\" does not exist"},
        // A mistyped or empty court file is named, never made into a new court; nor is this
        // user's own court made by a command that only reads.
        {{"status", "2009-CV-123", "--db", "sqlite:%TYPO%"}, 1, "cuort.db\" does not exist"},
        {{"history", "2009-CV-123", "--db", "sqlite:%TYPO%"}, 1, "(the --db option) cannot be opened"},
        {{"seed-demo", "sqlite:%TYPO%"}, 1, "(the URL given to zorva-db seed-demo)"},
        {{"generate", "sqlite:%TYPO%", "--date", "2026-01-05", "--hearings", "5"}, 1, "cuort.db\" does not exist"},
        {{"status", "2009-CV-123", "--db", "sqlite:%EMPTY%"}, 1, "empty.db\" is empty"},
        {{"seed-demo", "sqlite:%EMPTY%"}, 1, "empty.db\" is empty"},
        {{"status", "2009-CV-123"}, 1, "(the default database of this user) cannot be opened"},
        {{"init", "%DB%", "--force"}, 2, "init does not take --force"},
        {{"history", "2009-CV-123", "--db", "sqlite:%JUNK%"}, 1, "not a database"},
        {{"generate", "sqlite:%JUNK%", "--date", "2026-01-05", "--hearings", "5"}, 1, "not a database"},
        {{"status", "2009-CV-123", "--db", "mysql://court"}, 1, "unknown scheme"},
    };
    for (const auto &c : cases) {
        QStringList args = c.args;
        for (QString &arg : args) {
            arg.replace(QStringLiteral("%DB%"), world.DatabaseUrl());
            arg.replace(QStringLiteral("%NOWHERE%"), world.Path(QStringLiteral("missing/court.db")));
            arg.replace(QStringLiteral("%JUNK%"), junk);
            arg.replace(QStringLiteral("%TYPO%"), world.Path(QStringLiteral("cuort.db")));
            arg.replace(QStringLiteral("%EMPTY%"), empty);
        }
        const ZorvaDb::Result r = zorva.Run(args);
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        EXPECT_EQ(r.exitCode, c.exitCode) << r;
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("zorva-db: "))) << r;
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r;
        EXPECT_TRUE(r.out.isEmpty()) << r;
    }
    EXPECT_EQ(world.Scalar(QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA")).toInt(), 0);
    EXPECT_FALSE(QFile::exists(world.Path(QStringLiteral("missing"))));
    EXPECT_FALSE(QFile::exists(world.Path(QStringLiteral("cuort.db"))));
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    EXPECT_FALSE(QFile::exists(world.Path(QStringLiteral("child/XDG_DATA_HOME/Venholt Dedezirive, Ltd/court.db"))));
}

} // namespace
