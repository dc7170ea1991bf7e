#include "shared/modSetGridDefaultColor.h"
#include "TestWorld.h"
#include "shared/SettingsStore.h"
#include "shared/controls/FlexGrid.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {

using namespace modSetGridDefaultColor;

const QString GridApp = QStringLiteral("Venholt Dedezirive, Ltd\\ZORVA");

// A grid dressed in colours none of the rules would pick, so that every value set is seen.
void Dress(FlexGrid &grid)
{
    grid.setCols(3);
    grid.setRows(5);
    grid.setBackColor(0x111111);
    grid.setBackColorAlternate(0x222222);
    grid.setBackColorFixed(0x336699);
    grid.setGridColor(0x444444);
    grid.setForeColor(0x555555);
    grid.setForeColorFixed(0x666666);
    grid.setFocusRect(-1);
    grid.setScrollTrack(false);
}

TEST(SetGridDefaultColor, StoredOrBuiltInColours)
{
    const struct
    {
        const char *name;
        std::optional<QString> back, alternate;
        int outlineBar;
        qint32 expectedBack, expectedAlternate;
    } cases[] = {
        {"nothing stored", std::nullopt, std::nullopt, 0, 0xC2BFA5, 0xD5DCD9},
        {"both stored", "255", "65280", 0, 255, 65280},
        {"only the back colour", "16777215", std::nullopt, 0, 16777215, 0},
        {"a back colour of 0 is none", "0", "65280", 0, 0xC2BFA5, 0xD5DCD9},
        {"a negative back colour is none", "-5", "65280", 0, 0xC2BFA5, 0xD5DCD9},
        {"an alternate colour alone is not read", std::nullopt, "65280", 0, 0xC2BFA5, 0xD5DCD9},
        {"text that is no number", "abc", "65280", 0, 0xC2BFA5, 0xD5DCD9},
        {"an alternate that is no number", "255", "abc", 0, 255, 0},
        {"an outline bar keeps the grid's own", "255", "65280", 1, 0x111111, 0x222222},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TestWorld world;
        if (c.back)
            SettingsStore::SaveSetting(GridApp, "GridColors", "GridBackColor", *c.back);
        if (c.alternate)
            SettingsStore::SaveSetting(GridApp, "GridColors", "GridBackColorAlternate", *c.alternate);
        // The component's own application name is not where grid colours live.
        SettingsStore::SaveSetting("Venholt Dedezirive, Ltd\\ZORVAFolders", "GridColors", "GridBackColor",
                                   "99");
        FlexGrid grid;
        Dress(grid);
        grid.setOutlineBar(c.outlineBar);
        SetGridDefaultColor(grid, false);
        EXPECT_EQ(grid.BackColor(), c.expectedBack);
        EXPECT_EQ(grid.BackColorAlternate(), c.expectedAlternate);
        EXPECT_EQ(grid.GridColor(), 0x336699);
        EXPECT_EQ(grid.BackColorFixed(), 0x336699);
        EXPECT_EQ(grid.ForeColor(), 0);
        EXPECT_EQ(grid.ForeColorFixed(), 0);
        // FormatGrid ran too, without dropping rows.
        EXPECT_TRUE(grid.ScrollTrack());
        EXPECT_TRUE(grid.CellFontBold(0, 2));
        EXPECT_EQ(grid.Rows(), 5);
    }
}

TEST(FormatGrid, HeaderFocusRectangleScrollingAndRows)
{
    const struct
    {
        int fixedRows, editable;
        bool clearRows;
        int focusRect, rows;
    } cases[] = {
        {1, FlexGrid::EditKeyboardMouse, false, FlexGrid::FocusRectHeavy, 5},
        {1, FlexGrid::EditKeyboardMouse, true, FlexGrid::FocusRectHeavy, 1},
        {2, FlexGrid::EditNone, false, FlexGrid::FocusRectNone, 5},
        {0, FlexGrid::EditNone, true, FlexGrid::FocusRectNone, 0},
        {3, FlexGrid::EditKeyboardMouse, true, FlexGrid::FocusRectHeavy, 3},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.fixedRows << " fixed, editable " << c.editable);
        FlexGrid grid;
        Dress(grid);
        grid.setFixedRows(c.fixedRows);
        grid.setEditable(c.editable);
        FormatGrid(grid, c.clearRows);
        EXPECT_EQ(grid.FocusRect(), c.focusRect);
        EXPECT_TRUE(grid.ScrollTrack());
        EXPECT_EQ(grid.Rows(), c.rows);
        EXPECT_EQ(grid.FixedRows(), c.fixedRows);
        for (int row = 0; row < grid.Rows(); ++row) {
            for (int col = 0; col < grid.Cols(); ++col)
                EXPECT_EQ(grid.CellFontBold(row, col), row < c.fixedRows) << row << "," << col;
        }
        // Colours are SetGridDefaultColor's business, not FormatGrid's.
        EXPECT_EQ(grid.BackColor(), 0x111111);
        EXPECT_EQ(grid.ForeColor(), 0x555555);
    }
}

TEST(CellLock, NavyTextGreyBackgroundHiddenOrFlatCells)
{
    const struct
    {
        const char *name;
        std::function<void(FlexGrid &)> arrange;
        bool editable;
    } cases[] = {
        {"a plain cell", [](FlexGrid &) {}, true},
        {"navy text", [](FlexGrid &g) { g.setCellForeColor(2, 1, 0x800000); }, false},
        {"nearly navy text", [](FlexGrid &g) { g.setCellForeColor(2, 1, 0x800001); }, true},
        {"black text", [](FlexGrid &g) { g.setCellForeColor(2, 1, 0); }, true},
        {"a grey background", [](FlexGrid &g) { g.setCellBackColor(2, 1, 0xA5A5A5); }, false},
        {"another background", [](FlexGrid &g) { g.setCellBackColor(2, 1, 0xC2BFA5); }, true},
        {"navy as background", [](FlexGrid &g) { g.setCellBackColor(2, 1, 0x800000); }, true},
        {"the grid's own back colour grey", [](FlexGrid &g) { g.setBackColor(0xA5A5A5); }, true},
        {"navy in the next cell", [](FlexGrid &g) { g.setCellForeColor(2, 2, 0x800000); }, true},
        {"a hidden row", [](FlexGrid &g) { g.setRowHidden(2, true); }, false},
        {"a hidden column", [](FlexGrid &g) { g.setColHidden(1, true); }, false},
        {"another row hidden", [](FlexGrid &g) { g.setRowHidden(3, true); }, true},
        {"a row of height 0", [](FlexGrid &g) { g.setRowHeight(2, 0); }, false},
        {"a row one pixel high", [](FlexGrid &g) { g.setRowHeight(2, 15); }, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FlexGrid grid;
        grid.setCols(3);
        grid.setRows(4);
        c.arrange(grid);
        EXPECT_EQ(CellIsEditable(grid, 2, 1), c.editable);
        for (const bool before : {false, true}) {
            bool cancel = before;
            EXPECT_EQ(CancelIfLocked(grid, 2, 1, cancel), !c.editable);
            // A lock cancels; an open cell leaves the flag as it found it.
            EXPECT_EQ(cancel, c.editable ? before : true);
        }
    }
}

} // namespace
