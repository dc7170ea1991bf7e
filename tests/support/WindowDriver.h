#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class QWidget;

// Drives a window that a blocking call (a modal exec()) opens: once a visible top-level widget
// named `name` exists, runs the script on it, from inside that call's event loop. Should the
// script leave the window open, the watchdog hides every window after `timeoutMs`, which ends
// the blocking call, and records that it had to.
class WindowDriver : public QObject
{
public:
    using Script = std::function<void(QWidget *window)>;

    WindowDriver(const QString &name, Script script, int timeoutMs = 20000);

    bool Ran() const { return m_ran; }
    bool TimedOut() const { return m_timedOut; }

    // The visible top-level widget of that name, or null.
    static QWidget *Find(const QString &name);
    // The script waits while a message box is open: the window is not the clerk's to use then.
    static bool MessageBoxOpen();
    // Closes the window when still open, without its question: the named button is turned off first.
    static void Leave(QWidget *window, const char *button);

private:
    QString m_name;
    Script m_script;
    QTimer m_poll;
    QTimer m_watchdog;
    bool m_ran = false;
    bool m_timedOut = false;
};
