// Clerks in processes of their own over the same folders at once, or one killed (SIGKILL) at
// random points of its runs: whatever the interleaving, a clerk meets at most another's conflict
// (told, and its run stops), the court file is sound, and the changed folders are exactly the
// logged ones, as each loan statement and its log row are committed together.
#include "Court.h"
#include "ForkedClerk.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr int Folders = 30;

struct Scenario
{
    const char *name;
    QStringList runs; // one clerk each, CLERK1, CLERK2, ...
    int lentBefore;   // every n-th folder on loan to EARLIER before (0: none)
    bool killed;      // each clerk killed mid-run, six times over
};

const Scenario Scenarios[] = {
    {"two dockets lend the same folders", {"docket out", "docket out"}, 2, false},
    {"a docket lends what a batch brings back", {"docket out", "batch in"}, 1, false},
    {"two batches lend the same folders", {"batch out", "batch out"}, 0, false},
    {"a batch lends what another brings back", {"batch out", "batch in"}, 2, false},
    {"a docket killed as it lends anew and afresh", {"docket out"}, 2, true},
    {"a batch killed as it brings folders back", {"batch in"}, 1, true},
};

void PrintTo(const Scenario &s, std::ostream *os) { *os << s.name; }

// The only errors a clerk may meet when another writes the same folder at the same moment.
const QRegularExpression Conflict(QStringLiteral(
    "UNIQUE constraint failed|duplicate key value violates unique constraint|database is locked|lock timeout"));

class Clerks : public ::testing::TestWithParam<Scenario>
{
};

TEST_P(Clerks, TheChangedFoldersAreExactlyTheLoggedOnes)
{
    const Scenario &s = GetParam();
    TestWorld world;
    Court::Hearings(world, Folders);
    for (int seq = 1; s.lentBefore && seq <= Folders; seq += s.lentBefore)
        world.Lend(2010, "CF", seq, "EARLIER");
    const QMap<QString, QString> before = Court::Loans(world);

    for (int round = 0; round < (s.killed ? 6 : 1); ++round) {
        std::vector<std::unique_ptr<ForkedClerk>> clerks;
        for (qsizetype i = 0; i < s.runs.size(); ++i)
            clerks.push_back(std::make_unique<ForkedClerk>([&s, i](const std::function<void()> &visited) {
                for (const QString &error : Court::Run(QStringLiteral("CLERK%1").arg(i + 1), s.runs[i], Folders, visited).errors)
                    if (!error.contains(Conflict)) {
                        qWarning("%s", qPrintable(error));
                        return 1;
                    }
                return 0;
            }));
        for (auto &clerk : clerks) {
            if (!s.killed) {
                EXPECT_EQ(clerk->Wait(), 0) << "a clerk met an error that is no conflict, or hung";
                continue;
            }
            ASSERT_TRUE(clerk->WaitForVisits(1 + QRandomGenerator::global()->bounded(Folders / 6)));
            QThread::usleep(QRandomGenerator::global()->bounded(3000));
            clerk->Kill();
        }
    }
    EXPECT_EQ(Court::Integrity(world), "ok");
    EXPECT_GT(world.Scalar(QStringLiteral("SELECT count(*) FROM MRLCRT.FILLOG")).toInt(), 0) << "nothing was changed";
    EXPECT_EQ(Court::Unexplained(world, before), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Each, Clerks, ::testing::ValuesIn(Scenarios), [](const auto &info) {
    return QString::fromLatin1(info.param.name).replace(' ', '_').toStdString();
});

} // namespace
