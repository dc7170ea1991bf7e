#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

namespace modDateTimeFunctions {

// Hearing times are typed hhmm without AM or PM: 1 to 799 are afternoon times and get 1200
// added; every other value is returned as it is.
qint16 NormalizeHearingTime(qint16 Time);

// A typed hearing time range (hhmm, 0 for none) as the docket window checks it: the message for
// its first fault, or empty when the range passes; *atEnd tells whether the end time is at fault.
// The docket window, the locator's pull list and zorva-db pull-list all check with it.
QString HearingTimeRangeProblem(qint64 begin, qint64 end, bool *atEnd = nullptr);

// A stored loan date (FILUDT) as the clerk reads it, "01/05/2026". The column holds the digits
// MMDDYYYY as a number, so January's leading zero is gone (1052026). Anything that is not such a
// date reads as empty.
QString FormatLoanDate(const QVariant &stored);
// The same as a date (invalid when FormatLoanDate gives none), without the text round trip for
// the usual stored number, which long lists and the audit pay per loan.
QDate LoanDate(const QVariant &stored);

} // namespace modDateTimeFunctions
