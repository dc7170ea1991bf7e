#include "WriteRefusal.h"

#include "modFormFunctions.h"

#include "records/WriteAccess.h"

#include <QCoreApplication>

namespace WriteRefusal {

bool Told()
{
    const QString refusal = WriteAccess::Refusal();
    if (refusal.isEmpty())
        return false;
    modFormFunctions::MsgBox(QCoreApplication::translate("WriteRefusal",
                                                         "This user may look at the folders but not change loans "
                                                         "on this court.\n\nThe server said: %1")
                                 .arg(refusal),
                             QCoreApplication::translate("WriteRefusal", "Read Only"), modFormFunctions::Buttons::OkOnly,
                             modFormFunctions::Icon::Warning);
    return true;
}

} // namespace WriteRefusal
