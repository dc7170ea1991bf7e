#include "platform/TaskBar.h"

#include <gtest/gtest.h>

namespace Platform {
void PrintTo(const TaskBarRectangle &r, std::ostream *os) { *os << r.left << "," << r.top << " " << r.right << "," << r.bottom; }
} // namespace Platform

namespace {

// The strip of the screen that the panels leave out, counted from the screen's own corner.
TEST(TaskBarFromWorkArea, StripLeftByThePanels)
{
    const struct { const char *name; QRect screen, available; Platform::TaskBarRectangle expected; } cases[] = {
        {"none", {0, 0, 1024, 768}, {0, 0, 1024, 768}, {}},
        {"bottom", {0, 0, 1024, 768}, {0, 0, 1024, 738}, {0, 738, 1024, 768}},
        {"screen not at the origin", {1920, 100, 1024, 768}, {1920, 100, 1024, 738}, {0, 738, 1024, 768}},
        {"a top bar and a wider left dock: the larger strip", {0, 0, 1920, 1080}, {70, 27, 1850, 1053}, {0, 0, 70, 1080}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Platform::TaskBarFromWorkArea(c.screen, c.available), c.expected) << c.name;
}

} // namespace
