#pragma once

#include <QString>

namespace modFolderLogging {

// Hands one folder status change to the logging component when either preference is on; the
// writer tells automatic from manual by autoMode alone. A logging failure is shown, and the
// change in the database stands.
void LogFolderChange(qint16 year, const QString &type, qint32 sequence, const QString &loanedTo, bool checkedOut,
                     const QString &user, bool autoMode, bool manualMode);

} // namespace modFolderLogging
