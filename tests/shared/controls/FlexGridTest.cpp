#include "shared/controls/FlexGrid.h"
#include "QtPrinters.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

TEST(FlexGridShape, RowsColumnsAndTheCursorFollowTheShape)
{
    FlexGrid grid;
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 0);
    EXPECT_EQ(grid.Row(), -1);
    EXPECT_EQ(grid.Col(), -1);

    // clang-format off
    const struct { const char *step; std::function<void(FlexGrid &)> change; int rows, fixedRows, cols, row, col;
                   QStringList firstColumn; /* the data rows' texts in column 0 */ } steps[] = {
        {"columns, no data rows", [](FlexGrid &g) { g.setCols(3); }, 1, 1, 3, -1, 0, {}},
        {"data rows", [](FlexGrid &g) { g.setRows(3); }, 3, 1, 3, 1, 0, {"", ""}},
        {"AddItem appends", [](FlexGrid &g) { g.AddItem("a\tb\tc\tignored"); }, 4, 1, 3, 1, 0, {"", "", "a"}},
        {"AddItem before a row", [](FlexGrid &g) { g.AddItem("x", 2); }, 5, 1, 3, 1, 0, {"", "x", "", "a"}},
        {"the cursor stays on its row when one is added above",
         [](FlexGrid &g) { g.setRow(3); g.AddItem("y", 1); }, 6, 1, 3, 4, 0, {"y", "", "x", "", "a"}},
        {"and when one above goes", [](FlexGrid &g) { g.RemoveItem(2); }, 5, 1, 3, 3, 0, {"y", "x", "", "a"}},
        {"removing the cursor's row keeps its place", [](FlexGrid &g) { g.RemoveItem(3); }, 4, 1, 3, 3, 0, {"y", "x", "a"}},
        {"a fixed row cannot be removed", [](FlexGrid &g) { g.RemoveItem(0); }, 4, 1, 3, 3, 0, {"y", "x", "a"}},
        {"shrinking moves the cursor inside", [](FlexGrid &g) { g.setRows(3); }, 3, 1, 3, 2, 0, {"y", "x"}},
        {"Rows = FixedRows drops the data rows", [](FlexGrid &g) { g.setRows(g.FixedRows()); }, 1, 1, 3, -1, 0, {}},
        {"more fixed rows than rows adds rows", [](FlexGrid &g) { g.setFixedRows(2); }, 2, 2, 3, -1, 0, {}},
        {"fewer rows than fixed rows", [](FlexGrid &g) { g.setRows(1); }, 1, 1, 3, -1, 0, {}},
        {"no columns", [](FlexGrid &g) { g.setCols(0); }, 1, 1, 0, -1, -1, {}},
    };
    // clang-format on
    for (const auto &s : steps) {
        SCOPED_TRACE(s.step);
        s.change(grid);
        EXPECT_EQ(grid.Rows(), s.rows);
        EXPECT_EQ(grid.FixedRows(), s.fixedRows);
        EXPECT_EQ(grid.Cols(), s.cols);
        EXPECT_EQ(grid.Row(), s.row);
        EXPECT_EQ(grid.Col(), s.col);
        QStringList firstColumn;
        for (int row = grid.FixedRows(); row < grid.Rows(); ++row)
            firstColumn << grid.TextMatrix(row, 0);
        EXPECT_EQ(firstColumn, s.firstColumn);
    }
}

TEST(FlexGridCells, TextAndNumericValue)
{
    const struct
    {
        const char *text;
        double value;
    } cases[] = {
        {"2009", 2009}, {"07", 7}, {" 12 ", 12}, {"-3.5", -3.5}, {"123456", 123456},
        {"CR", 0},      {"", 0},   {"12abc", 0}, {"  ", 0},      {"1,5", 0},
    };
    FlexGrid grid;
    grid.setCols(2);
    grid.setRows(2);
    for (const auto &c : cases) {
        grid.setTextMatrix(1, 1, c.text);
        EXPECT_EQ(grid.TextMatrix(1, 1), c.text);
        EXPECT_DOUBLE_EQ(grid.ValueMatrix(1, 1), c.value) << c.text;
    }
    // The header row is row 0 of the same matrix.
    grid.setTextMatrix(0, 0, "Case");
    EXPECT_EQ(grid.TextMatrix(0, 0), "Case");
    EXPECT_EQ(grid.TextMatrix(1, 0), "");
}

TEST(FlexGridCells, OutsideTheGridReadsEmptyAndIgnoresWrites)
{
    FlexGrid grid;
    grid.setCols(2);
    grid.setRows(3);
    const QPoint outside[] = {{-1, 0}, {3, 0}, {0, -1}, {0, 2}};
    for (const QPoint &p : outside) {
        grid.setTextMatrix(p.x(), p.y(), "x");
        grid.setCellForeColor(p.x(), p.y(), 0x800000);
        EXPECT_EQ(grid.TextMatrix(p.x(), p.y()), "");
        EXPECT_EQ(grid.ValueMatrix(p.x(), p.y()), 0);
        EXPECT_EQ(grid.CellForeColor(p.x(), p.y()), 0);
        EXPECT_FALSE(grid.CellRect(p.x(), p.y()).isValid());
    }
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.Cols(), 2);
}

TEST(FlexGridLists, BuildComboListFromARowset)
{
    Rowset types;
    types.fields = {"TYPCTP", "TYPDSC", "TYPCLS"};
    types.rows = {
        {{"TYPCTP", "CR"}, {"TYPDSC", "Criminal"}, {"TYPCLS", "1"}},
        {{"TYPCTP", "CV"}, {"TYPDSC", "Civil"}, {"TYPCLS", "0"}},
        {{"TYPCTP", "TR"}, {"TYPCLS", "1"}}, // no description: null
    };
    const struct
    {
        const char *fields, *key, *expected;
    } cases[] = {
        {"TYPCTP", "TYPCTP", "CR|CV|TR"},
        {"TYPCTP", "", "CR|CV|TR"},
        {"typctp", "TypCtp", "CR|CV|TR"},
        {"TYPCTP,TYPDSC", "TYPCTP", "CR\tCriminal|CV\tCivil|TR\t"},
        {" TYPDSC , TYPCTP ", "", "Criminal\tCR|Civil\tCV|\tTR"},
        {"TYPDSC", "TYPCTP", "#CR;Criminal|#CV;Civil|#TR;"},
        {"TYPDSC,TYPCLS", "TYPCTP", "#CR;Criminal\t1|#CV;Civil\t0|#TR;\t1"},
        {"NOSUCH", "", "||"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FlexGrid::BuildComboList(types, c.fields, c.key), c.expected) << c.fields << " / " << c.key;

    Rowset empty;
    empty.fields = {"TYPCTP"};
    EXPECT_EQ(FlexGrid::BuildComboList(empty, "TYPCTP", "TYPCTP"), "");
}

} // namespace
