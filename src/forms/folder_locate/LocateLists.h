#pragma once

#include "LocateQueries.h"

#include <QStringList>

// The locator's answers as lists a clerk reads: a heading, the columns and the rows, the same in
// the window, in print, in the exports and on the command line.
namespace LocateLists {

struct List
{
    QString heading;
    QStringList columns;
    QList<QStringList> rows;
};

enum View { CaseView, HolderView, PullView, OverdueView };
QStringList Columns(View view);

QString CaseNumber(const CaseKey &key);
// "2009-CV-000123: out to SMI since 01/05/2026, recorded by CLERK1", or "...: in the file room".
QString LocationLine(const LocateQueries::Location &where);
// "0-7 days: 3, 8-30 days: 1, 31-90 days: 0, over 90 days: 2"
QString AgesLine(const LocateQueries::Ages &ages);
QString BandName(int band);

List Case(const LocateQueries::Location &where);
// "and 3 earlier": what a capped history leaves out.
QString Earlier(qint64 count);
List Holder(const QString &holder, const QList<LocateQueries::Loan> &loans);
List Pull(const DocketSelection &selection, const QList<LocateQueries::Pull> &pulls);
// "Pull list for 12/07/2026, judge SMI: 3 hearing(s)"; without the count when it is -1 (not yet known).
QString PullHeading(const DocketSelection &selection, qsizetype count);
// more: the groups hold only the folders out longest, and there are others.
List Overdue(int days, const QList<LocateQueries::HolderGroup> &groups, const LocateQueries::Ages &ages, bool more = false);
// "Folders out longer than 30 days: 12, by holder, oldest first" and the age line below it.
QString OverdueHeading(int days, qsizetype count, bool more, const LocateQueries::Ages &ages);

} // namespace LocateLists
