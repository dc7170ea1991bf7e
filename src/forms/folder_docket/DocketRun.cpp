#include "DocketRun.h"

#include "records/DataObject.h"
#include "records/FolderStatements.h"
#include "shared/modFolderLogging.h"
#include "util/modDateTimeFunctions.h"
#include "util/modSQLFixes.h"
#include "util/modTypeOfCase.h"

#include <QLoggingCategory>
#include <limits>

namespace {

Q_LOGGING_CATEGORY(lcDocket, "zorva.docket")

const QString All = QStringLiteral("*ALL");

// A hearing row's key as the loan table needs it, or false when a value is missing or out of
// range (such a row is passed over, not allowed to break the run).
bool KeyOf(const QVariantList &hearing, qint16 *year, QString *type, qint32 *sequence)
{
    bool yearOk = false, sequenceOk = false;
    const qlonglong y = hearing.value(0).toLongLong(&yearOk);
    const qlonglong s = hearing.value(2).toLongLong(&sequenceOk);
    // A server's NULL arrives typed (an int that converts to 0): null is checked, not the conversion.
    if (!yearOk || !sequenceOk || hearing.value(0).isNull() || hearing.value(1).isNull() ||
        hearing.value(2).isNull() || y < std::numeric_limits<qint16>::min() ||
        y > std::numeric_limits<qint16>::max() || s < std::numeric_limits<qint32>::min() ||
        s > std::numeric_limits<qint32>::max())
        return false;
    *year = static_cast<qint16>(y);
    *type = hearing.value(1).toString();
    *sequence = static_cast<qint32>(s);
    return true;
}

} // namespace

DocketRun::DocketRun(const DocketSelection &selection, const QString &user, bool logAuto, bool logManual,
                     QObject *parent)
    : QObject(parent), m_selection(selection), m_user(user), m_logAuto(logAuto), m_logManual(logManual),
      m_today(QDate::currentDate().toString(QStringLiteral("MMddyyyy")))
{
    m_hearings = new DataObject(this);
    m_master = new DataObject(this);
    m_folders = new DataObject(this);
    for (DataObject *data : {m_hearings.data(), m_master.data(), m_folders.data()})
        connect(data, &DataObject::Error, this, [this] { m_failed = true; });
}

DocketRun::~DocketRun() = default;

QString DocketRun::HearingStatement(const DocketSelection &s)
{
    // Judge and room come from the reference lists; their quotes are doubled all the same.
    QString statement =
        QStringLiteral("Select Distinct HRGYER,HRGTYP,HRGSEQ,HRGJDG,HRGROM From MRLCRT.HRGDTA Where HRGHDT=") +
        s.hearingDate.toString(QStringLiteral("yyyyMMdd"));
    if (s.judge != All)
        statement += QStringLiteral(" And HRGJDG='") + modSQLFixes::SQLFix(s.judge) + QLatin1Char('\'');
    // A greater-than test: a room that sorts at or before "*ALL" adds nothing.
    if (s.room > All)
        statement += QStringLiteral(" And HRGROM='") + modSQLFixes::SQLFix(s.room) + QLatin1Char('\'');
    if (s.beginTime > 0) {
        statement += QStringLiteral(" And HRGHTM Between ") +
                     QString::number(modDateTimeFunctions::NormalizeHearingTime(static_cast<qint16>(s.beginTime))) +
                     QStringLiteral(" And ") +
                     QString::number(modDateTimeFunctions::NormalizeHearingTime(static_cast<qint16>(s.endTime)));
    }
    return statement;
}

QString DocketRun::FolderWhereClause(qint16 year, const QString &type, qint32 sequence)
{
    return FolderStatements::KeyCondition(year, type, sequence);
}

qint16 DocketRun::Run(const std::function<void(qsizetype, qsizetype)> &progress)
{
    qint16 count = 0;
    m_hearings->SetStatement(HearingStatement(m_selection));
    m_hearings->Execute();
    const qsizetype total = m_hearings->RowCount();
    for (qsizetype done = 0; !m_failed && !m_hearings->Eof(); m_hearings->MoveNext()) {
        m_hearing = {m_hearings->Field(QStringLiteral("HRGYER")), m_hearings->Field(QStringLiteral("HRGTYP")),
                     m_hearings->Field(QStringLiteral("HRGSEQ")), m_hearings->Field(QStringLiteral("HRGJDG"))};
        qint16 year = 0;
        QString type;
        qint32 sequence = 0;
        if (!KeyOf(m_hearing, &year, &type, &sequence)) {
            qCWarning(lcDocket) << "Hearing row passed over, its case number is incomplete:" << m_hearing;
        } else if (Included(m_hearing[0], m_hearing[1], m_hearing[2]) && !m_failed) {
            const QString where = FolderWhereClause(year, type, sequence);
            m_folders->Execute(QLatin1String(FolderStatements::SelectLoanLiteralPrefix) + where);
            if (m_failed)
                break;
            if (m_selection.action == QLatin1String("*OUT"))
                count = static_cast<qint16>(count + CheckOut(year, type, sequence, where));
            else if (m_selection.action == QLatin1String("*IN"))
                count = static_cast<qint16>(count + CheckIn(year, type, sequence, where));
        }
        if (progress)
            progress(++done, total);
    }
    return count;
}

bool DocketRun::Included(const QVariant &year, const QVariant &type, const QVariant &sequence)
{
    if (m_selection.branch.trimmed().isEmpty())
        return true;
    QString statement = QStringLiteral("Select * From MRLCRT.MASCRM Where MASYER=? And MASTYP=? and MASSEQ=?");
    if (modTypeOfCase::TypeOfCase(type.toString()) == 0)
        statement.replace(QLatin1String("MASCRM"), QLatin1String("MASCIV"));
    m_master->SetStatement(statement);
    m_master->Execute({}, QVariantList{year, type.toString().leftJustified(2, QLatin1Char(' ')), sequence});
    // The branch as typed, not trimmed; a case without a master row is left out.
    return !m_master->Eof() && m_master->Field(QStringLiteral("MASBRN")).toString() == m_selection.branch;
}

qint16 DocketRun::CheckOut(qint16 year, const QString &type, qint32 sequence, const QString &where)
{
    const QString party = m_selection.judge == All ? m_hearing[3].toString() : m_selection.party;
    qint32 affected = 0;
    if (m_folders->Eof()) {
        m_folders->SetStatement(QLatin1String(FolderStatements::InsertLoanDocket));
        affected = m_folders->Execute({}, QVariantList{m_hearing[0], m_hearing[1], m_hearing[2], party, m_today, m_user});
    } else {
        // The loan passes to the new party without a question.
        m_folders->SetStatement(
            FolderStatements::UpdateLoanLiteral(modSQLFixes::SQLFix(party), m_today, modSQLFixes::SQLFix(m_user), where));
        affected = m_folders->Execute();
    }
    if (affected > 0)
        modFolderLogging::LogFolderChange(year, type, sequence, party, true, m_user, m_logAuto, m_logManual);
    return m_failed ? 0 : 1;
}

qint16 DocketRun::CheckIn(qint16 year, const QString &type, qint32 sequence, const QString &where)
{
    // A folder that is not on loan is passed over without counting.
    if (m_folders->Eof())
        return 0;
    const QString party = m_folders->Field(QStringLiteral("FILOTO")).toString();
    const qint32 affected = m_folders->Execute(QLatin1String(FolderStatements::DeleteLoanLiteralPrefix) + where);
    if (affected > 0)
        modFolderLogging::LogFolderChange(year, type, sequence, party, false, m_user, m_logAuto, m_logManual);
    return m_failed ? 0 : 1;
}

void DocketRun::Close()
{
    for (DataObject *data : {m_hearings.data(), m_master.data(), m_folders.data()}) {
        if (data)
            data->Close();
    }
}
