// A docket run over 10,000 hearings on a SQLite file: the component's run against the identical
// statement sequence sent through the raw sqlite3 C API, for check-out and check-in, with and
// without a branch code, and with both sides at synchronous=OFF. Then check-out on dockets of
// 1,000, 10,000 and 100,000 hearings: the component's time per hearing must not grow with the
// docket.
#include "BenchCourt.h"
#include "DocketComponent.h"
#include "GrowthReport.h"
#include "RatioReporter.h"
#include "RawSqlite.h"
#include "records/Connection.h"

#include <QCoreApplication>
#include <QDate>
#include <QSqlQuery>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

constexpr int Hearings = 10000;
// A court per docket size, made when first asked for; the component is pointed at the one that
// a case runs on.
std::map<int, std::unique_ptr<BenchCourt>> courts;

BenchCourt &Court(int hearings)
{
    std::unique_ptr<BenchCourt> &court = courts[hearings];
    if (court)
        Connection::Use(court->Url());
    else
        court = std::make_unique<BenchCourt>(hearings);
    return *court;
}

// The same statements, in the same order, with the same bound values.
int Raw(RawSqlite &db, const char *action, const char *branch)
{
    const bool out = QLatin1String(action) == QLatin1String("*OUT");
    const std::string brn = branch;
    const std::string date = QDate::currentDate().toString(QStringLiteral("MMddyyyy")).toStdString();
    {
        int count = 0;
        const auto hearings = db.Run("Select Distinct HRGYER,HRGTYP,HRGSEQ,HRGJDG,HRGROM From MRLCRT.HRGDTA Where "
                                     "HRGHDT=" + std::to_string(BenchCourt::Day));
        for (const RawSqlite::Row &h : hearings) {
            const long long year = std::get<long long>(h[0]), seq = std::get<long long>(h[2]);
            const std::string type = std::get<std::string>(h[1]);
            if (!brn.empty()) {
                const bool civil = type == "CA" || type == "SC";
                const auto master = db.Run(std::string("Select * From MRLCRT.") + (civil ? "MASCIV" : "MASCRM") +
                                               " Where MASYER=? And MASTYP=? and MASSEQ=?",
                                           {year, type, seq});
                if (master.empty() || std::get<std::string>(master[0][5]) != brn)
                    continue;
            }
            const std::string where = " Where FILYER=" + std::to_string(year) + " And FILTYP='" + type +
                                      "' And FILSEQ=" + std::to_string(seq);
            const auto loan = db.Run("Select * From MRLCRT.FILCHK " + where);
            int changed = 0;
            if (out) {
                const std::string party = std::get<std::string>(h[3]);
                if (loan.empty())
                    db.Run("Insert Into MRLCRT.FILCHK (FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR) "
                           "Values(?,?,?,?,?,?)",
                           {year, type, seq, party, date, std::string("CLERK1")}, &changed);
                else
                    db.Run("Update MRLCRT.FILCHK Set FILOTO= '" + party + "', FILUDT= " + date +
                               ", FILUSR= 'CLERK1'" + where,
                           {}, &changed);
                ++count;
            } else if (!loan.empty()) {
                db.Run("Delete From MRLCRT.FILCHK " + where, {}, &changed);
                ++count;
            }
        }
        if (count == 0)
            throw std::runtime_error("the baseline changed nothing");
        return count;
    }
}

// The component's connection at the file's synchronous setting (FULL as shipped, or OFF).
void ComponentSynchronous(const std::string &level)
{
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    QSqlQuery q(db);
    if (!db.isValid() || !q.exec(QString::fromStdString("PRAGMA MRLCRT.synchronous=" + level)))
        throw std::runtime_error("cannot set synchronous: " + error.toStdString());
}

void Pair(benchmark::State &state, int hearings, const char *action, const char *branch, const char *synchronous)
{
    const bool out = QLatin1String(action) == QLatin1String("*OUT");
    BenchCourt &court = Court(hearings);
    RawSqlite db(court.File().toStdString(), synchronous);
    ComponentSynchronous(synchronous);
    MeasurePair(
        state, [out, &court] { out ? court.ReturnAll() : court.LendAll(); },
        [&] { benchmark::DoNotOptimize(RunDocketComponent(action, branch)); },
        [&] { benchmark::DoNotOptimize(Raw(db, action, branch)); });
    ComponentSynchronous("FULL");
}

void Register(const std::string &name, const char *action, const char *branch, const char *synchronous = "FULL",
              int hearings = Hearings, int iterations = 5)
{
    benchmark::RegisterBenchmark(name.c_str(), Pair, hearings, action, branch, synchronous)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(iterations);
}

// What the log's chain costs: the check-out logged, on a court whose log is chained, against the
// same run on a court whose log table has no digest column (rows written as before the chain).
std::unique_ptr<BenchCourt> unchained;

void Logged(benchmark::State &state)
{
    BenchCourt &chained = Court(Hearings);
    if (!unchained) {
        unchained = std::make_unique<BenchCourt>(Hearings);
        unchained->Unchain();
    }
    MeasurePair(
        state,
        [&] {
            Connection::Use(unchained->Url());
            unchained->ReturnAll();
            Connection::Use(chained.Url());
            chained.ReturnAll();
        },
        [&] {
            Connection::Use(chained.Url());
            benchmark::DoNotOptimize(RunDocketComponent("*OUT", "", true));
        },
        [&] {
            Connection::Use(unchained->Url());
            benchmark::DoNotOptimize(RunDocketComponent("*OUT", "", true));
        });
}

// Check-out on dockets of 1,000, 10,000 and 100,000 hearings, each size in turn and the order
// turning every round (and which side goes first), so that drift in the machine over the minutes
// this takes falls on every size alike.
std::map<std::string, GrowthSeries> growth;

void Growth(benchmark::State &state, const char *synchronous)
{
    const int sizes[] = {1000, 10000, 100000};
    std::map<int, std::unique_ptr<RawSqlite>> raw;
    for (const int n : sizes)
        raw[n] = std::make_unique<RawSqlite>(Court(n).File().toStdString(), synchronous);
    GrowthSeries &series = growth[synchronous];
    int round = 0;
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            const int n = sizes[(i + round) % 3];
            BenchCourt &court = Court(n);
            ComponentSynchronous(synchronous); // and the connection opened, outside the timing
            double component = 0, baseline = 0;
            for (int side = 0; side < 2; ++side) {
                court.ReturnAll();
                if ((side == 0) == (round % 2 == 0))
                    component = TimedMs([] { RunDocketComponent("*OUT", ""); });
                else
                    baseline = TimedMs([&] { Raw(*raw[n], "*OUT", ""); });
            }
            series.Add(n, component, baseline);
        }
        ++round;
    }
}

void RegisterGrowth(const char *name, const char *synchronous, int rounds)
{
    benchmark::RegisterBenchmark(name, Growth, synchronous)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(rounds);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Register("Docket/check-out", "*OUT", "");
    Register("Docket/check-out+branch", "*OUT", "N");
    Register("Docket/check-in", "*IN", "");
    Register("Docket/check-in+branch", "*IN", "N");
    benchmark::RegisterBenchmark("Docket/check-out/logged/chained-vs-unchained", Logged)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    // No disk wait to hide the client's own work: both sides at synchronous=OFF.
    Register("Docket/check-out/sync-off", "*OUT", "", "OFF");
    Register("Docket/check-in/sync-off", "*IN", "", "OFF");
    // Each round at FULL takes a minute or two, nearly all of it the 100,000 hearings.
    RegisterGrowth("Growth/check-out", "FULL", 3);
    RegisterGrowth("Growth/check-out/sync-off", "OFF", 7);
    RatioReporter reporter(1.15);
    reporter.SetBound("sync-off", 1.3);
    reporter.SetBound("chained-vs-unchained", 1.10);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    // At FULL a hearing's time is mostly the disk's flush, which on a shared disk changes from
    // minute to minute more than any growth; the component's own work is judged at OFF.
    growth["FULL"].Report("Growth of check-out with the docket, synchronous=FULL (per hearing)", 1.10, false);
    const bool linear = growth["OFF"].Report("Growth of check-out with the docket, synchronous=OFF (per hearing)", 1.10);
    courts.clear();
    unchained.reset();
    return reporter.WithinBound() && linear ? 0 : 1;
}
