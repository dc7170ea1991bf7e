#pragma once

#include "LoadJournal.h"

#include <QMap>
#include <QStringList>

// The check after a load run. Each clerk's log rows (by its user name, in the order written)
// are matched to the changes its journal says it made; then every folder's log is replayed in
// the order written, from the loans before the run: each change must find the folder as the
// clerk's window showed it (the editor: holder and recording user; the batch check-in: the
// grid's holder; the batch check-out: not on loan), each return must name the holder whose loan
// it ended, and the replayed loans must be the court's loans after the run.
class LoadReplay
{
public:
    struct Loan
    {
        QString party, user; // party empty: not on loan
        bool operator==(const Loan &) const = default;
    };
    struct LogRow
    {
        QString key, user, party;
        bool out = false;
    };

    LoadReplay(QMap<QString, Loan> before, int hotFolders);
    void AddClerk(const QString &user, const QList<LoadJournal::Action> &actions);
    // Every rule broken, each in a line naming the clerk, the action and the folder.
    QStringList Check(const QList<LogRow> &log, const QMap<QString, Loan> &after);

private:
    // What a log row must find before it: the change's clerk, action, and the loan its window showed.
    struct Expect
    {
        enum Before { Shown, Holder, NotOnLoan, Any } before = Any;
        Loan shown;
        QString what; // "CLERK07 action 12 (save)"
    };
    struct Change
    {
        QString key;
        bool out;
        QString party;    // empty: any (a docket's return names whoever held it)
        QStringList keys; // a docket's: any of these
        Expect expect;
        bool optional = false; // after a Data Error, the change may or may not have been made
    };
    static QString Shown(const Loan &loan);

    QMap<QString, Loan> m_before;
    QList<LoadJournal::Folder> m_folders;
    QMap<QString, QList<Change>> m_changes; // by user, in the clerk's order
};
