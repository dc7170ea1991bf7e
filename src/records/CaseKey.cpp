#include "CaseKey.h"

#include <QRegularExpression>

std::optional<CaseKey> CaseKey::Parse(const QString &text)
{
    // With separators the type may end in a digit ("J1"); run together it must be letters only,
    // or "2009J1123" would be ambiguous.
    static const QRegularExpression separated(
        QStringLiteral(R"(^\s*([0-9]{4})(?:\s*-\s*|\s+)([A-Za-z][A-Za-z0-9]?)(?:\s*-\s*|\s+)([0-9]{1,6})\s*$)"));
    static const QRegularExpression joined(QStringLiteral(R"(^\s*([0-9]{4})([A-Za-z]{1,2})([0-9]{1,6})\s*$)"));

    QRegularExpressionMatch m = separated.match(text);
    if (!m.hasMatch())
        m = joined.match(text);
    if (!m.hasMatch())
        return std::nullopt;

    CaseKey key;
    key.year = static_cast<qint16>(m.captured(1).toInt());
    key.type = m.captured(2).toUpper();
    key.sequence = m.captured(3).toInt();
    if (key.year <= 0 || key.sequence <= 0)
        return std::nullopt;
    return key;
}
