#pragma once

#include <QString>
#include <optional>

class QKeyEvent;

// Tells a barcode scanner's typing from a person's. A scanner in keyboard-wedge mode types the
// whole case number and then Enter, each key a few milliseconds after the one before; a person
// takes far longer between keys. The keys that came at a scanner's pace right before Enter are
// the scan; a person's typing, or too short a burst, is none, and follows the window's rules.
class ScannerInput
{
public:
    // Longest pause between two keys of one scan, Enter included, and the fewest characters of
    // one: no person types six keys and Enter each within fifty milliseconds of the last.
    static constexpr qint64 MaxGapMs = 50;
    static constexpr qsizetype MinLength = 6;

    // When the key was made: the platform's timestamp, else the time it is handled.
    static qint64 TimeOf(const QKeyEvent *key);

    // A character as typed, before any filter of the control. A pause starts a new reading.
    void Key(QChar ch, qint64 msecs);
    // Backspace, a paste or a click: what came before is no part of a scan.
    void Clear();
    // At Enter: the characters of the scan that ends here, if one does; the reading starts afresh.
    std::optional<QString> Enter(qint64 msecs);

private:
    QString m_text;
    qint64 m_last = -1;
};
