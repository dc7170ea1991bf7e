#include "FolderReport.h"

#include "ConsoleText.h"

#include "util/modDateTimeFunctions.h"

#include "forms/folder_locate/LocateLists.h"
#include "forms/folder_locate/LocateQueries.h"
#include "records/Connection.h"
#include "records/DataObject.h"
#include "records/FolderStatements.h"
#include "util/modFormatCaseNumber.h"
#include "util/modTypeOfCase.h"

#include <QDateTime>
#include <algorithm>

namespace FolderReport {
namespace {

// A data object whose failures end up in *error, since they never come back as results.
class Reader
{
public:
    explicit Reader(QString *error) : m_error(error)
    {
        QObject::connect(&m_data, &DataObject::Error, [this](qint32, const QString &description) {
            m_failed = true;
            *m_error = description;
        });
    }

    bool Run(const QString &statement, const CaseKey &key)
    {
        return Run(statement, QVariantList{key.year, key.type, key.sequence});
    }

    bool Run(const QString &statement, const QVariantList &params)
    {
        m_data.Execute(statement, params);
        return !m_failed;
    }

    DataObject &Data() { return m_data; }

private:
    DataObject m_data;
    QString *m_error;
    bool m_failed = false;
};

QString CaseNumber(const CaseKey &key)
{
    return modFormatCaseNumber::FormatCaseNumber(key.year, key.type, key.sequence, QString(), 0, true);
}

QString LogLine(const DataObject &row)
{
    const QString stored = row.Field(QStringLiteral("LOGTSP")).toString();
    const QDateTime stamp = QDateTime::fromString(stored, Qt::ISODateWithMs);
    const QString when = stamp.isValid() ? ConsoleText::Zoned(stamp) : ConsoleText::Visible(stored);
    const bool out = row.Field(QStringLiteral("LOGOUT")).toInt() != 0;
    const bool automatic = row.Field(QStringLiteral("LOGAUT")).toInt() != 0;
    return QStringLiteral("  %1  %2 %3  by %4 (%5)")
        .arg(when, out ? QStringLiteral("out to ") : QStringLiteral("in from"),
             ConsoleText::Visible(row.Field(QStringLiteral("LOGOTO")).toString()).leftJustified(13),
             ConsoleText::Visible(row.Field(QStringLiteral("LOGUSR")).toString()),
             automatic ? QStringLiteral("automatic") : QStringLiteral("manual"));
}

} // namespace

bool Status(const CaseKey &key, QString *line, QString *error)
{
    Reader loan(error);
    if (!loan.Run(QLatin1String(FolderStatements::SelectLoanAnyCase),
                  FolderStatements::AnyCaseKey(key.year, key.type, key.sequence)))
        return false;
    const QString number = CaseNumber(key);
    if (!loan.Data().Eof()) {
        const DataObject &row = loan.Data();
        *line = number + QStringLiteral(": on loan to ") + ConsoleText::Visible(row.Field(QStringLiteral("FILOTO")).toString());
        const QString since = modDateTimeFunctions::FormatLoanDate(row.Field(QStringLiteral("FILUDT")));
        if (!since.isEmpty())
            *line += QStringLiteral(" since ") + since;
        const QString user = ConsoleText::Visible(row.Field(QStringLiteral("FILUSR")).toString());
        if (!user.isEmpty())
            *line += QStringLiteral(", recorded by ") + user;
        return true;
    }

    // A folder that is not out may also be one the court never had: say so, a typo is likelier.
    Reader master(error);
    const QString table = modTypeOfCase::MasterTableName(key.type);
    if (!master.Run(QStringLiteral("Select MASYER From MRLCRT.%1 Where MASYER=? And MASTYP=? And MASSEQ=?")
                        .arg(table),
                    key))
        return false;
    *line = number + QStringLiteral(": not on loan");
    if (master.Data().Eof())
        *line += QStringLiteral(" (no such case in %1)").arg(table);
    return true;
}

bool History(const CaseKey &key, QStringList *lines, QString *error, bool all)
{
    Reader log(error);
    const QString select = QStringLiteral("Select LOGTSP, LOGAUT, LOGUSR, LOGOTO, LOGOUT From MRLCRT.FILLOG"
                                          " Where LOGYER=? And LOGTYP=? And LOGSEQ=? Order By LOGTSP");
    QStringList entries;
    qint64 earlier = 0;
    if (all) {
        if (!log.Run(select, key))
            return false;
        for (DataObject &row = log.Data(); !row.Eof(); row.MoveNext())
            entries << LogLine(row);
    } else {
        // The latest entries, read newest first so that the statement stops at the cap, then
        // turned; the earlier ones are only counted.
        const QSqlDatabase db = Connection::Database(QStringLiteral("data"), error);
        if (!db.isValid())
            return false;
        if (!log.Run(select + QStringLiteral(" Desc") +
                         LocateQueries::RowLimit(Connection::DialectOf(db), LocateQueries::RecentHistory),
                     key))
            return false;
        for (DataObject &row = log.Data(); !row.Eof(); row.MoveNext())
            entries.prepend(LogLine(row));
        if (entries.size() == LocateQueries::RecentHistory) {
            if (!log.Run(QStringLiteral("Select Count(*) As ENTRIES From MRLCRT.FILLOG Where LOGYER=? And "
                                        "LOGTYP=? And LOGSEQ=?"),
                         key))
                return false;
            earlier = std::max<qint64>(0, log.Data().Field(QStringLiteral("ENTRIES")).toLongLong() -
                                              entries.size());
        }
    }
    const QString number = CaseNumber(key);
    if (entries.isEmpty()) {
        *lines = {number + QStringLiteral(": no folder history recorded")};
        return true;
    }
    *lines = QStringList{number + QStringLiteral(": folder history, oldest first")};
    if (earlier > 0)
        *lines << QStringLiteral("  ") + LocateLists::Earlier(earlier) +
                      QStringLiteral(" (--all shows every entry)");
    *lines += entries;
    return true;
}

} // namespace FolderReport
