#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What one clerk of the load test did, action by action, as its windows showed it: written by
// the clerk's process as it goes, read back by the check after the run.
namespace LoadJournal {

// A folder, as "2026 CF 100003".
struct Row
{
    QString key;
    QString holder;       // the batch grid's "Checked Out" cell after the lookup
    bool changed = false; // gone from the grid after the run
};

struct Action
{
    QString kind;    // "save", "delete", "batch out", "batch in", "docket out", "docket in"
    QString outcome; // "wrote", "refused" (the window said the folder changed), "error" (a Data Error)
    double ms = 0;   // the clerk's wait: Save or Delete until done or told; a whole run
    double at = 0;   // when the action began, ms from the start of the run
    // The editor's folder and what its window showed before the clerk acted.
    QString key;
    bool shownOnLoan = false;
    QString shownParty, shownUser;
    QString party;         // the party written: the editor's and the batch's check-out; the docket's judge
    int count = 0;         // the run's count of changes
    QList<Row> rows;       // the batch's rows, in grid order
    QList<double> lookups; // the batch lookups' times, ms
    QStringList boxes;
};

QString Line(const Action &a);
// False when the line is not one Line() writes.
bool Parse(const QString &line, Action *a);

} // namespace LoadJournal

namespace LoadJournal {

// The hot folders: the first n cases of the benchmark court's docket (BenchCourt), all heard on
// its day, each before its judge.
struct Folder
{
    qint16 year;
    QString type;
    qint32 sequence;
    QString judge;
    QString Key() const;
};
QList<Folder> HotFolders(int n);

} // namespace LoadJournal
