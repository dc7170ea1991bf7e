#include "modVisibleText.h"

#include <QList>

namespace modVisibleText {
namespace {

bool Hidden(char32_t c)
{
    // Bidirectional embeddings, overrides and isolates reorder what follows them on the line;
    // format characters are invisible (U+200B, U+FEFF, U+061C) or steer the text's direction.
    const bool bidi = (c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069) || c == 0x200e || c == 0x200f;
    const QChar::Category category = QChar::category(c);
    return bidi || category == QChar::Other_Control || category == QChar::Other_Format ||
           category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
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

bool HasHidden(const QString &text)
{
    for (const char32_t c : text.toUcs4())
        if (c != U'\t' && Hidden(c))
            return true;
    return false;
}

} // namespace modVisibleText
