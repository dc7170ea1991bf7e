#include "ZorvaDb.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// Each command line a program refuses: its exit code (2 a usage mistake, 1 a court that cannot be
// read) and what it says, with nothing written and no court file made. %DB% is the test's court,
// %TYPO% a file that does not exist, %EMPTY% an empty file, %JUNK% a file that is no database.
TEST(CommandLine, RefusedWithAMessageAndNothingWritten)
{
    TestWorld world;
    ZorvaDb zorva(world);
    const QString junk = world.Path(QStringLiteral("junk.db")), empty = world.Path(QStringLiteral("empty.db"));
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && QFile(empty).open(QIODevice::WriteOnly));
    file.write("this is not a court database, only some text long enough to be read as a header\n");
    file.close();
    const QString dated = QStringLiteral("--date=2026-01-05");
    const struct { const char *program; QStringList args; int exitCode; const char *message; } cases[] = {
        {"db", {}, 2, "no command given"},
        {"db", {"history", "2009-CVX-1", "--db", "%DB%"}, 2, "\"2009-CVX-1\" is not a case number"},
        {"db", {"status", "2009-CV-123", "--date", "2026-01-05"}, 2, "status does not take --date"},
        {"db", {"overdue", "--judge", "SMI"}, 2, "overdue does not take --judge"},
        {"db", {"status", "2009-CV-123", "--db", "%DB%", "--db", "%DB%"}, 2, "--db given more than once"},
        {"db", {"history", "2009-CV-123", "--db", " "}, 2, "--db is empty"},
        {"db", {"where", "2009-CV-123", "--db", "%DB%", "--db=%DB%"}, 2, "--db given more than once"},
        {"db", {"generate", "%DB%", dated, "--hearings", ""}, 2, "--hearings is empty"},
        {"db", {"where", "2009-CV-123", "--csv", "--db", "%DB%", "--csv"}, 2, "--csv given more than once"},
        {"db", {"pull-list", dated, "--force", "--db", "%DB%"}, 2, "pull-list does not take --force"},
        {"db", {"status", "2009-CV-123", "--all", "--db", "%DB%"}, 2, "status does not take --all"},
        {"db", {"holder", "SMI", "--all", "--db", "%DB%"}, 2, "holder does not take --all"},
        {"db", {"history", "2009-CV-123", "--all", "--db", "%DB%", "--all"}, 2, "--all given more than once"},
        {"db", {"pull-list", dated, "--hearings", "5", "--db", "%DB%"}, 2, "pull-list does not take --hearings"},
        {"db", {"pull-list", dated, "--branch", "abc", "--db", "%DB%"}, 2, "--branch \"ABC\" is not a branch code of one character"},
        {"db", {"holder", "SMI", "--db", "sqlite:/dev/zero"}, 1, "\"/dev/zero\" is a device or other special file"},
        {"db", {"init", ""}, 2, "an argument is empty"},
        {"db", {"status", "2009-CV-123", "--db", "sqlite:%TYPO%"}, 1, "cuort.db\" does not exist"},
        {"db", {"seed-demo", "sqlite:%TYPO%"}, 1, "(the URL given to zorva-db seed-demo)"},
        {"db", {"generate", "sqlite:%TYPO%", dated, "--hearings", "5"}, 1, "cuort.db\" does not exist"},
        {"db", {"audit", "--db", "sqlite:%TYPO%"}, 1, "cuort.db\" does not exist"},
        {"db", {"status", "2009-CV-123", "--since", "2026-01-01"}, 2, "status does not take --since"},
        {"db", {"grant", "owner", "clerk1", "--db", "%DB%"}, 2, "grant needs reader or clerk"},
        {"db", {"grant", "reader", "clerk1", "--db", "%DB%"}, 1, "roles are given on PostgreSQL courts only"},
        {"db", {"status", "2009-CV-123", "--db", "sqlite:%EMPTY%"}, 1, "empty.db\" is empty"},
        {"db", {"status", "2009-CV-123"}, 1, "(the default database of this user) cannot be opened"},
        {"db", {"generate", "sqlite:%JUNK%", dated, "--hearings", "5"}, 1, "not a database"},
        {"host", {"--database", "sqlite:/a.db", "--database=sqlite:/b.db"}, 2, "--database given more than once"},
        {"host", {"--database", ""}, 2, "\"\" is not a court database URL"},
        {"host", {"--program-files", " "}, 2, "--program-files: the folder is empty"},
        {"host", {"--edit", "20-CV-123"}, 2, "--edit: \"20-CV-123\" is not a case number"},
        {"host", {"2009-CV-123"}, 2, "Unexpected argument: 2009-CV-123"},
    };
    for (const auto &c : cases) {
        QStringList args = c.args;
        for (QString &arg : args) {
            arg.replace(QStringLiteral("%DB%"), world.DatabaseUrl());
            arg.replace(QStringLiteral("%JUNK%"), junk);
            arg.replace(QStringLiteral("%TYPO%"), world.Path(QStringLiteral("cuort.db")));
            arg.replace(QStringLiteral("%EMPTY%"), empty);
        }
        const QString program = QStringLiteral("zorva-") + QLatin1String(c.program);
        const ZorvaDb::Result r = zorva.Run(args, {}, program == "zorva-db" ? ZORVA_DB_PATH : ZORVA_HOST_PATH);
        SCOPED_TRACE((program + ' ' + c.args.join(QLatin1Char(' '))).toStdString());
        EXPECT_EQ(r.exitCode, c.exitCode) << r;
        EXPECT_TRUE(r.err.startsWith(program + ": ")) << r;
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r;
        EXPECT_TRUE(r.out.isEmpty()) << r;
    }
    EXPECT_EQ(world.Scalar(QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA")).toInt(), 0) << "generate wrote";
    EXPECT_FALSE(QFile::exists(world.Path(QStringLiteral("cuort.db"))));
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    EXPECT_FALSE(QFile::exists(world.Path(QStringLiteral("child/XDG_DATA_HOME/Venholt Dedezirive, Ltd/court.db"))));
}

} // namespace
