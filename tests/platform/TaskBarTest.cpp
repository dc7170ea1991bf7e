#include "platform/TaskBar.h"

#include <gtest/gtest.h>

namespace Platform {
// Found by GoogleTest through the argument's namespace.
void PrintTo(const TaskBarRectangle &r, std::ostream *os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
} // namespace Platform

namespace {

using Platform::TaskBarRectangle;

TEST(TaskBarFromWorkArea, StripLeftByThePanels)
{
    const struct
    {
        const char *name;
        QRect screen, available;
        TaskBarRectangle expected;
    } cases[] = {
        {"none", {0, 0, 1024, 768}, {0, 0, 1024, 768}, {}},
        {"bottom", {0, 0, 1024, 768}, {0, 0, 1024, 738}, {0, 738, 1024, 768}},
        {"top", {0, 0, 1024, 768}, {0, 30, 1024, 738}, {0, 0, 1024, 30}},
        {"left", {0, 0, 1024, 768}, {60, 0, 964, 768}, {0, 0, 60, 768}},
        {"right", {0, 0, 1024, 768}, {0, 0, 964, 768}, {964, 0, 1024, 768}},
        // Counted from the screen's own corner wherever it sits on the desktop.
        {"screen not at the origin", {1920, 100, 1024, 768}, {1920, 100, 1024, 738}, {0, 738, 1024, 768}},
        // A top bar and a side dock: the larger strip wins.
        {"top bar and left dock", {0, 0, 1920, 1080}, {70, 27, 1850, 1053}, {0, 0, 70, 1080}},
        {"wide top bar and thin dock", {0, 0, 1920, 1080}, {5, 48, 1915, 1032}, {0, 0, 1920, 48}},
        // An available area reaching past the screen adds nothing.
        {"available beyond the screen", {0, 0, 1024, 768}, {-10, -10, 1100, 748}, {0, 738, 1024, 768}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Platform::TaskBarFromWorkArea(c.screen, c.available), c.expected) << c.name;
}

} // namespace
