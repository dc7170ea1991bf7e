#include "ScannerInput.h"

#include <QElapsedTimer>
#include <QKeyEvent>

qint64 ScannerInput::TimeOf(const QKeyEvent *key)
{
    if (key && key->timestamp() != 0)
        return qint64(key->timestamp());
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

void ScannerInput::Key(QChar ch, qint64 msecs)
{
    if (m_last >= 0 && (msecs < m_last || msecs - m_last > MaxGapMs))
        m_slow = true;
    m_last = msecs;
    m_text += ch;
}

void ScannerInput::Clear()
{
    m_text.clear();
    m_last = -1;
    m_slow = false;
    m_broken = false;
}

std::optional<QString> ScannerInput::Enter(qint64 msecs)
{
    const bool scanned = !m_broken && !m_slow && m_last >= 0 && msecs >= m_last && msecs - m_last <= MaxGapMs &&
                         m_text.trimmed().size() >= MinLength;
    const QString text = m_text;
    Clear();
    if (!scanned)
        return std::nullopt;
    return text;
}
