#pragma once

#include <QString>
#include <optional>

// A court case: year, two-character type code and sequence, always used together.
struct CaseKey
{
    qint16 year = 0;
    QString type;
    qint32 sequence = 0;

    // Reads a case number as a clerk or a scanner writes it: "2009-CV-123", "2009 CV 123" or
    // "2009CV000123". The type is upper-cased; anything else (a two-digit year, a sequence of
    // more than six digits, a zero) is refused.
    static std::optional<CaseKey> Parse(const QString &text);

    friend bool operator==(const CaseKey &, const CaseKey &) = default;
};
