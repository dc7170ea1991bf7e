#pragma once

#include <QString>

class QWidget;

// The batch window as the window tests meet it: its grid read the way the clerk sees it.
namespace BatchGrid {

// The batch window just opened, once active, the focus in its grid; null when none became so.
QWidget *Shown();
// The grid's rows as "year/type/sequence/title/holder", "; " between them. A title drawn in red
// gets "!", and the row's own tooltip (when it has one other than the grid's) follows it in braces.
QString Rows(QWidget *window);

} // namespace BatchGrid
