// The faults a court's machine meets, made for real and met by a clerk's run with logging on:
// the clerk is told what went wrong (the Data Error text), the run stops where its rules say,
// what was written before the fault stands with its log row, and once the fault is gone the next
// run in the same program works and the court file is sound. (A wrong or unanswering court URL:
// the connection table in tests/records.)
#include "Court.h"
#include "ModalAnswerer.h"
#include "StatementHook.h"
#include "records/Connection.h"
#include "records/Schema.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

constexpr int Folders = 6;
enum class On { All, SQLite, Server };

struct Row
{
    const char *name;
    On on;
    const char *run;    // nothing is on loan before an "out" run, everything before an "in" run
    const char *strike; // "lock", "read-only", "disk full", or statements of another connection
    int before;         // it strikes right before the run takes its n-th folder; 0: before the run
    const char *error;  // a pattern of the one Data Error text ("" for none)
    int count;          // what the run counted; all but the unlogged stand with their log rows
    int unlogged = 0;   // changes that stand without a log row, told in one Folder Log box
    const char *at = "BEGIN"; // the statement the strike comes before: the run taking a folder
};

const Row Rows[] = {
    {"another clerk's lock held past the wait", On::All, "docket out", "lock", 3, "database is locked|lock timeout", 2},
    {"the court file mounted read-only before the program starts", On::SQLite, "batch out", "read-only", 0,
     "attempt to write a readonly database", 0},
    {"the loan table missing", On::All, "docket out", "DROP TABLE MRLCRT.FILCHK", 0,
     "no such table: MRLCRT\\.FILCHK|relation \"mrlcrt\\.filchk\" does not exist", 0},
    {"the disk holding the court file full", On::SQLite, "docket out", "disk full", 3, "database or disk is full", 2},
    {"the server ends the session mid-run, as a restart does", On::Server, "batch in",
     "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid()",
     3, "server closed the connection|terminating connection|connection has been lost", 2},
    {"the log table lost as the run writes: the loans stand, told once", On::All, "docket out",
     "DROP TABLE MRLCRT.FILLOG", 1, "", 6, 6},
    // A folder the run holds is held against this component's clerks only: another program may
    // still write between the run's read and its insert on a server (on a file it must wait).
    {"another program lends (and logs) every folder between the read and the insert", On::Server, "docket out",
     "INSERT INTO MRLCRT.FILCHK SELECT HRGYER, HRGTYP, HRGSEQ, 'OTHER', 1052026, 'OTHER' FROM MRLCRT.HRGDTA; "
     "INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) SELECT '2026-12-07T09:00:00.000Z', HRGYER, HRGTYP, HRGSEQ, 1, 'OTHER', 'OTHER', 1 "
     "FROM MRLCRT.HRGDTA", 1, "UNIQUE constraint failed|duplicate key value violates unique constraint", 0, 0,
     "Insert Into MRLCRT.FILCHK"},
};

void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

class Faults : public ::testing::TestWithParam<Row>
{
protected:
    void SetUp() override
    {
        if (GetParam().on != On::All && (GetParam().on == On::SQLite) != TestWorld::OnSQLite())
            GTEST_SKIP() << "not a fault of this backend";
        Court::Hearings(world, Folders);
        for (int seq = 1; In() && seq <= Folders; ++seq)
            world.Lend(2010, "CF", seq, "EARLIER");
        before = Court::Loans(world);
        if (Is("read-only") || Is("disk full")) {
            // Mounts from here on are this test's own and go with it, however it ends.
            Connection::CloseAll(); // the clerk's program starts after the mount
            if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0 ||
                ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
                GTEST_SKIP() << "this machine does not allow mounts";
        }
        const QByteArray file = QFile::encodeName(world.DatabaseFile()), disk = QFile::encodeName(world.Path("disk"));
        if (Is("read-only")) { // even root cannot write through it, while it reads as before
            ASSERT_EQ(::mount(file.constData(), file.constData(), nullptr, MS_BIND, nullptr), 0) << std::strerror(errno);
            ASSERT_EQ(::mount(nullptr, file.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0)
                << std::strerror(errno);
        } else if (Is("disk full")) { // the court file moves onto a small disk; its old path leads there
            QDir().mkpath(world.Path("disk"));
            ASSERT_EQ(::mount("tmpfs", disk.constData(), "tmpfs", 0, "size=2m"), 0) << std::strerror(errno);
            ASSERT_TRUE(QFile::copy(world.DatabaseFile(), world.Path("disk/court.db")) && QFile::remove(world.DatabaseFile()));
            ASSERT_TRUE(QFile::link(world.Path("disk/court.db"), world.DatabaseFile()));
        }
    }
    void TearDown() override
    {
        lock.reset();
        Connection::CloseAll(); // nothing may hold a file when its mount goes
        for (const QString &point : {world.DatabaseFile(), world.Path("disk")})
            ::umount2(QFile::encodeName(point).constData(), MNT_DETACH);
    }
    bool Is(const char *strike) const { return qstrcmp(GetParam().strike, strike) == 0; }
    bool In() const { return QLatin1String(GetParam().run).endsWith(QLatin1String("in")); }

    void Strike()
    {
        struck = true;
        if (Is("lock")) {
            lock.emplace(world);
        } else if (Is("disk full")) {
            QFile filler(world.Path("disk/filler"));
            ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            for (const qint64 chunk : {qint64(64 * 1024), qint64(4096), qint64(1)})
                while (filler.write(QByteArray(chunk, 'x')) == chunk) {
                }
        } else if (!Is("read-only")) { // that one is mounted before the program starts
            for (const QString &statement : QString::fromLatin1(GetParam().strike).split(QStringLiteral("; ")))
                world.Exec(statement);
        }
    }

    // The same program goes on: a session the fault left lost must be opened anew by itself.
    void Heal()
    {
        lock.reset();
        if (Is("read-only"))
            ::umount2(QFile::encodeName(world.DatabaseFile()).constData(), MNT_DETACH);
        QFile::remove(world.Path("disk/filler"));
        QString error; // as zorva-db init puts a lost table back
        QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
        ASSERT_TRUE(db.isValid() && Schema::Create(db, &error)) << error.toStdString();
    }

    TestWorld world;
    QMap<QString, QString> before;
    std::optional<TestWorld::WriteLock> lock;
    bool struck = false;
};

TEST_P(Faults, TheClerkIsToldWhatWasWrittenStandsAndTheNextRunWorks)
{
    const Row &row = GetParam();
    Court::Outcome failed;
    {
        ModalAnswerer answerer(row.unlogged ? QStringList{QStringLiteral("OK")} : QStringList{});
        std::optional<StatementHook> hook;
        if (row.before == 0)
            Strike();
        else
            hook.emplace(row.at, row.before, [this] { Strike(); });
        failed = Court::Run(QStringLiteral("CLERK1"), QLatin1String(row.run), Folders);
        ASSERT_TRUE(struck);
        const QString told = QStringLiteral("Folder Log: %1 folder status change(s) could not be logged:").arg(row.unlogged);
        EXPECT_EQ(answerer.Lines().replaceInStrings(QRegularExpression("\n.*"), ""),
                  row.unlogged ? QStringList{told} : QStringList());
    }
    EXPECT_EQ(failed.errors.size(), *row.error ? 1 : 0) << failed.errors.join(QStringLiteral(" | ")).toStdString();
    for (const QString &error : failed.errors)
        EXPECT_TRUE(error.contains(QRegularExpression(QLatin1String(row.error)))) << error.toStdString();
    EXPECT_EQ(failed.count, row.count);

    Heal();
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILLOG WHERE LOGUSR='CLERK1'").toInt(), row.count - row.unlogged);
    EXPECT_EQ(Court::Unexplained(world, before).size(), row.unlogged) << Court::Unexplained(world, before).join('\n').toStdString();

    ModalAnswerer answerer;
    const Court::Outcome next = Court::Run(QStringLiteral("CLERK1"), QLatin1String(row.run), Folders);
    EXPECT_EQ(next.errors, QStringList());
    EXPECT_EQ(Court::Loans(world).size(), In() ? 0 : Folders);
    EXPECT_EQ(Court::Unexplained(world, before), QStringList());
    EXPECT_EQ(Court::Integrity(world), "ok");
}

INSTANTIATE_TEST_SUITE_P(Each, Faults, ::testing::ValuesIn(Rows), [](const auto &info) {
    return QString::fromLatin1(info.param.name).replace(QRegularExpression("[^A-Za-z0-9]+"), "_").toStdString();
});

} // namespace
