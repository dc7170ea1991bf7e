#include "modEliminateKeystroke.h"

#include <QChar>

namespace modEliminateKeystroke {

namespace {
bool IsControlKey(qint16 key) { return key == 8 || key == 9 || key == 13 || key == 27; }
} // namespace

qint16 NumericKeyFilter(qint16 key)
{
    if (IsControlKey(key))
        return key;
    return key < '0' || key > '9' ? qint16(0) : key;
}

qint16 UpperCaseKeyFilter(qint16 key, bool allowPeriod)
{
    if (IsControlKey(key))
        return key;
    if (key == '.' && !allowPeriod)
        return 0;
    const QChar upper = QChar(char16_t(quint16(key))).toUpper();
    return qint16(upper.unicode());
}

} // namespace modEliminateKeystroke
