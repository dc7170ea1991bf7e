#include "modDateTimeFunctions.h"

namespace modDateTimeFunctions {

qint16 NormalizeHearingTime(qint16 Time)
{
    if (Time >= 1 && Time <= 799)
        return static_cast<qint16>(Time + 1200);
    return Time;
}

} // namespace modDateTimeFunctions
