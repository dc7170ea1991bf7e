#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class QEventLoop;
class QWidget;

// Times the opening of a window as the clerk sees it: from the call that opens it until it is
// shown, which here means visible, active and painted once, with the event loop back from that
// paint. The window is then closed, untimed. Watches the whole application, so that a window
// opened inside a blocking exec() is caught as well as a modeless one.
//
// A message box met on the way is dismissed and recorded: a window that asks something first is
// not being opened the ordinary way, and the figure is not to be used.
class WindowProbe : public QObject
{
public:
    WindowProbe();
    ~WindowProbe() override;

    // open() shows the top-level window named `name` and may block until it closes; close(window)
    // is called once it has been shown. Returns the milliseconds to shown; throws when the window
    // was not shown within 10 s.
    double Open(const QString &name, const std::function<void()> &open, const std::function<void(QWidget *)> &close);

    // The texts of the message boxes dismissed so far.
    const QStringList &Boxes() const { return m_boxes; }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void Seen();
    void GiveUp();

    QString m_name;
    std::function<void(QWidget *)> m_close;
    QPointer<QWidget> m_window;
    QEventLoop *m_loop = nullptr;
    QElapsedTimer m_clock;
    double m_ms = 0;
    bool m_watching = false, m_painted = false, m_active = false, m_queued = false, m_done = false;
    QStringList m_boxes;
};
