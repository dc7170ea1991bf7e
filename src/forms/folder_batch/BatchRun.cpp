#include "BatchRun.h"

#include "records/DataObject.h"
#include "records/FolderStatements.h"
#include "records/Transaction.h"
#include "shared/modFolderLogging.h"

#include <QCoreApplication>
#include <QDate>

namespace {
QString RightTrimmed(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}
} // namespace

BatchRun::BatchRun(DataObject *folders, Settings settings)
    : m_folders(folders), m_settings(std::move(settings)),
      m_today(QDate::currentDate().toString(QStringLiteral("MMddyyyy")))
{
}

int BatchRun::Run(const QList<Row> &rows, const std::function<void(qsizetype)> &changed,
                     const std::function<void(qsizetype, qsizetype)> &progress)
{
    int count = 0;
    m_failed = false;
    m_why = QStringList(rows.size(), QString());
    modFolderLogging::FailureTally unlogged;
    if (!m_folders)
        return count;
    const QMetaObject::Connection watch =
        QObject::connect(m_folders, &DataObject::Error, m_folders, [this] { m_failed = true; });
    for (qsizetype i = rows.size() - 1; i >= 0 && !m_failed; --i) {
        if (progress)
            progress(rows.size() - 1 - i, rows.size());
        const Row &row = rows.at(i);
        const qint16 year = static_cast<qint16>(row.year);
        const qint32 sequence = static_cast<qint32>(row.sequence);
        // From the look-up to the commit the folder is this clerk's: what was read is what is changed.
        Transaction change(year, row.type, sequence);
        if (!change.Held(m_folders.data()))
            break;
        m_folders->Execute(QLatin1String(FolderStatements::SelectLoan), QVariantList{row.year, row.type, row.sequence},
                           true, true);
        if (m_failed)
            break;
        const bool onLoan = !m_folders->Eof();
        const QString holder = onLoan ? m_folders->Field(QStringLiteral("FILOTO")).toString() : QString();
        if (m_settings.action == QLatin1String("*IN")) {
            if (!onLoan) {
                m_why[i] = QCoreApplication::translate("frmFolderBatch", "Not checked in: the folder is not on loan.");
                continue;
            }
            if (RightTrimmed(holder) != RightTrimmed(row.holder)) {
                // The grid shows another holder: the check-in would end a loan the clerk did not see
                // and log a return that never happened.
                m_why[i] = QCoreApplication::translate("frmFolderBatch", "Not checked in: now on loan to %1.").arg(holder.trimmed());
                continue;
            }
            const qint32 affected = m_folders->Execute(QLatin1String(FolderStatements::DeleteLoanBatch),
                                                       QVariantList{row.year, row.type, row.sequence}, true, true);
            if (m_failed)
                break;
            if (affected > 0)
                modFolderLogging::LogFolderChange(year, row.type, sequence, row.holder, false, m_settings.user,
                                                  m_settings.logAuto, m_settings.logManual);
            if (!change.Commit(m_folders.data()))
                break;
        } else if (m_settings.action == QLatin1String("*OUT")) {
            if (onLoan) {
                m_why[i] = holder == m_settings.party
                               ? QCoreApplication::translate("frmFolderBatch", "Not checked out: already out to this party.")
                               : QCoreApplication::translate("frmFolderBatch", "Not checked out: on loan to %1.").arg(holder);
                continue;
            }
            const qint32 affected = m_folders->Execute(
                QLatin1String(FolderStatements::InsertLoan),
                QVariantList{m_settings.party, m_today, m_settings.user, row.year, row.type, row.sequence}, true, true);
            if (m_failed)
                break;
            if (affected > 0)
                modFolderLogging::LogFolderChange(year, row.type, sequence, m_settings.party, true, m_settings.user,
                                                  m_settings.logAuto, m_settings.logManual);
            if (!change.Commit(m_folders.data()))
                break;
        } else {
            m_why[i] = QCoreApplication::translate("frmFolderBatch", "Not changed: neither check-out nor check-in was chosen.");
            continue;
        }
        ++count;
        if (changed)
            changed(i);
    }
    QObject::disconnect(watch);
    if (!m_failed)
        unlogged.Report();
    return count;
}

