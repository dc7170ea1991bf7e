#include "TaskBar.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace Platform {

TaskBarRectangle TaskBarFromWorkArea(const QRect &screen, const QRect &available)
{
    const QRect avail = available.intersected(screen);
    if (screen.isEmpty() || avail == screen)
        return {};

    // Relative to the screen, as the placement counts from 0 whatever the screen's place on the desktop.
    const qint32 width = screen.width();
    const qint32 height = screen.height();
    const qint32 freeLeft = avail.left() - screen.left();
    const qint32 freeTop = avail.top() - screen.top();
    const qint32 freeRight = freeLeft + avail.width();
    const qint32 freeBottom = freeTop + avail.height();

    const TaskBarRectangle strips[] = {
        {0, 0, width, freeTop},         // top
        {0, freeBottom, width, height}, // bottom
        {0, 0, freeLeft, height},       // left
        {freeRight, 0, width, height},  // right
    };
    TaskBarRectangle largest;
    qint64 largestArea = 0;
    for (const TaskBarRectangle &strip : strips) {
        const qint64 area = qint64(strip.Width()) * strip.Height();
        if (area > largestArea) {
            largest = strip;
            largestArea = area;
        }
    }
    return largest;
}

#ifdef Q_OS_WIN

TaskBarRectangle TaskBarRect()
{
    const HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    RECT r{};
    if (!tray || !GetWindowRect(tray, &r))
        return {};
    // GetWindowRect answers in device pixels; Qt's window geometry is scaled by the screen's ratio.
    const QScreen *primary = QGuiApplication::primaryScreen();
    const double ratio = primary ? primary->devicePixelRatio() : 1.0;
    const auto scaled = [ratio](LONG v) { return qint32(std::lround(v / ratio)); };
    return {scaled(r.left), scaled(r.top), scaled(r.right), scaled(r.bottom)};
}

#else

TaskBarRectangle TaskBarRect()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return {};
    return TaskBarFromWorkArea(primary->geometry(), primary->availableGeometry());
}

#endif

} // namespace Platform
