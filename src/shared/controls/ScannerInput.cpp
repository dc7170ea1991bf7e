#include "ScannerInput.h"

#include <QElapsedTimer>
#include <QKeyEvent>

namespace {
bool Quick(qint64 from, qint64 to) { return from >= 0 && to >= from && to - from <= ScannerInput::MaxGapMs; }
} // namespace

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
    if (!Quick(m_last, msecs))
        m_text.clear();
    m_last = msecs;
    m_text += ch;
}

void ScannerInput::Clear()
{
    m_text.clear();
    m_last = -1;
}

std::optional<QString> ScannerInput::Enter(qint64 msecs)
{
    const bool scanned = Quick(m_last, msecs) && m_text.trimmed().size() >= MinLength;
    const QString text = m_text;
    Clear();
    if (!scanned)
        return std::nullopt;
    return text;
}
