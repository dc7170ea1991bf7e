#include "modBooleanConversions.h"

namespace modBooleanConversions {

QString BoolToString(bool flag, const QString &trueText, const QString &falseText)
{
    return flag ? trueText : falseText;
}

} // namespace modBooleanConversions
