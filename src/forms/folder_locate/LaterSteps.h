#pragma once

#include <QMap>
#include <QObject>
#include <QTimer>
#include <functional>

// Work a view finishes after its first page is on the screen (the pull list's titles, the age
// summary), a short step at a time from the event loop, so that the clerk can read, scroll and
// ask again meanwhile. One piece of work a view: asking again replaces it.
class LaterSteps : public QObject
{
    Q_OBJECT
public:
    // One short step; true when the work is done (or has failed and was reported).
    using Step = std::function<bool()>;

    explicit LaterSteps(QObject *parent = nullptr);

    void Start(int view, Step step);
    void Cancel(int view) { m_steps.remove(view); }
    // What is left of the view's work, at once: a print or an export holds the whole list.
    void Finish(int view);
    bool Pending(int view) const { return m_steps.contains(view); }

private:
    void RunOne();

    QMap<int, Step> m_steps;
    int m_last = -1;
    bool m_running = false;
    QTimer m_timer;
};
