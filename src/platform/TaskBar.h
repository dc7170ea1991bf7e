#pragma once

#include <QRect>
#include <QtGlobal>

// Where the desktop's task bar lies, so that windows can be kept out from under it.
namespace Platform {

// Pixels, right and bottom exclusive as in a Win32 RECT; all zero when there is no task bar.
struct TaskBarRectangle
{
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;

    qint32 Width() const { return right - left; }
    qint32 Height() const { return bottom - top; }
    bool operator==(const TaskBarRectangle &) const = default;
};

// The strip of `screen` that `available` leaves, relative to the screen's top-left corner. When
// panels sit on several sides, the largest strip is taken: the placement knows only one bar.
TaskBarRectangle TaskBarFromWorkArea(const QRect &screen, const QRect &available);

// Windows: the rectangle of the "Shell_TrayWnd" window. Elsewhere: what the desktop's panels
// take from the primary screen. In the same (device-independent) pixels as Qt's geometry.
TaskBarRectangle TaskBarRect();

} // namespace Platform
