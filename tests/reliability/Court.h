#pragma once

#include "TestWorld.h"

#include <QMap>
#include <QStringList>
#include <functional>

// The court every reliability test starts from: hearings of 2010-CF-1 to n on Day, judge SMI,
// and the clerks' runs as the windows start them, with logging on.
namespace Court {

inline const QDate Day(2026, 12, 7);

void Hearings(const TestWorld &world, int folders);

struct Outcome
{
    int count = 0;
    QStringList errors;  // the Data Error texts, in order
    QStringList leftOut; // a docket's hearing rows left out, each with its reason
};

// "docket out" (each folder to its hearing's judge), "batch out" (to DA OFFICE) or "batch in"
// (as held by EARLIER), over 2010-CF-1 to n; visited() follows each folder the run gets to.
Outcome Run(const QString &user, const QString &run, int folders, const std::function<void()> &visited = {});

// Loans as "year type seq" -> party.
QMap<QString, QString> Loans(const TestWorld &world);

// The log tells where each folder is: its last log row says out to whom, or back; a folder with
// no log row is as it was before. Returns the folders whose loan the log does not explain.
QStringList Unexplained(const TestWorld &world, const QMap<QString, QString> &before);

// SQLite's own check of the court file; "ok" on a server, whose files are not ours to check.
QString Integrity(const TestWorld &world);

} // namespace Court
