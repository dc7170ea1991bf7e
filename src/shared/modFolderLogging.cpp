#include "modFolderLogging.h"

#include "logwriter/FolderLogWriter.h"
#include "modFormFunctions.h"

namespace modFolderLogging {

void LogFolderChange(qint16 year, const QString &type, qint32 sequence, const QString &loanedTo, bool checkedOut,
                     const QString &user, bool autoMode, bool manualMode)
{
    if (!autoMode && !manualMode)
        return;
    FolderLogWriter writer;
    QObject::connect(&writer, &FolderLogWriter::Error, [](qint32, const QString &description) {
        modFormFunctions::MsgBox(QStringLiteral("The folder status change was made, but it could not be logged:\n") +
                                     description,
                                 QStringLiteral("Folder Log"), modFormFunctions::Buttons::OkOnly,
                                 modFormFunctions::Icon::Warning);
    });
    writer.Record(year, type, sequence, autoMode, user, loanedTo, checkedOut);
}

} // namespace modFolderLogging
