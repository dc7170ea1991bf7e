#pragma once

#include <QString>

// Which master table holds a case, decided from its two-character type code alone.
namespace modTypeOfCase {

// 1 criminal, 0 civil.
qint16 TypeOfCase(QString CaseType);
// "MASCRM" for a criminal type, "MASCIV" for a civil one.
QString MasterTableName(const QString &CaseType);

} // namespace modTypeOfCase
