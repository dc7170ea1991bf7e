#pragma once

#include <QtGlobal>

// Character filters for keys typed into grid cells: a code in, a code out, 0 meaning "drop it".
// Backspace, Tab, Enter and Escape always pass, so editing and leaving a cell keep working.
namespace modEliminateKeystroke {

// Digits only.
qint16 NumericKeyFilter(qint16 key);
// Upper-cased; the full stop is dropped unless allowPeriod.
qint16 UpperCaseKeyFilter(qint16 key, bool allowPeriod);

} // namespace modEliminateKeystroke
