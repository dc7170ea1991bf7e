#include "GrowthReport.h"

#include <algorithm>
#include <cstdio>

bool ReportGrowth(const RatioReporter &reporter, const std::string &title, const std::vector<GrowthPoint> &points,
                  double bound, bool judged)
{
    std::vector<double> component, raw;
    std::printf("\n%s\n%-36s %10s %18s %12s %8s\n", title.c_str(), "case", "units", "component us/unit",
                "raw us/unit", "ratio");
    for (const GrowthPoint &point : points) {
        const auto &pairs = reporter.Pairs();
        const auto pair = std::find_if(pairs.begin(), pairs.end(), [&](const auto &p) { return p.name == point.name; });
        if (pair == pairs.end()) {
            std::printf("%-36s not measured: the series is not judged\n", point.name.c_str());
            return true;
        }
        component.push_back(pair->component * 1000 / point.units);
        raw.push_back(pair->raw * 1000 / point.units);
        std::printf("%-36s %10d %18.2f %12.2f %8.3f\n", point.name.c_str(), point.units, component.back(), raw.back(),
                    pair->ratio);
    }
    const auto spread = [](const std::vector<double> &v) {
        return *std::max_element(v.begin(), v.end()) / *std::min_element(v.begin(), v.end());
    };
    const bool within = spread(component) <= bound;
    std::printf("per unit, max/min: component %.3f (bound %.2f) %s; raw %.3f%s\n", spread(component), bound,
                within ? "within" : "OVER THE BOUND", spread(raw), judged ? "" : " (shown, not judged)");
    return within || !judged;
}
