#include "ZorvaDb.h"

#include "records/Connection.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// The court folder as bytes: every file in it (a -wal or -journal left behind counts) and its digest.
QStringList Snapshot(const QString &folder)
{
    QStringList files;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
        QFile f(file.absoluteFilePath());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        files << file.fileName() + ' ' + QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex();
    }
    return files;
}

// Every command that only reads leaves a court file in another journal mode byte for byte as it
// was; without any court named it says so and makes none (the user's default court included).
TEST(ZorvaDbReadOnly, ReadCommandsLeaveTheCourtAsItWas)
{
    if (!TestWorld::OnSQLite())
        GTEST_SKIP() << "the bytes of a court file";
    TestWorld world;
    ZorvaDb zorva(world);
    for (const char *values : {"FILCHK VALUES (2009,'CV',123,'SMI',1052026,'CLERK1')",
                               "FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-01-05T17:30:00.000Z',2009,'CV',123,1,'CLERK1','SMI',1)",
                               "HRGDTA VALUES (2009,'CV',123,'JON','2',20261207,900)",
                               "MASCRM VALUES (2009,'CV',123,'PL',1,'N','STATE','')"})
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.") + QLatin1String(values));
    Connection::CloseAll();
    world.Exec(QStringLiteral("PRAGMA MRLCRT.journal_mode=DELETE"));
    const QStringList before = Snapshot(world.Path({}));
    ASSERT_EQ(before.size(), 1) << before.join('\n').toStdString();

    const QStringList commands[] = {{"status", "2009-CV-123"}, {"history", "2009-CV-123"}, {"where", "2009-CV-123"},
                                    {"where", "2009-CV-123", "--csv"}, {"holder", "SMI"}, {"pull-list", "--date", "2026-12-07"},
                                    {"overdue", "--days", "0", "--csv"}};
    const QString defaultCourt = world.Path(QStringLiteral("child/XDG_DATA_HOME/Venholt Dedezirive, Ltd/court.db"));
    for (const QStringList &command : commands) {
        SCOPED_TRACE(command.join(' ').toStdString());
        const ZorvaDb::Result read = zorva.Run(QStringList(command) << "--db" << world.DatabaseUrl());
        EXPECT_EQ(read.exitCode, 0) << read;
        EXPECT_FALSE(read.out.isEmpty()) << read;
        EXPECT_EQ(Snapshot(world.Path({})), before);
        const ZorvaDb::Result none = zorva.Run(command);
        EXPECT_EQ(none.exitCode, 1) << none;
        EXPECT_TRUE(none.err.contains("(the default database of this user) cannot be opened")) << none;
        EXPECT_TRUE(none.err.contains("does not exist")) << none;
        EXPECT_TRUE(none.out.isEmpty()) << none;
        EXPECT_FALSE(QFile::exists(defaultCourt));
    }
}

} // namespace
