#pragma once

#include <QString>
#include <QVariant>

namespace LoanDate {

// FILUDT as the clerk reads it, "01/05/2026". The column holds the digits MMDDYYYY as a number,
// so January's leading zero is gone (1052026). Anything that is not such a date reads as empty.
QString Display(const QVariant &stored);

} // namespace LoanDate
