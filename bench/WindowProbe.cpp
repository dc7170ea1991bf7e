#include "WindowProbe.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <stdexcept>

WindowProbe::WindowProbe() { qApp->installEventFilter(this); }

WindowProbe::~WindowProbe() { qApp->removeEventFilter(this); }

double WindowProbe::Open(const QString &name, const std::function<void()> &open,
                         const std::function<void(QWidget *)> &close)
{
    m_name = name;
    m_close = close;
    m_window = nullptr;
    m_painted = m_active = m_queued = m_done = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, &WindowProbe::GiveUp);
    watchdog.start(10000);
    m_watching = true;
    m_clock.start();
    open();
    if (!m_done) {
        // A modeless window: open() has returned with it on its way.
        QEventLoop loop;
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
    }
    m_watching = false;
    // A window that deletes itself on close goes now, not inside the next measurement.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!m_done)
        throw std::runtime_error("the window " + name.toStdString() + " was not shown within 10 s");
    return m_ms;
}

bool WindowProbe::eventFilter(QObject *watched, QEvent *e)
{
    if (!watched->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    if (e->type() == QEvent::Show && w->isWindow()) {
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            m_boxes << box->text();
            QMetaObject::invokeMethod(box, [box] { box->done(QMessageBox::Cancel); }, Qt::QueuedConnection);
        } else if (m_watching && !m_window && w->objectName() == m_name) {
            m_window = w;
            // Offscreen nothing activates a window by itself, where a desktop would; asked once
            // it is on its way to the screen.
            QMetaObject::invokeMethod(w, [w] { w->activateWindow(); }, Qt::QueuedConnection);
        }
        return false;
    }
    if (w != m_window || m_queued)
        return false;
    if (e->type() == QEvent::Paint)
        m_painted = true;
    else if (e->type() == QEvent::WindowActivate)
        m_active = true;
    if (m_painted && m_active) {
        // The clock stops once this event has been handled and the loop is back.
        m_queued = true;
        QMetaObject::invokeMethod(this, &WindowProbe::Seen, Qt::QueuedConnection);
    }
    return false;
}

void WindowProbe::Seen()
{
    m_ms = m_clock.nsecsElapsed() / 1e6;
    m_done = true;
    if (m_window)
        m_close(m_window);
    if (m_loop)
        m_loop->quit();
}

void WindowProbe::GiveUp()
{
    // Hiding ends an exec() that the window is blocked in.
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == m_name)
            w->hide();
    }
    if (m_loop)
        m_loop->quit();
}
