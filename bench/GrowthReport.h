#pragma once

#include "RatioReporter.h"

#include <string>
#include <vector>

// Whether the component's time grows in step with the work: from the pairs a RatioReporter has
// collected, its time per unit at each size, the raw side's beside it. Within when the largest
// time per unit is at most `bound` times the smallest. A series shown for context only (judged
// false), or with a size not measured (a filtered run), is always within.
struct GrowthPoint
{
    std::string name; // the case's name
    int units;
};
bool ReportGrowth(const RatioReporter &reporter, const std::string &title, const std::vector<GrowthPoint> &points,
                  double bound, bool judged = true);
