// A docket run over 10,000 hearings on a PostgreSQL server: the component's run against the
// identical statement sequence sent through raw libpq, for check-out and check-in, with and
// without a branch code. The server is the one ZORVA_BENCH_POSTGRES names (an administrator's
// URL; scripts/bench starts a private cluster on loopback); the court is a database of its own.
#include "BenchCourt.h"
#include "DocketComponent.h"
#include "RatioReporter.h"
#include "RawLibpq.h"

#include <QCoreApplication>
#include <QDate>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Hearings = 10000;
constexpr char ServerVariable[] = "ZORVA_BENCH_POSTGRES";
std::unique_ptr<BenchCourt> court;
std::vector<std::string> mismatches;

std::string Quoted(const std::string &text)
{
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

// The same statements, in the same order, with the same values: literal ones sent as they are,
// the master query and the insert prepared once per run and executed, as the component's data
// objects keep them for the length of a run.
int Raw(RawLibpq &db, const char *action, const char *branch)
{
    const bool out = std::string(action) == "*OUT";
    const std::string brn = branch;
    const std::string date = QDate::currentDate().toString(QStringLiteral("MMddyyyy")).toStdString();
    const std::string user = "CLERK1";
    int count = 0;
    const RawLibpq::Result hearings =
        db.Exec("Select Distinct HRGYER,HRGTYP,HRGSEQ,HRGJDG,HRGROM From MRLCRT.HRGDTA Where HRGHDT=" +
                std::to_string(BenchCourt::Day));
    for (int i = 0; i < hearings.Rows(); ++i) {
        // A hearing without a full case number is passed over, as the component passes it over.
        if (hearings.IsNull(i, 0) || hearings.IsNull(i, 1) || hearings.IsNull(i, 2))
            continue;
        const std::string year = hearings.Text(i, 0), type = hearings.Text(i, 1), seq = hearings.Text(i, 2);
        if (!brn.empty()) {
            const bool civil = type == "CA" || type == "SC";
            const char *name = civil ? "master_civ" : "master_crm";
            db.Prepare(name, std::string("Select * From MRLCRT.") + (civil ? "MASCIV" : "MASCRM") +
                                 " Where MASYER=$1 And MASTYP=$2 and MASSEQ=$3");
            const RawLibpq::Result master = db.ExecPrepared(name, {year, type, seq});
            if (master.Empty() || master.Text(0, 5) != brn)
                continue;
        }
        const std::string where = " Where FILYER=" + year + " And FILTYP='" + type + "' And FILSEQ=" + seq;
        const RawLibpq::Result loan = db.Exec("Select * From MRLCRT.FILCHK " + where);
        if (out) {
            // Not on loan: the insert; on loan: the loan passes to the party. Counted either way.
            const std::string party = hearings.Text(i, 3);
            if (loan.Empty()) {
                db.Prepare("insert_loan",
                           "Insert Into MRLCRT.FILCHK (FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, "
                           "FILUSR) Values($1,$2,$3,$4,$5,$6)");
                db.ExecPrepared("insert_loan", {year, type, seq, party, date, user});
            } else {
                db.Exec("Update MRLCRT.FILCHK Set FILOTO= '" + Quoted(party) + "', FILUDT= " + date +
                        ", FILUSR= '" + Quoted(user) + "'" + where);
            }
            ++count;
        } else if (!loan.Empty()) {
            db.Exec("Delete From MRLCRT.FILCHK " + where);
            ++count;
        }
    }
    // The component's prepared statements go with its data objects at the end of the run.
    db.DeallocateAll();
    if (count == 0)
        throw std::runtime_error("the baseline changed nothing");
    return count;
}

// The loan table as a run left it, every row and column, in key order.
struct Table
{
    int rows = 0;
    std::string content;
    bool operator==(const Table &) const = default;
};

Table Read(RawLibpq &db)
{
    const RawLibpq::Result r = db.Exec("Select FILYER,FILTYP,FILSEQ,FILOTO,FILUDT,FILUSR From MRLCRT.FILCHK "
                                       "Order By FILYER,FILTYP,FILSEQ");
    Table t;
    t.rows = r.Rows();
    for (int i = 0; i < r.Rows(); ++i) {
        for (int c = 0; c < 6; ++c)
            t.content += (r.IsNull(i, c) ? std::string("\\N") : std::string(r.Text(i, c))) + '|';
        t.content += '\n';
    }
    return t;
}

// Recorded for the exit status; the benchmark's ratio is not reported.
void Mismatch(benchmark::State &state, const char *action, const char *branch, const std::string &what)
{
    mismatches.push_back(std::string(action) + (*branch ? std::string(" branch ") + branch : std::string()) +
                         ": " + what);
    if (!state.error_occurred())
        state.SkipWithError(mismatches.back().c_str());
}

void Pair(benchmark::State &state, const char *action, const char *branch)
{
    const bool out = std::string(action) == "*OUT";
    RawLibpq raw(court->Url().toStdString()), check(court->Url().toStdString());
    const auto reset = [out] { out ? court->ReturnAll() : court->LendAll(); };

    // Once outside the timing: both sides change the same folders and leave the same table.
    reset();
    const int componentCount = RunDocketComponent(action, branch);
    const Table expected = Read(check);
    reset();
    const int rawCount = Raw(raw, action, branch);
    const Table rawTable = Read(check);
    const int expectedRows = out ? componentCount : Hearings - componentCount;
    if (componentCount != rawCount || expectedRows != expected.rows || !(expected == rawTable)) {
        Mismatch(state, action, branch,
                 "component changed " + std::to_string(componentCount) + " folders leaving " +
                     std::to_string(expected.rows) + " rows; raw libpq changed " + std::to_string(rawCount) +
                     " leaving " + std::to_string(rawTable.rows) + " rows" +
                     (expected.content == rawTable.content ? "" : ", with other contents"));
        return;
    }

    // Every timed run is checked too, before the table is reset for the next. (A run that
    // crosses midnight writes another date and is reported as a mismatch.)
    const char *last = nullptr;
    const auto verify = [&] {
        if (last && !(Read(check) == expected))
            Mismatch(state, action, branch,
                     std::string("the table after a timed run of the ") + last + " differs");
        last = nullptr;
    };
    MeasurePair(
        state,
        [&] {
            verify();
            reset();
        },
        [&] {
            if (RunDocketComponent(action, branch) != componentCount)
                Mismatch(state, action, branch,
                         "a timed run of the component changed another count of folders");
            last = "component";
        },
        [&] {
            if (Raw(raw, action, branch) != rawCount)
                Mismatch(state, action, branch,
                         "a timed run of the baseline changed another count of folders");
            last = "baseline";
        });
    verify();
}

void Register(const char *name, const char *action, const char *branch)
{
    benchmark::RegisterBenchmark((std::string("DocketPg/") + name).c_str(), Pair, action, branch)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(15);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QString server = qEnvironmentVariable(ServerVariable);
    if (server.isEmpty()) {
        std::fprintf(stderr,
                     "docket_pg_bench needs %s, an administrator's URL of a PostgreSQL server "
                     "(scripts/bench starts a private cluster and sets it)\n",
                     ServerVariable);
        return 2;
    }
    court = std::make_unique<BenchCourt>(Hearings, server);
    Register("check-out", "*OUT", "");
    Register("check-out+branch", "*OUT", "N");
    Register("check-in", "*IN", "");
    Register("check-in+branch", "*IN", "N");
    RatioReporter reporter(1.15);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    court.reset();
    for (const std::string &m : mismatches)
        std::fprintf(stderr, "MISMATCH %s\n", m.c_str());
    return reporter.WithinBound() && mismatches.empty() ? 0 : 1;
}
