#include "shared/modSetGridDefaultColor.h"
#include "TestWorld.h"
#include "shared/SettingsStore.h"
#include "shared/controls/FlexGrid.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {

using namespace modSetGridDefaultColor;

// clang-format off
TEST(SetGridDefaultColor, StoredOrBuiltInColoursAndBoldHeader)
{
    const struct { const char *name; std::optional<QString> back, alternate; int outlineBar; qint32 expectedBack, expectedAlternate; } cases[] = {
        {"nothing stored", std::nullopt, std::nullopt, 0, 0xC2BFA5, 0xD5DCD9},
        {"both stored", "255", "65280", 0, 255, 65280},
        {"a back colour of 0 is none", "0", "65280", 0, 0xC2BFA5, 0xD5DCD9},
        {"an alternate colour alone is not read", std::nullopt, "65280", 0, 0xC2BFA5, 0xD5DCD9},
        {"an outline bar keeps the grid's own", "255", "65280", 1, 0x111111, 0x222222},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TestWorld world;
        for (const auto &[key, value] : {std::pair("GridBackColor", c.back), std::pair("GridBackColorAlternate", c.alternate)})
            if (value)
                SettingsStore::SaveSetting("Venholt Dedezirive, Ltd\\ZORVA", "GridColors", key, *value);
        FlexGrid grid;
        grid.setCols(3);
        grid.setRows(3);
        grid.setBackColor(0x111111);
        grid.setBackColorAlternate(0x222222);
        grid.setBackColorFixed(0x336699);
        grid.setOutlineBar(c.outlineBar);
        SetGridDefaultColor(grid, false);
        EXPECT_EQ(grid.BackColor(), c.expectedBack);
        EXPECT_EQ(grid.BackColorAlternate(), c.expectedAlternate);
        // The lines take the header's colour; every header cell is bold, no data cell is.
        EXPECT_EQ(grid.GridColor(), 0x336699);
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(std::pair(grid.CellFontBold(0, col), grid.CellFontBold(1, col)), std::pair(true, false)) << col;
    }
}

TEST(CellLock, NavyTextGreyBackgroundHiddenOrFlatCells)
{
    const struct { const char *name; std::function<void(FlexGrid &)> arrange; bool editable; } cases[] = {
        {"a plain cell", [](FlexGrid &) {}, true},
        {"navy text", [](FlexGrid &g) { g.setCellForeColor(2, 1, 0x800000); }, false},
        {"nearly navy text", [](FlexGrid &g) { g.setCellForeColor(2, 1, 0x800001); }, true},
        {"a grey background", [](FlexGrid &g) { g.setCellBackColor(2, 1, 0xA5A5A5); }, false},
        {"navy in the next cell", [](FlexGrid &g) { g.setCellForeColor(2, 2, 0x800000); }, true},
        {"a hidden row", [](FlexGrid &g) { g.setRowHidden(2, true); }, false},
        {"a hidden column", [](FlexGrid &g) { g.setColHidden(1, true); }, false},
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
// clang-format on

} // namespace
