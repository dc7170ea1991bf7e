#pragma once

#include <QString>

namespace modBooleanConversions {

QString BoolToString(bool flag, const QString &trueText, const QString &falseText);

} // namespace modBooleanConversions
