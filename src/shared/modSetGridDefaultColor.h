#pragma once

#include <QtGlobal>

class FlexGrid;

// The court's grid look: the user's colours (or the built-in pair) on the data rows, bold headers,
// and the cell lock that keeps the clerk out of cells the program fills.
namespace modSetGridDefaultColor {

// Colours 0x00BBGGRR.
inline constexpr qint32 BuiltInBackColor = 0xC2BFA5;
inline constexpr qint32 BuiltInBackColorAlternate = 0xD5DCD9;
inline constexpr qint32 LockedForeColor = 0x800000; // navy
inline constexpr qint32 LockedBackColor = 0xA5A5A5; // grey

// Reads "GridBackColor" and "GridBackColorAlternate" of section "GridColors" under the fixed
// application name "Venholt Dedezirive, Ltd\ZORVA"; a stored back colour of 0 or below counts
// as none and gives the built-in pair. A grid with an outline bar keeps its own background.
void SetGridDefaultColor(FlexGrid &grid, bool clearRows);
// Bold header cells, a heavy focus rectangle on an editable grid, live scrolling; clearRows
// drops every data row.
void FormatGrid(FlexGrid &grid, bool clearRows);

// False for a cell with navy text or a grey background, and for a cell in a hidden row or column
// or in a row of height 0.
bool CellIsEditable(const FlexGrid &grid, int row, int col);
// For BeforeEdit handlers: sets cancel and returns true when the cell is locked; otherwise
// leaves cancel as it is and returns false.
bool CancelIfLocked(const FlexGrid &grid, int row, int col, bool &cancel);

} // namespace modSetGridDefaultColor
