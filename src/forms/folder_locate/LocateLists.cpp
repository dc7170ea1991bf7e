#include "LocateLists.h"

#include "util/modDateTimeFunctions.h"
#include "util/modFormatCaseNumber.h"

namespace LocateLists {
namespace {

const QString All = QStringLiteral("*ALL");

QString Since(const LocateQueries::Loan &loan)
{
    return loan.since.isValid() ? loan.since.toString(QStringLiteral("MM/dd/yyyy")) : QStringLiteral("(no date)");
}

QString Days(const LocateQueries::Loan &loan) { return loan.daysOut < 0 ? QString() : QString::number(loan.daysOut); }

QString Time(qint32 hhmm)
{
    return QStringLiteral("%1:%2").arg(hhmm / 100, 2, 10, QLatin1Char('0')).arg(hhmm % 100, 2, 10, QLatin1Char('0'));
}

QString Normalized(qint32 typed)
{
    return Time(modDateTimeFunctions::NormalizeHearingTime(static_cast<qint16>(typed)));
}

QString OutTo(const LocateQueries::Loan &loan)
{
    return QStringLiteral("out to %1 since %2").arg(loan.holder, Since(loan));
}

} // namespace

QStringList Columns(View view)
{
    switch (view) {
    case CaseView:
        return {QStringLiteral("When"), QStringLiteral("Change"), QStringLiteral("Party"), QStringLiteral("Recorded by")};
    case HolderView:
        return {QStringLiteral("Case"), QStringLiteral("Since"), QStringLiteral("Days out"), QStringLiteral("Recorded by")};
    case PullView:
        return {QStringLiteral("Time"), QStringLiteral("Room"),  QStringLiteral("Judge"),
                QStringLiteral("Case"), QStringLiteral("Title"), QStringLiteral("Folder")};
    case OverdueView:
        return {QStringLiteral("Holder"), QStringLiteral("Case"), QStringLiteral("Since"), QStringLiteral("Days out"),
                QStringLiteral("Recorded by")};
    }
    return {};
}

QString CaseNumber(const CaseKey &key)
{
    return modFormatCaseNumber::FormatCaseNumber(key.year, key.type, key.sequence, QString(), 0, true);
}

QString LocationLine(const LocateQueries::Location &where)
{
    QString text = CaseNumber(where.key) + QStringLiteral(": ");
    if (where.loan)
        text += OutTo(*where.loan) + QStringLiteral(", recorded by ") + where.loan->user;
    else
        text += QStringLiteral("in the file room");
    if (!where.known)
        text += QStringLiteral(" (no such case on file)");
    return text;
}

QString BandName(int band)
{
    static const char *const names[] = {"0-7 days", "8-30 days", "31-90 days", "over 90 days"};
    return QLatin1String(names[band]);
}

QString AgesLine(const LocateQueries::Ages &ages)
{
    QStringList bands;
    for (int band = 0; band < 4; ++band)
        bands << QStringLiteral("%1: %2").arg(BandName(band)).arg(ages[static_cast<size_t>(band)]);
    return bands.join(QStringLiteral(", "));
}

List Case(const LocateQueries::Location &where)
{
    List list{LocationLine(where) + QStringLiteral("\nCustody history, newest first"), Columns(CaseView), {}};
    for (const LocateQueries::Custody &entry : where.history)
        list.rows << QStringList{entry.when, entry.out ? QStringLiteral("out to") : QStringLiteral("back from"), entry.party,
                                 entry.user};
    return list;
}

QString Earlier(qint64 count)
{
    return QStringLiteral("and %1 earlier").arg(count);
}

List Holder(const QString &holder, const QList<LocateQueries::Loan> &loans)
{
    List list{QStringLiteral("Folders out to %1: %2, oldest first").arg(holder).arg(loans.size()), Columns(HolderView), {}};
    for (const LocateQueries::Loan &loan : loans)
        list.rows << QStringList{CaseNumber(loan.key), Since(loan), Days(loan), loan.user};
    return list;
}

List Pull(const DocketSelection &s, const QList<LocateQueries::Pull> &pulls)
{
    List list{PullHeading(s, pulls.size()), Columns(PullView), {}};
    for (const LocateQueries::Pull &pull : pulls) {
        QString folder = QStringLiteral("in the file room");
        if (pull.loan)
            folder = pull.withJudge ? QStringLiteral("with the judge since %1").arg(Since(*pull.loan)) : OutTo(*pull.loan);
        list.rows << QStringList{Time(pull.time), pull.room, pull.judge, pull.caseNumber, pull.title, folder};
    }
    return list;
}

QString PullHeading(const DocketSelection &s, qsizetype count)
{
    QString heading = QStringLiteral("Pull list for %1").arg(s.hearingDate.toString(QStringLiteral("MM/dd/yyyy")));
    if (s.judge != All)
        heading += QStringLiteral(", judge %1").arg(s.judge);
    if (s.room > All)
        heading += QStringLiteral(", courtroom %1").arg(s.room);
    if (s.beginTime > 0)
        heading += QStringLiteral(", %1 to %2").arg(Normalized(s.beginTime), Normalized(s.endTime));
    if (!s.branch.trimmed().isEmpty())
        heading += QStringLiteral(", branch %1").arg(s.branch);
    return count < 0 ? heading : heading + QStringLiteral(": %1 hearing(s)").arg(count);
}

List Overdue(int days, const QList<LocateQueries::HolderGroup> &groups, const LocateQueries::Ages &ages, bool more)
{
    List list{{}, Columns(OverdueView), {}};
    for (const LocateQueries::HolderGroup &group : groups)
        for (const LocateQueries::Loan &loan : group.loans)
            list.rows << QStringList{group.holder, CaseNumber(loan.key), Since(loan), Days(loan), loan.user};
    list.heading = OverdueHeading(days, list.rows.size(), more, ages);
    return list;
}

QString OverdueHeading(int days, qsizetype count, bool more, const LocateQueries::Ages &ages)
{
    const QString listed = more ? QStringLiteral("the %1 out longest (there are more)").arg(count) : QString::number(count);
    return QStringLiteral("Folders out longer than %1 days: %2, by holder, oldest first\nFolders out by age - %3")
        .arg(days)
        .arg(listed, AgesLine(ages));
}

} // namespace LocateLists
