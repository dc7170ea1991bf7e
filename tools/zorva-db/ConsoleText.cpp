#include "ConsoleText.h"

#include "records/MaskedUrl.h"
#include "util/modVisibleText.h"

namespace ConsoleText {

QString Visible(const QString &text) { return modVisibleText::Visible(text); }

QString CourtName(const QString &url) { return Visible(MaskedUrl(url)); }

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
