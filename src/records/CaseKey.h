#pragma once

#include <QString>
#include <QVariant>
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

    // A key as the court's own tables hold it (a hearing row): a whole year from 1 to 9999, a type
    // of one or two characters (trailing blanks as a CHAR(2) column pads them), a whole sequence
    // above 0. Anything else - a NULL, a fraction, text, a number out of range - is refused, and
    // *why says which part is wrong.
    static std::optional<CaseKey> FromRow(const QVariant &year, const QVariant &type, const QVariant &sequence,
                                          QString *why);

    friend bool operator==(const CaseKey &, const CaseKey &) = default;
};
