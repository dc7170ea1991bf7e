#pragma once

#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>

double Median(std::vector<double> values);
double TimedMs(const std::function<void()> &step);

// Times one step of the component and the same step done the raw way, alternately, so that
// drift in the machine (other work, the disk's cache) falls on both alike; the median of each
// goes into the benchmark's counters "component_ms", "raw_ms" and "ratio".
void MeasurePair(benchmark::State &state, const std::function<void()> &prepare, const std::function<void()> &component,
                 const std::function<void()> &raw);
// The same for steps that time a part of themselves (a window opened inside a blocking call and
// closed after it was seen): each returns the milliseconds of its timed part.
void MeasureTimedPair(benchmark::State &state, const std::function<void()> &prepare,
                      const std::function<double()> &component, const std::function<double()> &raw);

// The console report, then a table of every pair's ratio and whether it keeps within the bound.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    explicit RatioReporter(double bound) : m_bound(bound) {}
    // A case whose name contains namePart is held to bound instead.
    void SetBound(const std::string &namePart, double bound) { m_special.push_back({namePart, bound}); }

    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

    bool WithinBound() const { return m_within; }

    struct Pair
    {
        std::string name;
        double component, raw, ratio;
    };
    // Every pair reported so far, by the case's name.
    const std::vector<Pair> &Pairs() const { return m_pairs; }

private:
    double BoundOf(const std::string &name) const;
    double m_bound;
    std::vector<std::pair<std::string, double>> m_special;
    bool m_within = true;
    std::vector<Pair> m_pairs;
};
