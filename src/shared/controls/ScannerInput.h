#pragma once

#include <QString>
#include <optional>

class QKeyEvent;

// Tells a barcode scanner's typing from a person's. A scanner in keyboard-wedge mode types the
// whole case number and then Enter, each key a few milliseconds after the one before; a person
// takes far longer between keys. Only input that came at a scanner's pace, whole, is read as a
// scan; anything else follows the window's rules for typing.
class ScannerInput
{
public:
    // Longest pause between two keys of one scan, Enter included, and the fewest characters of
    // one: no person types six keys and Enter each within fifty milliseconds of the last.
    static constexpr qint64 MaxGapMs = 50;
    static constexpr qsizetype MinLength = 6;

    // When the key was made: the platform's timestamp, else the time it is handled.
    static qint64 TimeOf(const QKeyEvent *key);

    // A character as typed, before any filter of the control.
    void Key(QChar ch, qint64 msecs);
    // Backspace, a paste or a click: what Enter then finds is no longer one scan.
    void Break() { m_broken = true; }
    void Clear();
    // At Enter: the characters, when all of them and the Enter came at a scanner's pace; the
    // reading starts afresh either way.
    std::optional<QString> Enter(qint64 msecs);

private:
    QString m_text;
    qint64 m_last = -1;
    bool m_slow = false;
    bool m_broken = false;
};
