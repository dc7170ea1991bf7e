#include "GrowthReport.h"

#include "RatioReporter.h"

#include <algorithm>
#include <cstdio>

void GrowthSeries::Add(int units, double componentMs, double rawMs)
{
    m_runs[units].first.push_back(componentMs);
    m_runs[units].second.push_back(rawMs);
}

bool GrowthSeries::Report(const std::string &title, double bound, bool judged) const
{
    std::printf("\n%s\n", title.c_str());
    if (!Measured()) {
        std::printf("not measured\n");
        return true;
    }
    std::printf("%10s %6s %14s %12s %18s %12s %8s\n", "units", "runs", "component ms", "raw ms", "component us/unit",
                "raw us/unit", "ratio");
    std::vector<double> component, raw;
    for (const auto &[units, runs] : m_runs) {
        const double c = Median(runs.first), r = Median(runs.second);
        component.push_back(c * 1000 / units);
        raw.push_back(r * 1000 / units);
        std::printf("%10d %6zu %14.1f %12.1f %18.2f %12.2f %8.3f\n", units, runs.first.size(), c, r, component.back(),
                    raw.back(), c / r);
    }
    const auto spread = [](const std::vector<double> &v) {
        return *std::max_element(v.begin(), v.end()) / *std::min_element(v.begin(), v.end());
    };
    const bool within = spread(component) <= bound;
    if (judged)
        std::printf("per unit, max/min: component %.3f (bound %.2f) %s; raw %.3f\n", spread(component), bound,
                    within ? "within" : "OVER THE BOUND", spread(raw));
    else
        std::printf("per unit, max/min: component %.3f, raw %.3f (shown, not judged)\n", spread(component), spread(raw));
    return within || !judged;
}
