// The batch window's two jobs on a court of 100,000 cases: looking up 1,000 typed cases (the
// lookup statement and the case style's query) and a run over 1,000 rows, each against the
// identical statements sent through the raw sqlite3 C API.
#include "BenchCourt.h"
#include "RatioReporter.h"
#include "RawSqlite.h"
#include "TypedCases.h"
#include "forms/folder_batch/BatchLookup.h"
#include "forms/folder_batch/BatchRun.h"
#include "records/Connection.h"
#include "records/DataObject.h"

#include <QCoreApplication>
#include <QDate>
#include <memory>
#include <stdexcept>

namespace {

constexpr int Cases = 100000;
constexpr int TypedCount = 1000;
std::unique_ptr<BenchCourt> court;
// The same court with the log table of an older court (no digest column): the chain's baseline.
std::unique_ptr<BenchCourt> unchained;

void ComponentLookups()
{
    DataObject master;
    BatchLookup lookup(&master);
    for (int k = 0; k < TypedCount; ++k) {
        const TypedCase c = TypedCase::Nth(k, Cases);
        if (!lookup.Lookup(2026.0, c.type, QString::number(c.sequence), c.sequence).found || lookup.Failed())
            throw std::runtime_error("a typed case was not found");
    }
}

void RawLookups(RawSqlite &db)
{
    for (int k = 0; k < TypedCount; ++k) {
        const TypedCase c = TypedCase::Nth(k, Cases);
        const std::string type = c.type.toStdString();
        const auto rows = db.Run(BatchLookup::Statement(c.type).toStdString(),
                                 {2026.0, type, std::to_string(c.sequence)});
        if (rows.empty())
            throw std::runtime_error("a typed case was not found");
        db.Run(StyleQuery, {2026LL, type, (long long)c.sequence, 2026LL, type, (long long)c.sequence});
    }
}

QList<BatchRun::Row> RunRows()
{
    QList<BatchRun::Row> rows;
    for (int k = 0; k < TypedCount; ++k) {
        const TypedCase c = TypedCase::Nth(k, Cases);
        rows.append({2026.0, c.type, double(c.sequence), QString()});
    }
    return rows;
}

void ComponentRun(bool logged = false)
{
    DataObject folders;
    BatchRun run(&folders, {QStringLiteral("*OUT"), QStringLiteral("DA OFFICE"), QStringLiteral("CLERK1"), logged, false});
    if (run.Run(RunRows(), [](qsizetype) {}) != TypedCount || run.Failed())
        throw std::runtime_error("the component's run did not check every folder out");
}

void RawRun(RawSqlite &db)
{
    const std::string date = QDate::currentDate().toString(QStringLiteral("MMddyyyy")).toStdString();
    const QList<BatchRun::Row> rows = RunRows();
    for (qsizetype i = rows.size() - 1; i >= 0; --i) {
        const std::string type = rows[i].type.toStdString();
        const auto loan = db.Run("Select * From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=?",
                                 {rows[i].year, type, rows[i].sequence});
        if (loan.empty())
            db.Run("Insert Into MRLCRT.FILCHK (FILOTO, FILUDT, FILUSR,FILYER, FILTYP, FILSEQ) Values(?,?,?,?,?,?)",
                   {std::string("DA OFFICE"), date, std::string("CLERK1"), rows[i].year, type, rows[i].sequence});
    }
}

void Lookups(benchmark::State &state)
{
    RawSqlite db(court->File().toStdString());
    MeasurePair(state, [] {}, ComponentLookups, [&] { RawLookups(db); });
}

void Run(benchmark::State &state)
{
    RawSqlite db(court->File().toStdString());
    MeasurePair(state, [] { court->ReturnAll(); }, [] { ComponentRun(); }, [&] { RawRun(db); });
}

// What the log's chain costs: the run logged, on the chained court against the unchained one.
void Logged(benchmark::State &state)
{
    MeasurePair(
        state,
        [] {
            Connection::Use(unchained->Url());
            unchained->ReturnAll();
            Connection::Use(court->Url());
            court->ReturnAll();
        },
        [] {
            Connection::Use(court->Url());
            ComponentRun(true);
        },
        [] {
            Connection::Use(unchained->Url());
            ComponentRun(true);
        });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    court = std::make_unique<BenchCourt>(Cases);
    benchmark::RegisterBenchmark("Batch/lookup-1000", Lookups)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(7);
    benchmark::RegisterBenchmark("Batch/run-1000", Run)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
    unchained = std::make_unique<BenchCourt>(Cases);
    unchained->Unchain();
    Connection::Use(court->Url()); // the other cases run on the first court
    benchmark::RegisterBenchmark("Batch/run-1000/logged/chained-vs-unchained", Logged)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(5);
    RatioReporter reporter(1.15);
    reporter.SetBound("chained-vs-unchained", 1.10);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    court.reset();
    unchained.reset();
    return reporter.WithinBound() ? 0 : 1;
}
