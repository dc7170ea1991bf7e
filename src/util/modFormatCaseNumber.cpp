#include "modFormatCaseNumber.h"

namespace modFormatCaseNumber {
namespace {

// A number with at least `digits` digits, zeros in front, the sign before them.
QString ZeroFilled(qint64 value, int digits)
{
    const QString magnitude = QString::number(value < 0 ? -value : value).rightJustified(digits, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + magnitude : magnitude;
}

// Two positions filled from the left: a one-character code gets a blank after it; a longer
// one is shown whole.
QString TwoPositions(const QString &code) { return code.leftJustified(2, QLatin1Char(' ')); }

} // namespace

QString FormatCaseNumber(qint16 year, const QString &caseType, qint32 sequence, const QString &litigantType,
                         qint16 litigant, bool withDashes)
{
    const QString sep = CaseNumberSeparator(withDashes);
    QString text = ZeroFilled(year, 4) + sep + TwoPositions(caseType) + sep + ZeroFilled(sequence, 6);
    if (litigantType > QLatin1String("  ")) {
        text += sep + TwoPositions(litigantType);
        if (litigant > 0)
            text += sep + ZeroFilled(litigant, 3);
    }
    return text;
}

QString CaseNumberSeparator(bool withDashes)
{
    return withDashes ? QStringLiteral("-") : QString();
}

} // namespace modFormatCaseNumber
