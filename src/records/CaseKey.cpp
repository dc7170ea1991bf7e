#include "CaseKey.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

// A whole number however the driver typed it (integer, double, decimal text); none for a NULL,
// a fraction or anything else.
std::optional<qlonglong> WholeNumber(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    double d = 0;
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        // Read as the number it is: through text this was most of a docket run's own work.
        d = value.toDouble();
        break;
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString text = value.toString().trimmed();
        const qlonglong n = text.toLongLong(&ok);
        if (ok)
            return n;
        d = text.toDouble(&ok);
        if (!ok)
            return std::nullopt;
        break;
    }
    default: {
        const qlonglong n = value.toLongLong(&ok);
        return ok ? std::optional(n) : std::nullopt;
    }
    }
    if (!std::isfinite(d) || std::trunc(d) != d || std::fabs(d) > 1e15)
        return std::nullopt;
    return static_cast<qlonglong>(d);
}

QString Shown(const QVariant &value) { return value.toString().left(20); }

} // namespace

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

std::optional<CaseKey> CaseKey::FromRow(const QVariant &year, const QVariant &type, const QVariant &sequence,
                                        QString *why)
{
    const std::optional<qlonglong> y = WholeNumber(year);
    const std::optional<qlonglong> s = WholeNumber(sequence);
    const QString t = type.isNull() ? QString() : type.toString();
    QString trimmed = t;
    while (trimmed.endsWith(QLatin1Char(' ')))
        trimmed.chop(1);
    if (year.isNull())
        *why = QStringLiteral("the year is missing");
    else if (!y || *y < 1 || *y > 9999)
        *why = QStringLiteral("the year %1 is not a year").arg(Shown(year));
    else if (type.isNull() || trimmed.isEmpty())
        *why = QStringLiteral("the type is missing");
    else if (t.size() > 2)
        *why = QStringLiteral("the type \"%1\" is not a case type").arg(Shown(type));
    else if (sequence.isNull())
        *why = QStringLiteral("the sequence is missing");
    else if (!s || *s < 1 || *s > std::numeric_limits<qint32>::max())
        *why = QStringLiteral("the sequence %1 is not a case sequence").arg(Shown(sequence));
    else
        return CaseKey{static_cast<qint16>(*y), t, static_cast<qint32>(*s)};
    return std::nullopt;
}
