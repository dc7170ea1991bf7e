#include "ConsoleText.h"

#include <QRegularExpression>
#include <QUrl>

namespace ConsoleText {
namespace {

bool Hidden(char32_t c)
{
    // Bidirectional embeddings, overrides and isolates reorder what follows them on the line.
    const bool bidi = (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069) || c == 0x200e || c == 0x200f;
    const QChar::Category category = QChar::category(c);
    return bidi || category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

} // namespace

QString Visible(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (!Hidden(c)) {
            shown += QString::fromUcs4(&c, 1);
            continue;
        }
        switch (c) {
        case U'\n': shown += QStringLiteral("\\n"); break;
        case U'\r': shown += QStringLiteral("\\r"); break;
        case U'\t': shown += QStringLiteral("\\t"); break;
        default:
            shown += c <= 0xff ? QStringLiteral("\\x%1").arg(uint(c), 2, 16, QLatin1Char('0'))
                               : QStringLiteral("\\u%1").arg(uint(c), 4, 16, QLatin1Char('0'));
        }
    }
    return shown;
}

QString CourtName(const QString &url)
{
    QString name = url;
    if (url.startsWith(QLatin1String("postgres"))) {
        QUrl parsed(url);
        if (parsed.isValid() && !parsed.password().isEmpty()) {
            parsed.setPassword(QStringLiteral("***"));
            name = parsed.toString();
        }
    } else if (url.startsWith(QLatin1String("odbc:"))) {
        static const QRegularExpression secret(QStringLiteral("\\b(PWD|PASSWORD)\\s*=\\s*(\\{[^}]*\\}|[^;]*)"),
                                               QRegularExpression::CaseInsensitiveOption);
        name.replace(secret, QStringLiteral("\\1=***"));
    }
    return Visible(name);
}

QString Zoned(const QDateTime &when)
{
    const QDateTime local = when.toLocalTime();
    const int offset = local.offsetFromUtc();
    QString zone = QStringLiteral("UTC");
    if (offset != 0)
        zone += QStringLiteral("%1%2:%3")
                    .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                    .arg(qAbs(offset) / 3600, 2, 10, QLatin1Char('0'))
                    .arg(qAbs(offset) % 3600 / 60, 2, 10, QLatin1Char('0'));
    return local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + zone;
}

} // namespace ConsoleText
