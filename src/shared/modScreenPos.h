#pragma once

#include <QRect>

#include "platform/TaskBar.h"

#include <QString>

class QWidget;

// Windows come back where the user left them: state, place and size are remembered per window
// when it unloads and put back on every activation, kept inside the part of the screen that the
// task bar leaves free.
//
// Units: Qt's device-independent pixels, counted as one twip each, for the stored values, the
// screen size and the task bar alike. "FormLeft"/"FormTop" are the outer (frame) corner, as
// QWidget::pos() and move() take it; "FormWidth"/"FormHeight" are the inner size that resize()
// takes, so a size survives a window manager that has not decorated the window yet.
namespace modScreenPos {

inline constexpr double TwipsPerPixel = 1.0;

// 0 normal, 1 minimised, 2 maximised (a full-screen window counts as maximised).
enum WindowState : qint16 { Normal = 0, Minimised = 1, Maximised = 2 };

// The settings section of a window: its objectName without the "frm" prefix.
QString SectionName(const QWidget *form);

// From each window's Unload: "WindowState" unless minimised, the four geometry keys only when normal.
void SaveFormPosition(QWidget *form);
// From each window's Activate. `hide` hides the window and does nothing else. A stored size
// smaller than the window's minimum (for controls placed by hand: than they reach) is ignored.
void RestoreFormPosition(QWidget *form, bool hide, bool restoreState, bool restorePosition, bool restoreSize,
                         bool growOnly);

// The placement arithmetic on its own.

// Outer geometry of a window, in twips.
struct Geometry
{
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool operator==(const Geometry &) const = default;
};

// Screen size in twips and the twips per pixel in each direction.
struct Screen
{
    double width = 0;
    double height = 0;
    double twipsPerPixelX = TwipsPerPixel;
    double twipsPerPixelY = TwipsPerPixel;
};

// Allowed edges and the available size, in pixels.
struct WorkArea
{
    qint32 minX = 0;
    qint32 maxX = 0;
    qint32 minY = 0;
    qint32 maxY = 0;
    qint32 availWidth = 0;
    qint32 availHeight = 0;
    bool operator==(const WorkArea &) const = default;
};

// Nearest integer, halves to even.
qint32 Nearest(double value);

// The work area left by a task bar on the right, at the bottom, at the top or on the left (also
// when there is none), decided from the bar's rectangle alone.
WorkArea WorkAreaFor(const Screen &screen, const Platform::TaskBarRectangle &taskBar);

// Pushes a window inside the work area: first moved back over the right and bottom limits and the
// left and top ones, then moved to the corner and cut to the available size if still too large.
Geometry KeepInside(Geometry window, const Screen &screen, const WorkArea &area);

inline Geometry Keep(const Geometry &window, const Screen &screen, const Platform::TaskBarRectangle &taskBar)
{
    return KeepInside(window, screen, WorkAreaFor(screen, taskBar));
}

// Keep for a window frame in desktop pixels. The arithmetic counts from the primary screen's
// top-left corner, where Windows puts the desktop's origin; elsewhere the primary screen may
// stand anywhere on the desktop (to the right of another monitor), so the frame is taken
// relative to it and put back.
QRect KeepOnPrimaryScreen(const QRect &frame, const QRect &primary, const Platform::TaskBarRectangle &taskBar);

} // namespace modScreenPos
