#include "Progress.h"

#include <unistd.h>

Progress::Progress(const QString &what) : m_what(what)
{
    if (isatty(STDERR_FILENO))
        m_terminal = stderr;
    else if (isatty(STDOUT_FILENO))
        m_terminal = stdout;
    // Said at once: making the rows takes a while before the first one is written.
    if (m_terminal) {
        std::fprintf(m_terminal, "%s: preparing", qPrintable(m_what));
        std::fflush(m_terminal);
    }
}

Progress::~Progress()
{
    // The summary that follows starts on a line of its own.
    if (m_terminal)
        std::fputc('\n', m_terminal);
}

void Progress::Step(qint64 done, qint64 total)
{
    if (!m_terminal || total <= 0)
        return;
    const int percent = static_cast<int>(done * 100 / total);
    if (percent == m_shown)
        return;
    m_shown = percent;
    std::fprintf(m_terminal, "\r%s: %3d%% (%lld of %lld rows)  ", qPrintable(m_what), percent,
                 static_cast<long long>(done), static_cast<long long>(total));
    std::fflush(m_terminal);
}
