#include "shared/ComponentName.h"
#include "shared/modScreenPos.h"
#include "TestWorld.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QWidget>
#include <array>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <optional>

namespace modScreenPos {
// Found by GoogleTest through the argument's namespace.
void PrintTo(const Geometry &g, std::ostream *os)
{
    *os << "(" << g.left << ", " << g.top << ", " << g.width << ", " << g.height << ")";
}
void PrintTo(const WorkArea &a, std::ostream *os)
{
    *os << "X " << a.minX << ".." << a.maxX << ", Y " << a.minY << ".." << a.maxY << ", avail "
        << a.availWidth << " x " << a.availHeight;
}
} // namespace modScreenPos

namespace {

using namespace modScreenPos;
using Platform::TaskBarRectangle;

// Qt's geometry types as values GoogleTest can print.
std::array<int, 4> Box(const QRect &r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}
std::array<int, 2> Pair(const QPoint &p)
{
    return {p.x(), p.y()};
}
std::array<int, 2> Pair(const QSize &s)
{
    return {s.width(), s.height()};
}

const Screen Xga{1024, 768, 1, 1};
const Screen XgaInTwips{15360, 11520, 15, 15};

TEST(ScreenPosArithmetic, NearestHalvesToEven)
{
    const struct
    {
        double value;
        qint32 expected;
    } cases[] = {{0.5, 0},     {1.5, 2},     {2.5, 2},      {-0.5, 0},    {-1.5, -2},
                 {737.5, 738}, {738.5, 738}, {738.49, 738}, {738.51, 739}};
    for (const auto &c : cases)
        EXPECT_EQ(Nearest(c.value), c.expected) << c.value;
    // A hand-edited huge value saturates instead of overflowing.
    EXPECT_EQ(Nearest(1e12), std::numeric_limits<qint32>::max());
    EXPECT_EQ(Nearest(-1e12), std::numeric_limits<qint32>::min());
}

TEST(ScreenPosArithmetic, WorkAreaByWhereTheTaskBarIs)
{
    const struct
    {
        const char *name;
        Screen screen;
        TaskBarRectangle taskBar;
        WorkArea expected; // minX, maxX, minY, maxY, availWidth, availHeight
    } cases[] = {{"right", Xga, {964, 0, 1024, 768}, {0, 964, 0, 768, 964, 768}},
                 {"bottom", Xga, {0, 738, 1024, 768}, {0, 1024, 0, 738, 1024, 738}},
                 {"top", Xga, {0, 0, 1024, 30}, {0, 1024, 30, 768, 1024, 738}},
                 {"left", Xga, {0, 0, 60, 768}, {60, 1024, 0, 768, 964, 768}},
                 {"no task bar", Xga, {}, {0, 1024, 0, 768, 1024, 768}},
                 // A bar reaching past the screen's edges: the available width is the bar's own width.
                 {"bottom, overhanging", Xga, {-2, 736, 1026, 770}, {0, 1024, 0, 734, 1028, 734}},
                 // The first row that applies wins: any bar with its left edge past 0 counts as on the right.
                 {"right wins over bottom", Xga, {1, 738, 1024, 768}, {0, 1, 0, 768, 1, 768}},
                 // The width test uses the exact quotient: 15367 / 15 is 1024.47, more than the bar spans.
                 {"exact width", {15367, 11520, 15, 15}, {0, 738, 1024, 768}, {1024, 1024, 0, 768, 0, 768}},
                 {"quotient reached", XgaInTwips, {0, 738, 1024, 768}, {0, 1024, 0, 738, 1024, 738}},
                 // The screen size in pixels is taken to the nearest integer, halves to even.
                 {"screen width 1024.5 px", {15367.5, 11527.5, 15, 15}, {}, {0, 1024, 0, 768, 1024, 768}},
                 {"screen width 1025.5 px", {15382.5, 11542.5, 15, 15}, {}, {0, 1026, 0, 770, 1026, 770}}};
    for (const auto &c : cases)
        EXPECT_EQ(WorkAreaFor(c.screen, c.taskBar), c.expected) << c.name;
}

TEST(ScreenPosArithmetic, KeepInsideTheWorkArea)
{
    const struct
    {
        const char *name;
        Screen screen;
        TaskBarRectangle taskBar;
        Geometry window, expected; // left, top, width, height
    } cases[] = {
        // Bottom edge at 760 with MaxY 738: up by 22.
        {"bottom bar", Xga, {0, 738, 1024, 768}, {100, 460, 400, 300}, {100, 438, 400, 300}},
        {"left bar", Xga, {0, 0, 60, 768}, {10, 100, 300, 200}, {60, 100, 300, 200}},
        {"top bar", Xga, {0, 0, 1024, 30}, {100, 5, 300, 200}, {100, 30, 300, 200}},
        // AvailWidth equals MaxX: 10 beyond moves left 10, the width stays.
        {"right bar", Xga, {964, 0, 1024, 768}, {74, 100, 900, 300}, {64, 100, 900, 300}},
        // Within MaxX but past AvailWidth (964): to MinX and cut to AvailWidth.
        {"left bar narrows", Xga, {0, 0, 60, 768}, {500, 100, 500, 300}, {60, 100, 964, 300}},
        {"left bar, right edge at 964", Xga, {0, 0, 60, 768}, {464, 100, 500, 300}, {464, 100, 500, 300}},
        {"left bar, wider than the screen", Xga, {0, 0, 60, 768}, {0, 0, 1200, 300}, {60, 0, 964, 300}},
        {"top bar shortens", Xga, {0, 0, 1024, 30}, {100, 300, 400, 500}, {100, 30, 400, 738}},
        {"bottom bar, too tall", Xga, {0, 738, 1024, 768}, {100, 0, 400, 800}, {100, 0, 400, 738}},
        {"no bar, inside", Xga, {}, {100, 100, 400, 300}, {100, 100, 400, 300}},
        {"no bar, above and left", Xga, {}, {-50, -20, 400, 300}, {0, 0, 400, 300}},
        {"no bar, below and right", Xga, {}, {900, 600, 400, 300}, {624, 468, 400, 300}},
        {"no bar, larger than the screen", Xga, {}, {-10, -10, 1100, 800}, {0, 0, 1024, 768}},
        // The bottom-bar example in real twips.
        {"in twips", XgaInTwips, {0, 738, 1024, 768}, {1500, 6900, 6000, 4500}, {1500, 6570, 6000, 4500}},
        // Right edge at 1024.5 px: nearest is 1024, no move; but the unrounded edge passes AvailWidth.
        {"right edge 1024.5 px", XgaInTwips, {}, {1500, 0, 13867.5, 1500}, {0, 0, 15360, 1500}},
        // Right edge at 1025.5 px: nearest is 1026, two pixels back.
        {"right edge 1025.5 px", XgaInTwips, {}, {1500, 0, 13882.5, 1500}, {1470, 0, 13882.5, 1500}},
        // Left edge at -0.5 px is nearest 0 and stays; at -1.5 px it is nearest -2 and comes to 0.
        {"left edge -0.5 px", XgaInTwips, {}, {-7.5, 0, 1500, 1500}, {-7.5, 0, 1500, 1500}},
        {"left edge -1.5 px", XgaInTwips, {}, {-22.5, 0, 1500, 1500}, {0, 0, 1500, 1500}},
        {"top 29.5 px", XgaInTwips, {0, 0, 1024, 30}, {0, 442.5, 1500, 1500}, {0, 442.5, 1500, 1500}},
        {"top 28.5 px", XgaInTwips, {0, 0, 1024, 30}, {0, 427.5, 1500, 1500}, {0, 450, 1500, 1500}}};
    for (const auto &c : cases)
        EXPECT_EQ(Keep(c.window, c.screen, c.taskBar), c.expected) << c.name;
}

// A primary screen that does not stand at the desktop's origin (a second monitor on its left or
// above): a window on it stays, one partly off it comes back onto it, not onto the other monitor.
TEST(ScreenPosArithmetic, PrimaryScreenAnywhereOnTheDesktop)
{
    const struct
    {
        const char *name;
        QRect primary, frame, expected;
        TaskBarRectangle taskBar;
    } cases[] = {
        {"right of another", {1920, 0, 1024, 768}, {2000, 100, 400, 300}, {2000, 100, 400, 300}, {}},
        {"right of another, past its right edge", {1920, 0, 1024, 768}, {2800, 100, 400, 300}, {2544, 100, 400, 300}, {}},
        {"right of another, bottom bar", {1920, 0, 1024, 768}, {2000, 460, 400, 300}, {2000, 438, 400, 300}, {0, 738, 1024, 768}},
        {"below another", {0, 1080, 1024, 768}, {100, 1200, 400, 300}, {100, 1200, 400, 300}, {}},
        {"left of the origin", {-1024, 0, 1024, 768}, {-900, 100, 400, 300}, {-900, 100, 400, 300}, {}},
        {"at the origin, as on Windows", {0, 0, 1024, 768}, {-50, -20, 400, 300}, {0, 0, 400, 300}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(KeepOnPrimaryScreen(c.frame, c.primary, c.taskBar), c.expected) << c.name;
}

// Saving and restoring against a real window on the offscreen screen (no task bar there).
class ScreenPosWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QScreen *primary = QGuiApplication::primaryScreen();
        ASSERT_NE(primary, nullptr);
        screen = primary->geometry();
        ASSERT_EQ(primary->availableGeometry(), screen) << "these cases expect a screen without panels";
        NewForm();
    }

    // A fresh window, for cases that leave one maximised or minimised.
    void NewForm()
    {
        form = std::make_unique<QWidget>();
        form->setObjectName(QStringLiteral("frmFolderDocket"));
    }

    void Show(const QRect &geometry)
    {
        form->setGeometry(geometry);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    // The store read and written behind the module's back.
    static QSettings Raw()
    {
        // Linked into this test program, the component's code is named after the program.
        return QSettings(QSettings::IniFormat, QSettings::UserScope, "Venholt Dedezirive, Ltd",
                         QCoreApplication::applicationName());
    }
    static QString Stored(const char *key)
    {
        return Raw().value(QStringLiteral("FolderDocket/") + key).toString();
    }
    static void Store(const QString &state, const QString &left, const QString &top, const QString &height,
                      const QString &width)
    {
        QSettings raw = Raw();
        raw.beginGroup(QStringLiteral("FolderDocket"));
        raw.setValue(QStringLiteral("WindowState"), state);
        raw.setValue(QStringLiteral("FormLeft"), left);
        raw.setValue(QStringLiteral("FormTop"), top);
        raw.setValue(QStringLiteral("FormHeight"), height);
        raw.setValue(QStringLiteral("FormWidth"), width);
    }

    // The flags the docket and batch windows pass.
    void Restore() { RestoreFormPosition(form.get(), false, true, true, true, false); }

    TestWorld world;
    QRect screen;
    std::unique_ptr<QWidget> form;
};

TEST_F(ScreenPosWindow, AddressIsTheComponentAndTheWindowName)
{
    EXPECT_EQ(ComponentName::ApplicationName(), QStringLiteral("Venholt Dedezirive, Ltd\\shared_tests"));
    const char *names[][2] = {{"frmFolderEdit", "FolderEdit"},
                              {"frmFolderDocket", "FolderDocket"},
                              {"frmFolderBatch", "FolderBatch"}};
    for (const auto &n : names) {
        QWidget w;
        w.setObjectName(QLatin1String(n[0]));
        EXPECT_EQ(SectionName(&w), QLatin1String(n[1]));
    }
}

TEST_F(ScreenPosWindow, NormalWindowSavesAllFiveAndComesBack)
{
    Show({130, 70, 250, 180});
    const QPoint corner = form->pos();
    SaveFormPosition(form.get());
    const char *keys[] = {"WindowState", "FormLeft", "FormTop", "FormHeight", "FormWidth"};
    const QString saved[] = {"0", QString::number(corner.x()), QString::number(corner.y()), "180", "250"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Stored(keys[i]), saved[i]) << keys[i];
    EXPECT_EQ(Raw().childGroups(), QStringList{"FolderDocket"});

    form->setGeometry(20, 30, 400, 300);
    Restore();
    EXPECT_EQ(Pair(form->pos()), Pair(corner));
    EXPECT_EQ(Pair(form->size()), Pair(QSize(250, 180)));

    // Moving it again does not count until it unloads: the next activation puts it back.
    form->move(300, 200);
    Restore();
    EXPECT_EQ(Pair(form->pos()), Pair(corner));
}

TEST_F(ScreenPosWindow, MaximisedOrMinimisedKeepsTheStoredGeometry)
{
    const struct
    {
        bool maximise;
        const char *state; // what "WindowState" holds afterwards
    } cases[] = {{true, "2"}, {false, "9"}};
    const char *keys[] = {"FormLeft", "FormTop", "FormHeight", "FormWidth"};
    for (const auto &c : cases) {
        Store("9", "11", "12", "13", "14");
        NewForm();
        Show({130, 70, 250, 180});
        c.maximise ? form->showMaximized() : form->showMinimized();
        SaveFormPosition(form.get());
        EXPECT_EQ(Stored("WindowState"), c.state);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(Stored(keys[i]), QString::number(11 + i)) << keys[i] << ", maximised " << c.maximise;
    }
}

TEST_F(ScreenPosWindow, StoredMaximisedIsNeitherMovedNorResized)
{
    Store("2", "50", "60", "170", "240");
    const QRect designed(130, 70, 250, 180);
    Show(designed);
    Restore();
    EXPECT_TRUE(form->isMaximized());
    // Laid over the screen by the platform, when it gets round to it (a bare X server never does).
    (void)QTest::qWaitFor([&] { return form->frameGeometry() == screen; }, 1000);
    EXPECT_TRUE(form->frameGeometry() == screen || form->geometry() == designed)
        << "maximised at " << testing::PrintToString(Box(form->frameGeometry()));

    // Back to normal it has the geometry it had before, not the stored one.
    form->showNormal();
    (void)QTest::qWaitFor([&] { return form->geometry() == designed; }, 1000);
    EXPECT_EQ(Box(form->geometry()), Box(designed));
}

TEST_F(ScreenPosWindow, StoredStateIsApplied)
{
    const struct
    {
        const char *stored;
        bool startMaximised;
        bool maximised;
        bool restoreState;
    } cases[] = {{"0", false, false, true},
                 {"2", false, true, true},
                 // Coming back minimised would hide the window: it comes back normal.
                 {"1", false, false, true},
                 {"1", true, false, true},
                 {"0", true, false, true},
                 // Not a number, or a state we do not know: the window keeps its own.
                 {"abc", false, false, true},
                 {"abc", true, true, true},
                 {"7", true, true, true},
                 // The flag off: the stored state is not looked at.
                 {"2", false, false, false},
                 {"0", true, true, false}};
    for (const auto &c : cases) {
        Store(c.stored, "40", "50", "170", "240");
        NewForm();
        Show({130, 70, 250, 180});
        if (c.startMaximised)
            form->showMaximized();
        RestoreFormPosition(form.get(), false, c.restoreState, true, true, false);
        EXPECT_EQ(form->isMaximized(), c.maximised) << c.stored << " from " << c.startMaximised;
        EXPECT_FALSE(form->isMinimized()) << c.stored;
        if (!c.maximised) {
            EXPECT_EQ(Pair(form->pos()), Pair(QPoint(40, 50))) << c.stored << " from " << c.startMaximised;
        }
    }
}

TEST_F(ScreenPosWindow, PositionPairBelowOneIsIgnored)
{
    const struct
    {
        const char *left, *top;
        std::optional<QPoint> expected; // none: where it was designed
    } cases[] = {{"40", "50", QPoint(40, 50)},
                 {"1", "1", QPoint(1, 1)},
                 {"0", "50", {}},
                 {"40", "0", {}},
                 {"-5", "50", {}},
                 {"abc", "50", {}},
                 {"40", "", {}},
                 {"0.5", "50", {}},
                 {"1.5", "2.5", QPoint(2, 2)},
                 {"120.5", "121.5", QPoint(120, 122)}};
    for (const auto &c : cases) {
        Store("0", c.left, c.top, "170", "240");
        Show({130, 70, 250, 180});
        const QPoint designed = form->pos();
        Restore();
        EXPECT_EQ(Pair(form->pos()), Pair(c.expected.value_or(designed))) << c.left << ", " << c.top;
    }
}

TEST_F(ScreenPosWindow, SizeFollowsTheFlags)
{
    const struct
    {
        const char *name;
        const char *height, *width;
        bool restoreSize, growOnly;
        QSize start, expected;
    } cases[] = {{"restored", "170", "240", true, false, {250, 180}, {240, 170}},
                 {"not asked for", "170", "240", false, false, {250, 180}, {250, 180}},
                 {"grow only, both larger", "300", "400", true, true, {250, 180}, {400, 300}},
                 {"grow only, both smaller", "170", "240", true, true, {250, 180}, {250, 180}},
                 {"grow only, width larger", "170", "300", true, true, {250, 180}, {300, 180}},
                 {"grow only, height larger", "200", "240", true, true, {250, 180}, {250, 200}},
                 {"height below 1", "0", "240", true, false, {250, 180}, {250, 180}},
                 {"width below 1", "170", "-3", true, false, {250, 180}, {250, 180}},
                 {"not a number", "abc", "240", true, false, {250, 180}, {250, 180}},
                 {"halves to even", "170.5", "241.5", true, false, {250, 180}, {242, 170}}};
    for (const auto &c : cases) {
        Store("0", "40", "50", c.height, c.width);
        Show({QPoint(130, 70), c.start});
        RestoreFormPosition(form.get(), false, true, true, c.restoreSize, c.growOnly);
        EXPECT_EQ(Pair(form->size()), Pair(c.expected)) << c.name;
        EXPECT_EQ(Pair(form->pos()), Pair(QPoint(40, 50))) << c.name;
    }
}

TEST_F(ScreenPosWindow, HideOnlyHides)
{
    Store("2", "40", "50", "170", "240");
    Show({130, 70, 250, 180});
    RestoreFormPosition(form.get(), true, true, true, true, false);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->isMaximized());
    EXPECT_EQ(Box(form->geometry()), Box(QRect(130, 70, 250, 180)));
}

TEST_F(ScreenPosWindow, KeptOnTheScreen)
{
    // Kept inside by the outer edges: the window's frame counts.
    Show({10, 20, 300, 200});
    const QSize border = form->frameGeometry().size() - form->size();
    const int w = screen.width();
    const int h = screen.height();
    const struct
    {
        const char *name;
        bool storePlacement;
        bool restoreSize;
        QRect start;    // inner geometry set before the activation
        QRect expected; // outer geometry after it
    } cases[] = {
        // Nothing stored: the designed place is still kept inside.
        {"first run, past the corner",
         false,
         true,
         {w - 100, h - 50, 300, 200},
         {{w - 300 - border.width(), h - 200 - border.height()}, QSize(300, 200) + border}},
        // Stored at (40, 50): put there, and the right edge then lies inside.
        {"stored, inside", true, false, {w - 100, h - 50, 300, 200}, {{40, 50}, QSize(300, 200) + border}},
        // The editor never restores a size, but one larger than the screen is cut to it.
        {"editor, larger than the screen", true, false, {10, 20, w + 100, h + 60}, {0, 0, w, h}}};
    for (const auto &c : cases) {
        Raw().clear();
        if (c.storePlacement)
            Store("0", "40", "50", "170", "240");
        Show(c.start);
        ASSERT_EQ(Box(form->geometry()), Box(c.start)) << c.name << ": the window did not take its geometry";
        RestoreFormPosition(form.get(), false, true, true, c.restoreSize, false);
        EXPECT_EQ(Box(form->frameGeometry()), Box(c.expected)) << c.name;
    }
}

} // namespace
