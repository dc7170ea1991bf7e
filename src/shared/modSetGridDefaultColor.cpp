#include "modSetGridDefaultColor.h"

#include "shared/SettingsStore.h"
#include "shared/controls/FlexGrid.h"

namespace modSetGridDefaultColor {
namespace {

// The colours belong to the product family, not to this component.
QString ApplicationName()
{
    return QString::fromLatin1(SettingsStore::Maker) + QStringLiteral("\\ZORVA");
}

const QString Section = QStringLiteral("GridColors");

} // namespace

void SetGridDefaultColor(FlexGrid &grid, bool clearRows)
{
    qint32 back =
        SettingsStore::GetLongSetting(ApplicationName(), Section, QStringLiteral("GridBackColor"), 0);
    qint32 alternate = 0;
    if (back > 0) {
        alternate = SettingsStore::GetLongSetting(ApplicationName(), Section,
                                                  QStringLiteral("GridBackColorAlternate"), 0);
    } else {
        back = BuiltInBackColor;
        alternate = BuiltInBackColorAlternate;
    }
    if (grid.OutlineBar() == 0) {
        grid.setBackColor(back);
        grid.setBackColorAlternate(alternate);
    }
    grid.setGridColor(grid.BackColorFixed());
    grid.setForeColor(0);
    grid.setForeColorFixed(0);
    FormatGrid(grid, clearRows);
}

void FormatGrid(FlexGrid &grid, bool clearRows)
{
    if (grid.FixedRows() > 0 && grid.Cols() > 0)
        grid.setCellFontBold(0, 0, grid.FixedRows() - 1, grid.Cols() - 1, true);
    grid.setFocusRect(grid.Editable() != 0 ? FlexGrid::FocusRectHeavy : FlexGrid::FocusRectNone);
    grid.setScrollTrack(true);
    if (clearRows)
        grid.setRows(grid.FixedRows());
}

bool CellIsEditable(const FlexGrid &grid, int row, int col)
{
    return grid.CellForeColor(row, col) != LockedForeColor &&
           grid.CellBackColor(row, col) != LockedBackColor && !grid.RowHidden(row) && !grid.ColHidden(col) &&
           grid.RowHeight(row) > 0;
}

bool CancelIfLocked(const FlexGrid &grid, int row, int col, bool &cancel)
{
    if (CellIsEditable(grid, row, col))
        return false;
    cancel = true;
    return true;
}

} // namespace modSetGridDefaultColor
