#include "modScreenPos.h"

#include "ComponentName.h"

#include "shared/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace modScreenPos {
namespace {

const QString KeyWindowState = QStringLiteral("WindowState");
const QString KeyLeft = QStringLiteral("FormLeft");
const QString KeyTop = QStringLiteral("FormTop");
const QString KeyHeight = QStringLiteral("FormHeight");
const QString KeyWidth = QStringLiteral("FormWidth");

double ToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}
int ToPixels(double twips)
{
    return Nearest(twips / TwipsPerPixel);
}

qint16 StateOf(const QWidget *form)
{
    if (form->isMinimized())
        return Minimised;
    if (form->isMaximized() || form->isFullScreen())
        return Maximised;
    return Normal;
}

void SetState(QWidget *form, qint32 state)
{
    Qt::WindowStates states =
        form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (state == Maximised)
        states |= Qt::WindowMaximized;
    else if (state != Normal)
        return; // a hand-edited state we do not know: leave the window as it is
    form->setWindowState(states);
}

// The smallest size a stored one may give: the window's own minimum or its layout's, and for
// controls placed by hand, as far as they reach. A smaller stored size (a hand edit, or a window
// the user had squeezed) would open the window cut down to nothing.
QSize MinimumSize(const QWidget *form)
{
    QSize minimum = form->minimumSize().expandedTo(form->minimumSizeHint());
    if (!form->layout()) {
        const QRect controls = form->childrenRect();
        if (controls.isValid())
            minimum = minimum.expandedTo({controls.x() + controls.width(), controls.y() + controls.height()});
    }
    return minimum;
}

void KeepOnScreen(QWidget *form)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return; // nothing to keep it inside of
    const QRect frame = form->frameGeometry();
    const QSize border = frame.size() - form->size();
    const QRect after = KeepOnPrimaryScreen(frame, primary->geometry(), Platform::TaskBarRect());
    if (after.topLeft() != frame.topLeft())
        form->move(after.topLeft());
    if (after.size() != frame.size())
        form->resize(after.size() - border);
}

} // namespace

QString SectionName(const QWidget *form)
{
    return form->objectName().mid(3);
}

void SaveFormPosition(QWidget *form)
{
    const QString app = ComponentName::ApplicationName();
    const QString section = SectionName(form);
    const qint16 state = StateOf(form);
    if (state != Minimised)
        SettingsStore::SaveLongSetting(app, section, KeyWindowState, state);
    // A maximised window keeps the geometry it had when last closed normal.
    if (state != Normal)
        return;
    const QPoint corner = form->pos();
    SettingsStore::SaveLongSetting(app, section, KeyLeft, Nearest(ToTwips(corner.x())));
    SettingsStore::SaveLongSetting(app, section, KeyTop, Nearest(ToTwips(corner.y())));
    SettingsStore::SaveLongSetting(app, section, KeyHeight, Nearest(ToTwips(form->height())));
    SettingsStore::SaveLongSetting(app, section, KeyWidth, Nearest(ToTwips(form->width())));
}

void RestoreFormPosition(QWidget *form, bool hide, bool restoreState, bool restorePosition, bool restoreSize,
                         bool growOnly)
{
    if (hide) {
        form->hide();
        return;
    }
    const QString app = ComponentName::ApplicationName();
    const QString section = SectionName(form);

    if (restoreState) {
        qint32 state = SettingsStore::GetLongSetting(app, section, KeyWindowState, StateOf(form));
        // Coming back minimised would look like the window never opened.
        if (state == Minimised)
            state = Normal;
        SetState(form, state);
    }
    if (StateOf(form) != Normal)
        return;

    // Values below 1 (nothing stored, or text that is not a number), and a size below the window's
    // minimum, leave the window as designed.
    if (restorePosition) {
        const qint32 left = SettingsStore::GetLongSetting(app, section, KeyLeft, 0);
        const qint32 top = SettingsStore::GetLongSetting(app, section, KeyTop, 0);
        if (left >= 1 && top >= 1)
            form->move(ToPixels(left), ToPixels(top));
    }
    if (restoreSize) {
        const qint32 height = SettingsStore::GetLongSetting(app, section, KeyHeight, 0);
        const qint32 width = SettingsStore::GetLongSetting(app, section, KeyWidth, 0);
        const QSize minimum = MinimumSize(form);
        if (height >= 1 && width >= 1 && ToPixels(height) >= minimum.height() &&
            ToPixels(width) >= minimum.width()) {
            if (!growOnly || ToTwips(form->height()) < height)
                form->resize(form->width(), ToPixels(height));
            if (!growOnly || ToTwips(form->width()) < width)
                form->resize(ToPixels(width), form->height());
        }
    }
    KeepOnScreen(form);
}

qint32 Nearest(double value)
{
    constexpr double low = std::numeric_limits<qint32>::min();
    constexpr double high = std::numeric_limits<qint32>::max();
    // The default rounding mode rounds halves to even.
    return static_cast<qint32>(std::clamp(std::nearbyint(value), low, high));
}

WorkArea WorkAreaFor(const Screen &screen, const Platform::TaskBarRectangle &taskBar)
{
    const double exactWidth = screen.width / screen.twipsPerPixelX;
    const qint32 scrW = Nearest(exactWidth);
    const qint32 scrH = Nearest(screen.height / screen.twipsPerPixelY);
    const qint32 tbW = taskBar.Width();
    const qint32 tbH = taskBar.Height();

    if (taskBar.left > 0) // right
        return {0, scrW - tbW, 0, scrH, scrW - tbW, scrH};
    // A bar spanning the whole width; compared with the exact quotient, not the rounded width.
    if (std::abs(double(taskBar.left)) + taskBar.right >= exactWidth) {
        if (taskBar.top > 0) // bottom
            return {0, scrW, 0, scrH - tbH, tbW, scrH - tbH};
        return {0, scrW, tbH, scrH, tbW, scrH - tbH}; // top
    }
    return {tbW, scrW, 0, scrH, scrW - tbW, scrH}; // left, or no task bar at all
}

Geometry KeepInside(Geometry w, const Screen &screen, const WorkArea &area)
{
    const double tx = screen.twipsPerPixelX;
    const double ty = screen.twipsPerPixelY;

    const qint32 right = Nearest(w.width / tx + w.left / tx);
    if (right > area.maxX)
        w.left -= tx * (right - area.maxX);
    if (Nearest(w.left / tx) < area.minX)
        w.left = tx * area.minX;

    const qint32 bottom = Nearest(w.height / ty + w.top / ty);
    if (bottom > area.maxY)
        w.top -= ty * (bottom - area.maxY);
    if (Nearest(w.top / ty) < area.minY)
        w.top = ty * area.minY;

    // Against the available size rather than the limits: with the bar on the left, a window whose
    // right edge passes the available width goes to the corner and is cut to that width.
    if (w.width / tx + w.left / tx > area.availWidth) {
        w.left = tx * area.minX;
        w.width = tx * area.availWidth;
    }
    if (w.height / ty + w.top / ty > area.availHeight) {
        w.top = ty * area.minY;
        w.height = ty * area.availHeight;
    }
    return w;
}

QRect KeepOnPrimaryScreen(const QRect &frame, const QRect &primary, const Platform::TaskBarRectangle &taskBar)
{
    const QPoint origin = primary.topLeft();
    const Screen screen{ToTwips(primary.width()), ToTwips(primary.height())};
    const QRect local = frame.translated(-origin);
    const Geometry before{ToTwips(local.x()), ToTwips(local.y()), ToTwips(local.width()), ToTwips(local.height())};
    const Geometry after = Keep(before, screen, taskBar);
    if (after == before)
        return frame;
    return QRect(ToPixels(after.left), ToPixels(after.top), ToPixels(after.width), ToPixels(after.height))
        .translated(origin);
}

} // namespace modScreenPos
