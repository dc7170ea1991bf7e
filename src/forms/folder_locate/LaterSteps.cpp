#include "LaterSteps.h"

#include <QApplication>
#include <QScopedValueRollback>

namespace {

constexpr int BlockedMs = 100;

} // namespace

LaterSteps::LaterSteps(QObject *parent) : QObject(parent)
{
    // Zero: a step as soon as the clerk's own events have been handled.
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &LaterSteps::RunOne);
}

void LaterSteps::Start(int view, Step step)
{
    m_steps.insert(view, std::move(step));
    m_timer.start(0);
}

void LaterSteps::Finish(int view)
{
    const QScopedValueRollback running(m_running, true);
    while (m_steps.contains(view)) {
        // Taken out while it runs: a step may report an error, and the box's own event loop
        // must not run it again.
        Step step = m_steps.take(view);
        if (!step())
            m_steps.insert(view, std::move(step));
    }
}

void LaterSteps::RunOne()
{
    if (m_steps.isEmpty()) {
        m_timer.stop();
        return;
    }
    // Never inside another statement's error box (or a step's own): the queries share one data
    // object, and the interrupted one reads its answer when the box is closed.
    if (m_running || QApplication::activeModalWidget()) {
        m_timer.start(BlockedMs); // looked at again later, not in a busy loop
        return;
    }
    m_timer.setInterval(0);
    // The views take turns: a long list's titles do not hold back another view's summary.
    auto next = m_steps.upperBound(m_last);
    const int view = m_last = (next == m_steps.end() ? m_steps.firstKey() : next.key());
    Step step = m_steps.take(view);
    const QScopedValueRollback running(m_running, true);
    // Put back only if no newer work for the view came in while it ran.
    if (!step() && !m_steps.contains(view))
        m_steps.insert(view, std::move(step));
}
