#include "RatioReporter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

double TimedMs(const std::function<void()> &step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void MeasurePair(benchmark::State &state, const std::function<void()> &prepare, const std::function<void()> &component,
                 const std::function<void()> &raw)
{
    MeasureTimedPair(state, prepare, [&] { return TimedMs(component); }, [&] { return TimedMs(raw); });
}

void MeasureTimedPair(benchmark::State &state, const std::function<void()> &prepare,
                      const std::function<double()> &component, const std::function<double()> &raw)
{
    std::vector<double> components, raws;
    for (auto _ : state) {
        // Alternate which goes first, so that neither always meets a warm cache.
        const bool rawFirst = raws.size() % 2 == 0;
        for (int i = 0; i < 2; ++i) {
            prepare();
            if ((i == 0) == rawFirst)
                raws.push_back(raw());
            else
                components.push_back(component());
        }
    }
    const double c = Median(components), r = Median(raws);
    state.counters["component_ms"] = c;
    state.counters["raw_ms"] = r;
    state.counters["ratio"] = r > 0 ? c / r : 0;
}

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs) {
        const auto ratio = run.counters.find("ratio");
        if (run.error_occurred || ratio == run.counters.end())
            continue;
        m_pairs.push_back({run.run_name.function_name, run.counters.at("component_ms").value,
                           run.counters.at("raw_ms").value, ratio->second.value});
    }
}

double RatioReporter::BoundOf(const std::string &name) const
{
    for (const auto &[part, bound] : m_special) {
        if (name.find(part) != std::string::npos)
            return bound;
    }
    return m_bound;
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    std::printf("\n%-32s %14s %14s %8s %6s\n", "case", "component ms", "raw ms", "ratio", "bound");
    for (const Pair &p : m_pairs) {
        const double bound = BoundOf(p.name);
        const bool ok = p.ratio <= bound;
        m_within = m_within && ok;
        std::printf("%-32s %14.1f %14.1f %8.3f %6.2f %s\n", p.name.c_str(), p.component, p.raw, p.ratio, bound,
                    ok ? "within" : "OVER THE BOUND");
    }
    std::printf("medians of alternating runs\n");
}
