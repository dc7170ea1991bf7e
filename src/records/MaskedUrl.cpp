#include "MaskedUrl.h"

#include <QRegularExpression>

QString MaskedUrl(const QString &url)
{
    QString masked = url;
    // key=value pairs after ?, &, ; or the scheme's colon; an ODBC value in braces runs to the
    // closing brace that is not doubled, and one never closed to the end.
    static const QRegularExpression pair(
        QStringLiteral("(^|[?&;:\\s])(\\s*(?:password|passwd|pwd)\\s*=\\s*)(\\{(?:[^}]|\\}\\})*(?:\\}|$)|[^&;]*)"),
        QRegularExpression::CaseInsensitiveOption);
    masked.replace(pair, QStringLiteral("\\1\\2***"));
    // user:password@ of a server URL: the authority ends at the last @ before the query, so that
    // a password holding / or @ is masked whole.
    const qsizetype scheme = masked.indexOf(QLatin1String("://"));
    if (scheme > 0) {
        const qsizetype start = scheme + 3;
        qsizetype queryAt = masked.indexOf(QLatin1Char('?'), start);
        if (queryAt < 0)
            queryAt = masked.size();
        const qsizetype at = masked.lastIndexOf(QLatin1Char('@'), queryAt - 1);
        const qsizetype colon = masked.indexOf(QLatin1Char(':'), start);
        // A user name holds no /: a file path (sqlite:///a:b@c.db) has no user part.
        const qsizetype slash = masked.indexOf(QLatin1Char('/'), start);
        if (at >= start && colon >= 0 && colon < at && (slash < 0 || slash > colon))
            masked.replace(colon + 1, at - colon - 1, QStringLiteral("***"));
    }
    return masked;
}
