#include "modFolderLogging.h"

#include "logwriter/FolderLogWriter.h"
#include "modFormFunctions.h"

namespace modFolderLogging {
namespace {

FailureTally *tally = nullptr;
const QString Title = QStringLiteral("Folder Log");

} // namespace

void LogFolderChange(qint16 year, const QString &type, qint32 sequence, const QString &loanedTo, bool checkedOut,
                     const QString &user, bool autoMode, bool manualMode)
{
    if (!autoMode && !manualMode)
        return;
    FolderLogWriter writer;
    QObject::connect(&writer, &FolderLogWriter::Error, [](qint32, const QString &description) {
        if (tally) {
            if (tally->m_count++ == 0)
                tally->m_first = description;
            return;
        }
        // Said of the logging alone: the editor logs a save whose own statement failed as well.
        modFormFunctions::MsgBox(QStringLiteral("The folder status change could not be logged:\n") + description,
                                 Title, modFormFunctions::Buttons::OkOnly, modFormFunctions::Icon::Warning);
    });
    writer.Record(year, type, sequence, autoMode, user, loanedTo, checkedOut);
}

FailureTally::FailureTally() : m_outer(tally) { tally = this; }

FailureTally::~FailureTally() { tally = m_outer; }

void FailureTally::Report() const
{
    if (m_count == 0)
        return;
    modFormFunctions::MsgBox(QStringLiteral("%1 folder status change(s) could not be logged:\n").arg(m_count) + m_first,
                             Title, modFormFunctions::Buttons::OkOnly, modFormFunctions::Icon::Warning);
}

} // namespace modFolderLogging
