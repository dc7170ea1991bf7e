#include "modSQLFixes.h"

namespace modSQLFixes {

QString SQLFix(QString text)
{
    return text.replace(QLatin1Char('\''), QLatin1String("''"));
}

} // namespace modSQLFixes
