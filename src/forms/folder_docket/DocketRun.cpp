#include "DocketRun.h"

#include "records/DataObject.h"
#include "records/CaseKey.h"
#include "records/FolderStatements.h"
#include "records/Transaction.h"
#include "shared/modFolderLogging.h"
#include "util/modDateTimeFunctions.h"
#include "util/modSQLFixes.h"
#include "util/modTypeOfCase.h"

#include <QLoggingCategory>
#include <QStringBuilder>

namespace {

Q_LOGGING_CATEGORY(lcDocket, "zorva.docket")

const QString All = QStringLiteral("*ALL");
constexpr qsizetype PartyLength = 13; // what every loaned-to box accepts

QString Shown(const QVariant &value)
{
    return value.isNull() ? QStringLiteral("(none)") : value.toString().left(20);
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

int DocketRun::Run(const std::function<void(qsizetype, qsizetype)> &progress)
{
    int count = 0;
    m_leftOut.clear();
    modFolderLogging::FailureTally unlogged;
    m_hearings->SetStatement(HearingStatement(m_selection));
    m_hearings->Execute();
    const qsizetype total = m_hearings->RowCount();
    for (qsizetype done = 0; !m_failed && !m_hearings->Eof(); m_hearings->MoveNext()) {
        m_hearing = {m_hearings->Field(QStringLiteral("HRGYER")), m_hearings->Field(QStringLiteral("HRGTYP")),
                     m_hearings->Field(QStringLiteral("HRGSEQ")), m_hearings->Field(QStringLiteral("HRGJDG"))};
        QString why;
        const std::optional<CaseKey> key = CaseKey::FromRow(m_hearing[0], m_hearing[1], m_hearing[2], &why);
        if (key && m_selection.action == QLatin1String("*OUT") && m_selection.judge == All) {
            const QString judge = m_hearing[3].toString();
            if (m_hearing[3].isNull() || judge.trimmed().isEmpty())
                why = QStringLiteral("the hearing names no judge to check the folder out to");
            else if (judge.size() > PartyLength)
                why = QStringLiteral("the judge \"%1\" is longer than %2 characters").arg(judge.left(20)).arg(PartyLength);
        }
        if (!why.isEmpty()) {
            // Never a literal statement from a row that is no case key: the row is left out and
            // the clerk told at the end.
            m_leftOut << QStringLiteral("%1 %2 %3: %4").arg(Shown(m_hearing[0]), Shown(m_hearing[1]),
                                                           Shown(m_hearing[2]), why);
            qCWarning(lcDocket).noquote() << "Hearing row left out:" << m_leftOut.last();
        } else if (Included(m_hearing[0], m_hearing[1], m_hearing[2]) && !m_failed) {
            const QString where = FolderWhereClause(key->year, key->type, key->sequence);
            // From the look-up to the commit the folder is this run's: what was read is what is changed.
            Transaction change(key->year, key->type, key->sequence);
            if (!change.Held(m_folders.data()))
                break;
            m_folders->Execute(QLatin1String(FolderStatements::SelectLoanLiteralPrefix) % where);
            if (m_failed)
                break;
            if (m_selection.action == QLatin1String("*OUT"))
                count += CheckOut(change, key->year, key->type, key->sequence, where);
            else if (m_selection.action == QLatin1String("*IN"))
                count += CheckIn(change, key->year, key->type, key->sequence, where);
        }
        if (progress)
            progress(++done, total);
    }
    if (!m_failed)
        unlogged.Report();
    return count;
}

bool DocketRun::Included(const QVariant &year, const QVariant &type, const QVariant &sequence)
{
    if (m_selection.branch.trimmed().isEmpty())
        return true;
    // The criminal master's query, rewritten for the civil master once, not per hearing.
    static const QString criminal = QStringLiteral("Select * From MRLCRT.MASCRM Where MASYER=? And MASTYP=? and MASSEQ=?");
    static const QString civil = QString(criminal).replace(QLatin1String("MASCRM"), QLatin1String("MASCIV"));
    m_master->SetStatement(modTypeOfCase::TypeOfCase(type.toString()) == 0 ? civil : criminal);
    m_master->Execute({}, QVariantList{year, type.toString().leftJustified(2, QLatin1Char(' ')), sequence});
    // The branch as typed, not trimmed; a case without a master row is left out.
    return !m_master->Eof() && m_master->Field(QStringLiteral("MASBRN")).toString() == m_selection.branch;
}

int DocketRun::CheckOut(Transaction &change, qint16 year, const QString &type, qint32 sequence, const QString &where)
{
    const QString party = m_selection.judge == All ? m_hearing[3].toString() : m_selection.party;
    qint32 affected = 0;
    if (m_folders->Eof()) {
        static const QString insert = QLatin1String(FolderStatements::InsertLoanDocket);
        m_folders->SetStatement(insert);
        affected = m_folders->Execute({}, QVariantList{m_hearing[0], m_hearing[1], m_hearing[2], party, m_today, m_user});
    } else {
        // The loan passes to the new party without a question.
        m_folders->SetStatement(
            FolderStatements::UpdateLoanLiteral(modSQLFixes::SQLFix(party), m_today, modSQLFixes::SQLFix(m_user), where));
        affected = m_folders->Execute();
    }
    if (m_failed)
        return 0;
    if (affected > 0)
        modFolderLogging::LogFolderChange(year, type, sequence, party, true, m_user, m_logAuto, m_logManual);
    return change.Commit(m_folders.data()) ? 1 : 0;
}

int DocketRun::CheckIn(Transaction &change, qint16 year, const QString &type, qint32 sequence, const QString &where)
{
    // A folder that is not on loan is passed over without counting.
    if (m_folders->Eof())
        return 0;
    const QString party = m_folders->Field(QStringLiteral("FILOTO")).toString();
    const qint32 affected = m_folders->Execute(QLatin1String(FolderStatements::DeleteLoanLiteralPrefix) % where);
    if (m_failed)
        return 0;
    if (affected > 0)
        modFolderLogging::LogFolderChange(year, type, sequence, party, false, m_user, m_logAuto, m_logManual);
    return change.Commit(m_folders.data()) ? 1 : 0;
}


void DocketRun::Close()
{
    for (DataObject *data : {m_hearings.data(), m_master.data(), m_folders.data()}) {
        if (data)
            data->Close();
    }
}
