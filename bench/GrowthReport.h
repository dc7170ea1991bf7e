#pragma once

#include <map>
#include <string>
#include <vector>

// Whether the component's time grows in step with the work: runs at several sizes, both sides,
// then each size's median time per unit. Within when the component's largest time per unit is at
// most `bound` times its smallest.
class GrowthSeries
{
public:
    void Add(int units, double componentMs, double rawMs);
    bool Measured() const { return !m_runs.empty(); }

    // Prints the series with the raw side's beside it; one shown for context only (judged false),
    // or not measured at all (a filtered run), is always within.
    bool Report(const std::string &title, double bound, bool judged = true) const;

private:
    std::map<int, std::pair<std::vector<double>, std::vector<double>>> m_runs;
};
