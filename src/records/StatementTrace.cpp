#include "StatementTrace.h"

Q_LOGGING_CATEGORY(lcStatements, "zorva.sql", QtInfoMsg)
Q_LOGGING_CATEGORY(lcData, "zorva.data")

namespace StatementTrace {

void Record(const QString &statement, const QVariantList &params)
{
    if (!lcStatements().isDebugEnabled())
        return;
    QString text = statement;
    for (qsizetype i = 0; i < params.size(); ++i) {
        const QVariant &v = params.at(i);
        text += QStringLiteral("\n  ?%1 = %2 (%3)")
                    .arg(i + 1)
                    .arg(v.isNull() ? QStringLiteral("NULL") : v.toString(),
                         QString::fromLatin1(v.isValid() ? v.typeName() : "null"));
    }
    qCDebug(lcStatements).noquote() << text;
}

QVariant ForBinding(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return value.toInt();
    default:
        return value;
    }
}

} // namespace StatementTrace
