// The clerk's program killed (SIGKILL) at random points of a docket or batch run with logging on:
// afterwards the court file is sound and every loan change has its log row, and no log row names
// a change that is not there. Each loan statement and its log row are committed together.
#include "TestWorld.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>

namespace {

constexpr int Folders = 40;
constexpr int Tries = 6;

struct Kind
{
    const char *name;
    bool docket;      // a docket check-out (else a batch check-in)
};

class ClerkKilled : public ::testing::TestWithParam<Kind>
{
protected:
    // Starts the clerk, lets it go and kills it after `visits` folders and a random moment more.
    void RunAndKill(const QStringList &arguments, int visits)
    {
        QProcess clerk;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", world.Path("clerk-settings"));
        clerk.setProcessEnvironment(env);
        clerk.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        clerk.start(ZORVA_TEST_CLERK, QStringList{"--database", world.DatabaseUrl(), "CLERK1"} + arguments);
        ASSERT_TRUE(clerk.waitForStarted());
        QString output;
        const auto waitFor = [&](const QString &what, int times) {
            const QDeadlineTimer deadline(60000);
            while (output.count(what) < times && clerk.state() == QProcess::Running && !deadline.hasExpired()) {
                clerk.waitForReadyRead(50);
                output += QString::fromUtf8(clerk.readAllStandardOutput());
            }
        };
        waitFor("READY\n", 1);
        clerk.write("GO\n");
        clerk.waitForBytesWritten(1000);
        waitFor("VISIT", visits);
        QThread::usleep(QRandomGenerator::global()->bounded(3000));
        clerk.kill();
        clerk.waitForFinished();
    }

    TestWorld world;
};

TEST_P(ClerkKilled, EveryChangeKeepsItsLogRow)
{
    const bool docket = GetParam().docket;
    for (int seq = 1; seq <= Folders; ++seq) {
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (2010,'CF',%1,'SMI','1',20261207,%2)")
                       .arg(seq)
                       .arg(800 + seq));
        // A docket lends some folders anew (an update) and the rest for the first time (an insert).
        if (!docket || seq % 2 == 0)
            world.Lend(2010, "CF", seq, "EARLIER");
    }
    QStringList cases;
    for (int seq = 1; seq <= Folders; ++seq)
        cases << QStringLiteral("2010-CF-%1=EARLIER").arg(seq);

    for (int attempt = 0; attempt < Tries; ++attempt) {
        const int visits = 1 + QRandomGenerator::global()->bounded(Folders / Tries);
        RunAndKill(docket ? QStringList{"docket", "2026-12-07"} : QStringList{"batch", "IN", "-"} + cases, visits);
        if (HasFatalFailure())
            return;
    }

    if (TestWorld::OnSQLite()) {
        EXPECT_EQ(world.Scalar("PRAGMA MRLCRT.integrity_check").toString(), "ok");
    }
    // What the runs changed, from the loans: a docket's folders now with the judge, a batch's gone.
    QStringList changed, logged;
    for (const QVariantList &r : world.Rows("SELECT FILSEQ, FILOTO FROM MRLCRT.FILCHK")) {
        if (docket && r[1].toString() == "SMI")
            changed << r[0].toString();
    }
    if (!docket) {
        QSet<int> left;
        for (const QVariantList &r : world.Rows("SELECT FILSEQ FROM MRLCRT.FILCHK"))
            left << r[0].toInt();
        for (int seq = 1; seq <= Folders; ++seq) {
            if (!left.contains(seq))
                changed << QString::number(seq);
        }
    }
    for (const QVariantList &r :
         world.Rows(QStringLiteral("SELECT DISTINCT LOGSEQ FROM MRLCRT.FILLOG WHERE LOGOUT=%1").arg(docket ? 1 : 0)))
        logged << r[0].toString();
    changed.sort();
    logged.sort();
    EXPECT_FALSE(changed.isEmpty()) << "the clerk was killed before it changed anything";
    EXPECT_EQ(changed, logged);
}

INSTANTIATE_TEST_SUITE_P(Runs, ClerkKilled,
                         ::testing::Values(Kind{"DocketOut", true}, Kind{"BatchIn", false}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
