#include "modTypeOfCase.h"

#include <QStringList>

namespace modTypeOfCase {

qint16 TypeOfCase(QString CaseType)
{
    // Cut or pad to exactly two characters; comparisons are exact ("cv" is civil).
    CaseType = CaseType.left(2).leftJustified(2, QLatin1Char(' '));
    static const QStringList criminal{QStringLiteral("OV"), QStringLiteral("CV"), QStringLiteral("CM"),
                                      QStringLiteral("CF"), QStringLiteral("CC"), QStringLiteral("T "),
                                      QStringLiteral("TR"), QStringLiteral("DT"), QStringLiteral("CL")};
    if (CaseType.at(0) == QLatin1Char('J') || criminal.contains(CaseType))
        return 1;
    return 0;
}

QString MasterTableName(const QString &CaseType)
{
    switch (TypeOfCase(CaseType)) {
    case 1:
        return QStringLiteral("MASCRM");
    case 0:
        return QStringLiteral("MASCIV");
    default:
        return {};
    }
}

} // namespace modTypeOfCase
