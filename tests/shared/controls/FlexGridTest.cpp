#include "shared/controls/FlexGrid.h"
#include "QtPrinters.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A grid of the given shape with every cell's text "r,c", shown so that it can be painted.
struct ShownGrid
{
    FlexGrid grid;

    ShownGrid(int rows, int cols)
    {
        grid.setObjectName("grd");
        grid.setCols(cols);
        grid.setRows(rows);
        for (int row = 0; row < rows; ++row) {
            for (int col = 0; col < cols; ++col)
                grid.setTextMatrix(row, col, QString("%1,%2").arg(row).arg(col));
        }
        grid.resize(500, 300);
        grid.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    QImage Paint() { return grid.grab().toImage(); }
};

// The colour painted just inside a cell's top-left corner: the cell's background, clear of its
// text and of the grid lines on its right and bottom edges.
qint32 BackgroundAt(FlexGrid &grid, const QImage &image, int row, int col)
{
    const QRect rect = grid.CellRect(row, col);
    EXPECT_TRUE(rect.isValid()) << row << "," << col;
    return FlexGrid::FromQColor(image.pixelColor(rect.topLeft() + QPoint(1, 1)));
}

// How many pixels of a cell are painted in the given colour (text pixels, when it is the
// text colour and the background differs).
int PixelsOf(FlexGrid &grid, const QImage &image, int row, int col, qint32 color)
{
    const QRect rect = grid.CellRect(row, col);
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += FlexGrid::FromQColor(image.pixelColor(x, y)) == color ? 1 : 0;
    }
    return count;
}

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

TEST(FlexGridColumns, KeysFindColumnsByName)
{
    FlexGrid grid;
    grid.setCols(5);
    const char *keys[] = {"WRKYER", "WRKTYP", "WRKSEQ", "WRKNAM", "WRKOTO"};
    for (int col = 0; col < 5; ++col)
        grid.setColKey(col, keys[col]);
    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(grid.ColKey(col), keys[col]);
        EXPECT_EQ(grid.ColIndex(keys[col]), col);
    }
    // A key given twice finds the first column that has it; a key moves with a rename.
    grid.setColKey(4, "WRKYER");
    EXPECT_EQ(grid.ColIndex("WRKYER"), 0);
    grid.setColKey(0, "OLD");
    EXPECT_EQ(grid.ColIndex("WRKYER"), 4);
    EXPECT_EQ(grid.ColKey(7), "");
}

TEST(FlexGridColumnsDeathTest, AKeyTheGridLacksFailsLoudlyOnlyInADebugBuild)
{
    FlexGrid grid;
    grid.setCols(2);
    grid.setColKey(0, "WRKYER");
    grid.setColKey(1, "WRKTYP");
#ifdef QT_NO_DEBUG
    for (const char *missing : {"WRKNAM", "wrkyer", ""}) {
        EXPECT_EQ(grid.ColIndex(missing), -1) << missing;
        // Reading and writing through the answer does no harm.
        EXPECT_EQ(grid.TextMatrix(0, grid.ColIndex(missing)), "");
        grid.setTextMatrix(0, grid.ColIndex(missing), "x");
    }
    EXPECT_EQ(grid.Cols(), 2);
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(grid.ColIndex("WRKNAM"), "no column has the key WRKNAM");
#endif
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

TEST(FlexGridCells, OwnColoursAndBold)
{
    FlexGrid grid;
    grid.setCols(3);
    grid.setRows(4);
    EXPECT_EQ(grid.CellForeColor(1, 1), 0);
    EXPECT_EQ(grid.CellBackColor(1, 1), 0);
    grid.setCellForeColor(1, 1, 0x800000);
    grid.setCellBackColor(2, 1, 0xA5A5A5);
    EXPECT_EQ(grid.CellForeColor(1, 1), 0x800000);
    EXPECT_EQ(grid.CellBackColor(1, 1), 0);
    EXPECT_EQ(grid.CellBackColor(2, 1), 0xA5A5A5);
    EXPECT_EQ(grid.CellForeColor(2, 1), 0);

    // A block given corner to corner, in either order.
    grid.setCellFontBold(2, 2, 1, 1, true);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(grid.CellFontBold(row, col), row >= 1 && row <= 2 && col >= 1) << row << "," << col;
    }
    grid.setCellFontBold(1, 1, 1, 1, false);
    EXPECT_FALSE(grid.CellFontBold(1, 1));
    EXPECT_TRUE(grid.CellFontBold(2, 2));
}

TEST(FlexGridSizes, TwipsAndVisibility)
{
    ShownGrid shown(4, 3);
    FlexGrid &grid = shown.grid;
    const struct
    {
        int twips, expected;
    } widths[] = {{645, 645}, {555, 555}, {3000, 3000}, {1000, 1005}, {0, 0}};
    for (const auto &w : widths) {
        grid.setColWidth(1, w.twips);
        EXPECT_EQ(grid.ColWidth(1), w.expected) << w.twips;
        if (w.expected > 0) {
            EXPECT_EQ(grid.CellRect(1, 1).width() * FlexGrid::TwipsPerPixel, w.expected);
        }
    }
    grid.setColWidth(1, -1);
    EXPECT_EQ(grid.ColWidth(1), grid.ColWidth(2));

    const int standard = grid.RowHeight(2);
    EXPECT_GT(standard, 0);
    grid.setRowHeight(2, 450);
    EXPECT_EQ(grid.RowHeight(2), 450);
    EXPECT_EQ(grid.CellRect(2, 0).height(), 30);
    EXPECT_EQ(grid.CellRect(3, 0).top(), grid.CellRect(2, 0).bottom() + 1);
    grid.setRowHeight(2, 0);
    EXPECT_EQ(grid.RowHeight(2), 0);
    grid.setRowHeight(2, -1);
    EXPECT_EQ(grid.RowHeight(2), standard);

    // A taller header row pushes the data rows down.
    const int firstTop = grid.CellRect(1, 0).top();
    grid.setRowHeight(0, standard * 2);
    EXPECT_EQ(grid.CellRect(0, 0).height() * FlexGrid::TwipsPerPixel, standard * 2);
    EXPECT_EQ(grid.CellRect(1, 0).top(), firstTop + standard / FlexGrid::TwipsPerPixel);

    grid.setRowHidden(3, true);
    grid.setColHidden(2, true);
    EXPECT_TRUE(grid.RowHidden(3));
    EXPECT_TRUE(grid.ColHidden(2));
    EXPECT_FALSE(grid.RowHidden(2));
    EXPECT_FALSE(grid.CellRect(3, 0).isValid());
    EXPECT_FALSE(grid.CellRect(1, 2).isValid());
    grid.setRowHidden(3, false);
    EXPECT_TRUE(grid.CellRect(3, 0).isValid());
}

TEST(FlexGridLook, DataRowsAlternateTheirBackground)
{
    const struct
    {
        qint32 back, alternate;
        qint32 rows[4];
    } cases[] = {
        {0xC2BFA5, 0xD5DCD9, {0xC2BFA5, 0xD5DCD9, 0xC2BFA5, 0xD5DCD9}},
        {0x123456, 0xFEDCBA, {0x123456, 0xFEDCBA, 0x123456, 0xFEDCBA}},
        // No alternate colour: every data row the same.
        {0x00FF00, 0, {0x00FF00, 0x00FF00, 0x00FF00, 0x00FF00}},
    };
    for (const auto &c : cases) {
        ShownGrid shown(5, 3);
        FlexGrid &grid = shown.grid;
        grid.setFocusRect(FlexGrid::FocusRectNone);
        grid.setBackColor(c.back);
        grid.setBackColorAlternate(c.alternate);
        grid.setBackColorFixed(0x0000FF);
        const QImage image = shown.Paint();
        for (int row = 1; row <= 4; ++row) {
            for (int col = 0; col < 3; ++col)
                EXPECT_EQ(BackgroundAt(grid, image, row, col), c.rows[row - 1])
                    << std::hex << c.back << " row " << row;
        }
        EXPECT_EQ(BackgroundAt(grid, image, 0, 1), 0x0000FF);
    }
}

TEST(FlexGridLook, CellColoursAndGridLinesArePainted)
{
    ShownGrid shown(4, 3);
    FlexGrid &grid = shown.grid;
    grid.setFocusRect(FlexGrid::FocusRectNone);
    grid.setBackColor(0xFFFFFF);
    grid.setBackColorAlternate(0xFFFFFF);
    grid.setForeColor(0x000000);
    grid.setGridColor(0x00FF00);
    grid.setCellBackColor(2, 1, 0xA5A5A5);
    grid.setCellForeColor(1, 2, 0x800000);
    const QImage image = shown.Paint();
    EXPECT_EQ(BackgroundAt(grid, image, 2, 1), 0xA5A5A5);
    EXPECT_EQ(BackgroundAt(grid, image, 2, 0), 0xFFFFFF);
    // Navy text in its cell, none in its neighbour.
    EXPECT_GT(PixelsOf(grid, image, 1, 2, 0x800000), 0);
    EXPECT_EQ(PixelsOf(grid, image, 1, 1, 0x800000), 0);
    EXPECT_GT(PixelsOf(grid, image, 1, 1, 0x000000), 0);
    // The line below a cell is in the grid colour.
    const QRect cell = grid.CellRect(2, 0);
    EXPECT_EQ(FlexGrid::FromQColor(image.pixelColor(cell.left() + 1, cell.bottom())), 0x00FF00);
}

TEST(FlexGridLook, BoldCellsArePaintedBold)
{
    ShownGrid shown(3, 2);
    FlexGrid &grid = shown.grid;
    grid.setForeColorFixed(0x000000);
    grid.setBackColorFixed(0xFFFFFF);
    grid.setTextMatrix(0, 0, "Checked Out");
    grid.setTextMatrix(0, 1, "Checked Out");
    grid.setCellFontBold(0, 0, 0, 0, true);
    const QImage image = shown.Paint();
    const int bold = PixelsOf(grid, image, 0, 0, 0x000000);
    const int regular = PixelsOf(grid, image, 0, 1, 0x000000);
    EXPECT_GT(regular, 0);
    EXPECT_GT(bold, regular + regular / 10);
}

TEST(FlexGridLook, FocusRectangleMarksTheCurrentCell)
{
    const struct
    {
        int style;
        bool marked;
    } cases[] = {
        {FlexGrid::FocusRectNone, false}, {FlexGrid::FocusRectLight, true}, {FlexGrid::FocusRectHeavy, true}};
    for (const auto &c : cases) {
        ShownGrid shown(3, 2);
        FlexGrid &grid = shown.grid;
        grid.setTextMatrix(1, 1, "");
        grid.setTextMatrix(2, 1, "");
        grid.setBackColor(0xFFFFFF);
        grid.setBackColorAlternate(0xFFFFFF);
        grid.setForeColor(0x000000);
        grid.setGridColor(0xFFFFFF);
        grid.setRow(1);
        grid.setCol(1);
        grid.setFocusRect(c.style);
        EXPECT_EQ(grid.FocusRect(), c.style);
        const QImage image = shown.Paint();
        EXPECT_EQ(PixelsOf(grid, image, 1, 1, 0x000000) > 0, c.marked) << c.style;
        EXPECT_EQ(PixelsOf(grid, image, 2, 1, 0x000000), 0);
    }
}

TEST(FlexGridLook, ScrollTrackFollowsTheScrollBars)
{
    ShownGrid shown(60, 3);
    FlexGrid &grid = shown.grid;
    for (const bool track : {false, true}) {
        grid.setScrollTrack(track);
        EXPECT_EQ(grid.ScrollTrack(), track);
        const QList<QScrollBar *> bars = grid.findChildren<QScrollBar *>();
        ASSERT_FALSE(bars.isEmpty());
        for (const QScrollBar *bar : bars)
            EXPECT_EQ(bar->hasTracking(), track);
    }
    // A move to a row out of sight scrolls it into view.
    grid.setRow(59);
    EXPECT_TRUE(grid.rect().contains(grid.CellRect(59, 0).center()));
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
