#include "LaterSteps.h"

LaterSteps::LaterSteps(QObject *parent) : QObject(parent)
{
    // Zero: a step as soon as the clerk's own events have been handled.
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &LaterSteps::RunOne);
}

void LaterSteps::Start(int view, Step step)
{
    m_steps.insert(view, std::move(step));
    m_timer.start();
}

void LaterSteps::Finish(int view)
{
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
    // The views take turns: a long list's titles do not hold back another view's summary.
    auto next = m_steps.upperBound(m_last);
    const int view = m_last = (next == m_steps.end() ? m_steps.firstKey() : next.key());
    Step step = m_steps.take(view);
    // Put back only if no newer work for the view came in while it ran.
    if (!step() && !m_steps.contains(view))
        m_steps.insert(view, std::move(step));
}
