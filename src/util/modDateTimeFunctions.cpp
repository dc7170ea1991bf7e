#include "modDateTimeFunctions.h"

#include <QCoreApplication>
#include <QDate>

namespace modDateTimeFunctions {
namespace {

// Digits fill the placeholders from the right, as a numeric mask does: "1052026" gives
// "1/05/2026". Digits beyond the mask stay in front; placeholders left over stay empty.
QString ApplyMask(const QString &digits, const QString &mask)
{
    QString out;
    qsizetype d = digits.size();
    for (qsizetype m = mask.size() - 1; m >= 0; --m) {
        if (mask.at(m) != QLatin1Char('#'))
            out.prepend(mask.at(m));
        else if (d > 0)
            out.prepend(digits.at(--d));
    }
    return digits.left(d) + out;
}

QString Digits(const QVariant &stored)
{
    // A driver may hand a NUMERIC back as an integer, a double or the text of either.
    bool ok = false;
    const double real = stored.toDouble(&ok);
    if (!ok || real < 1 || real > 99999999 || real != static_cast<double>(static_cast<qint64>(real)))
        return {};
    return QString::number(static_cast<qint64>(real));
}

} // namespace

QString FormatLoanDate(const QVariant &stored)
{
    if (stored.isNull())
        return {};
    const QString digits = Digits(stored);
    if (digits.isEmpty())
        return {};
    const QDate date =
        QDate::fromString(ApplyMask(digits, QStringLiteral("##/##/####")), QStringLiteral("M/dd/yyyy"));
    return date.isValid() ? date.toString(QStringLiteral("MM/dd/yyyy")) : QString();
}

QDate LoanDate(const QVariant &stored)
{
    // A whole number of seven or eight digits is MMDDYYYY read from the right, as the mask reads it.
    bool whole = false;
    const qint64 n = stored.isNull() ? 0 : stored.toLongLong(&whole);
    if (whole && n >= 1000000 && n <= 99999999 && stored.toDouble() == static_cast<double>(n))
        return QDate(static_cast<int>(n % 10000), static_cast<int>(n / 1000000), static_cast<int>(n / 10000 % 100));
    return QDate::fromString(FormatLoanDate(stored), QStringLiteral("MM/dd/yyyy"));
}

qint16 NormalizeHearingTime(qint16 Time)
{
    if (Time >= 1 && Time <= 799)
        return static_cast<qint16>(Time + 1200);
    return Time;
}

QString HearingTimeRangeProblem(qint64 b, qint64 e, bool *atEnd)
{
    // The docket window's words, so that its translations apply wherever the range is checked.
    const auto text = [](const char *message) { return QCoreApplication::translate("frmFolderDocket", message); };
    bool end = false;
    QString problem;
    if ((b != 0) != (e != 0)) {
        problem = text("Begin and end times must be both filled in, or both zero.");
    } else if (b > 0 && e > 0) {
        const qint16 nb = NormalizeHearingTime(static_cast<qint16>(b)), ne = NormalizeHearingTime(static_cast<qint16>(e));
        if (nb > ne) {
            problem = text("The end time must fall after the begin time.");
            end = true;
        } else if (nb > 1900 || nb < 800) {
            problem = text("Invalid time.");
        } else if (ne > 1900 || ne < 800) {
            problem = text("Invalid time.");
            end = true;
        }
    }
    if (atEnd)
        *atEnd = end;
    return problem;
}

} // namespace modDateTimeFunctions
