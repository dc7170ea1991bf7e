#include "shared/modScreenPos.h"
#include "TestWorld.h"

#include <QSettings>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

// Readable values in failure messages; found through the argument's namespace.
static void PrintTo(const QRect &r, std::ostream *os) { *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height(); }
namespace modScreenPos {
void PrintTo(const Geometry &g, std::ostream *os) { *os << g.left << "," << g.top << " " << g.width << "x" << g.height; }
void PrintTo(const WorkArea &a, std::ostream *os) { *os << a.minX << ".." << a.maxX << ", " << a.minY << ".." << a.maxY << ", " << a.availWidth << "x" << a.availHeight; }
} // namespace modScreenPos

namespace {

using namespace modScreenPos;

const Screen Xga{1024, 768, 1, 1};
const Screen XgaInTwips{15360, 11520, 15, 15};

// clang-format off
TEST(ScreenPos, WorkAreaByWhereTheTaskBarIs)
{
    const struct { const char *name; Screen screen; Platform::TaskBarRectangle taskBar; WorkArea expected; /* minX, maxX, minY, maxY, availWidth, availHeight */ } cases[] = {
        {"right", Xga, {964, 0, 1024, 768}, {0, 964, 0, 768, 964, 768}},
        {"bottom", Xga, {0, 738, 1024, 768}, {0, 1024, 0, 738, 1024, 738}},
        {"left", Xga, {0, 0, 60, 768}, {60, 1024, 0, 768, 964, 768}},
        {"no task bar", Xga, {}, {0, 1024, 0, 768, 1024, 768}},
        // A bar reaching past the screen's edges: the available width is the bar's own width.
        // The first rule that applies wins: a bar whose left edge is past 0 is on the right.
        {"right wins over bottom", Xga, {1, 738, 1024, 768}, {0, 1, 0, 768, 1, 768}},
        // The width test takes the exact quotient: 15367 / 15 is 1024.47, more than the bar spans.
        {"exact width", {15367, 11520, 15, 15}, {0, 738, 1024, 768}, {1024, 1024, 0, 768, 0, 768}},
        // The screen size in pixels is taken to the nearest integer, halves to even.
        {"screen width 1025.5 px", {15382.5, 11542.5, 15, 15}, {}, {0, 1026, 0, 770, 1026, 770}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WorkAreaFor(c.screen, c.taskBar), c.expected) << c.name;
}

TEST(ScreenPos, KeptInsideTheWorkArea)
{
    const struct { const char *name; Screen screen; Platform::TaskBarRectangle taskBar; Geometry window, expected; /* left, top, width, height */ } cases[] = {
        {"bottom bar: up by 22", Xga, {0, 738, 1024, 768}, {100, 460, 400, 300}, {100, 438, 400, 300}},
        {"right bar: left by 10", Xga, {964, 0, 1024, 768}, {74, 100, 900, 300}, {64, 100, 900, 300}},
        // Within MaxX but past AvailWidth (964): to MinX and cut to AvailWidth.
        {"left bar narrows", Xga, {0, 0, 60, 768}, {500, 100, 500, 300}, {60, 100, 964, 300}},
        {"top bar shortens", Xga, {0, 0, 1024, 30}, {100, 300, 400, 500}, {100, 30, 400, 738}},
        {"no bar, below and right", Xga, {}, {900, 600, 400, 300}, {624, 468, 400, 300}},
        {"no bar, larger than the screen", Xga, {}, {-10, -10, 1100, 800}, {0, 0, 1024, 768}},
        {"in twips", XgaInTwips, {0, 738, 1024, 768}, {1500, 6900, 6000, 4500}, {1500, 6570, 6000, 4500}},
        // Edges are compared in whole pixels, halves to even.
        {"right edge 1024.5 px: no move, but wider than AvailWidth", XgaInTwips, {}, {1500, 0, 13867.5, 1500}, {0, 0, 15360, 1500}},
        {"right edge 1025.5 px: back two pixels", XgaInTwips, {}, {1500, 0, 13882.5, 1500}, {1470, 0, 13882.5, 1500}},
        {"left edge -1.5 px comes to 0", XgaInTwips, {}, {-22.5, 0, 1500, 1500}, {0, 0, 1500, 1500}},
        {"top 28.5 px under a 30 px bar", XgaInTwips, {0, 0, 1024, 30}, {0, 427.5, 1500, 1500}, {0, 450, 1500, 1500}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Keep(c.window, c.screen, c.taskBar), c.expected) << c.name;
}

// Two screens, the primary on the right of the desktop (at 1920,0): the strip is the primary's
// own, so a window wholly on it stays, and one reaching off it comes back onto it.
TEST(ScreenPos, KeptOnThePrimaryScreenWhereverItIs)
{
    const QRect primary(1920, 0, 1024, 768);
    const struct { const char *name; QRect window, expected; } cases[] = {
        {"wholly on the primary", {2000, 100, 400, 300}, {2000, 100, 400, 300}},
        {"past its right edge", {2800, 100, 400, 300}, {2544, 100, 400, 300}},
        {"on the other screen", {100, 100, 400, 300}, {1920, 100, 400, 300}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(KeepOnPrimaryScreen(c.window, primary, {}), c.expected) << c.name;
}

// A real window, shown at 130,70 250x180 with a control reaching to 210x150, restored from what is
// stored ("state left top height width") with the flags restoreState, restoreSize and growOnly.
TEST(ScreenPos, StoredPlacementIsRestored)
{
    const struct { const char *stored; bool restoreState, restoreSize, growOnly, maximised; QRect expected; } cases[] = {
        {"0 40 50 170 240", true, true, false, false, {40, 50, 240, 170}},
        {"2 40 50 170 240", true, true, false, true, {}},
        {"1 40 50 170 240", true, true, false, false, {40, 50, 240, 170}}, // never minimised: hidden
        {"0 40 50 300 240", true, true, true, false, {40, 50, 250, 300}},
        {"0 0 50 0 240", true, true, false, false, {130, 70, 250, 180}}, // below 1: none
        {"0 1.5 120.5 170.5 abc", true, true, false, false, {2, 120, 250, 180}}, // halves to even
        {"0 40 50 1 1", true, true, false, false, {40, 50, 250, 180}}, // would hide the controls
        {"0 40 50 149 900", true, true, false, false, {40, 50, 250, 180}}, // one pixel too low
        {"0 40 50 150 210", true, true, false, false, {40, 50, 210, 150}}, // just holds them
    };
    for (const auto &c : cases) {
        TestWorld world;
        QSettings raw(QSettings::IniFormat, QSettings::UserScope, "Venholt Dedezirive, Ltd", QCoreApplication::applicationName());
        const QStringList keys = {"WindowState", "FormLeft", "FormTop", "FormHeight", "FormWidth"};
        for (int i = 0; i < 5; ++i)
            raw.setValue("FolderBatch/" + keys[i], QString(c.stored).section(' ', i, i));
        raw.sync();
        QWidget form;
        form.setObjectName("frmFolderBatch");
        form.setGeometry(130, 70, 250, 180);
        QWidget control(&form);
        control.setGeometry(10, 10, 200, 140);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        form.move(130, 70);
        RestoreFormPosition(&form, false, c.restoreState, true, c.restoreSize, c.growOnly);
        EXPECT_EQ(form.isMaximized(), c.maximised) << c.stored;
        EXPECT_EQ(c.maximised ? QRect() : QRect(form.pos(), form.size()), c.expected) << c.stored;
    }
}
// clang-format on

} // namespace
