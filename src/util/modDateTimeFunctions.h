#pragma once

#include <QtGlobal>

namespace modDateTimeFunctions {

// Hearing times are typed hhmm without AM or PM: 1 to 799 are afternoon times and get 1200
// added; every other value is returned as it is.
qint16 NormalizeHearingTime(qint16 Time);

} // namespace modDateTimeFunctions
