#include "LoadReplay.h"

#include <algorithm>

LoadReplay::LoadReplay(QMap<QString, Loan> before, int hotFolders)
    : m_before(std::move(before)), m_folders(LoadJournal::HotFolders(hotFolders))
{}

QString LoadReplay::Shown(const Loan &loan)
{
    return loan.party.isEmpty() ? QStringLiteral("not on loan")
                                : QStringLiteral("out to %1 (by %2)").arg(loan.party, loan.user);
}

void LoadReplay::AddClerk(const QString &user, const QList<LoadJournal::Action> &actions)
{
    QList<Change> &changes = m_changes[user];
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const LoadJournal::Action &a = actions.at(i);
        const QString what = QStringLiteral("%1 action %2 (%3%4)")
                                 .arg(user)
                                 .arg(i + 1)
                                 .arg(a.kind, a.key.isEmpty() ? QString() : QStringLiteral(" of ") + a.key);
        const Loan shown = a.shownOnLoan ? Loan{a.shownParty.trimmed(), a.shownUser.trimmed()} : Loan{};
        const bool error = a.outcome == QLatin1String("error") || a.outcome == QLatin1String("hang");
        if (a.kind == QLatin1String("save") || a.kind == QLatin1String("delete")) {
            if (a.outcome == QLatin1String("refused"))
                continue;
            const bool save = a.kind == QLatin1String("save");
            changes.append(
                {a.key, save, save ? a.party : shown.party, {}, {Expect::Shown, shown, what}, error});
        } else if (a.kind.startsWith(QLatin1String("batch"))) {
            const bool out = a.kind == QLatin1String("batch out");
            // The run goes from the last row to the first.
            for (auto row = a.rows.crbegin(); row != a.rows.crend(); ++row) {
                if (!row->changed)
                    continue;
                changes.append({row->key,
                                out,
                                out ? a.party : row->holder.trimmed(),
                                {},
                                {out ? Expect::NotOnLoan : Expect::Holder, {row->holder.trimmed(), {}}, what},
                                false});
            }
        } else {
            QStringList keys;
            for (const LoadJournal::Folder &f : m_folders)
                if (f.judge == a.party)
                    keys << f.Key();
            const bool out = a.kind == QLatin1String("docket out");
            // The docket shows no loans: its check-out passes any loan to the judge, as the
            // clerk asked; its return must still name whoever held the folder.
            for (int n = 0; n < a.count; ++n)
                changes.append({{}, out, out ? a.party : QString(), keys, {Expect::Any, {}, what}, false});
        }
    }
}

QStringList LoadReplay::Check(const QList<LogRow> &log, const QMap<QString, Loan> &after)
{
    QStringList broken;
    // Match each clerk's log rows, in order, to the changes its journal lists.
    QList<const Expect *> expects(log.size(), nullptr);
    QMap<QString, qsizetype> next; // by user: the next change of theirs to match
    QMap<QString, bool> lost;      // a clerk whose rows stopped matching: the rest is not matched
    for (qsizetype r = 0; r < log.size(); ++r) {
        const LogRow &row = log.at(r);
        if (lost.value(row.user))
            continue;
        QList<Change> &changes = m_changes[row.user];
        qsizetype &at = next[row.user];
        const auto matches = [&row](const Change &c) {
            return c.out == row.out && (c.key.isEmpty() ? c.keys.contains(row.key) : c.key == row.key) &&
                   (c.party.isEmpty() || c.party == row.party.trimmed());
        };
        // An optional change (the clerk met a Data Error) may have left no row.
        while (at < changes.size() && changes.at(at).optional && !matches(changes.at(at)))
            ++at;
        if (at >= changes.size()) {
            broken << QStringLiteral("log row %1 (%2 %3 %4 by %5) is no change any clerk was told of")
                          .arg(r + 1)
                          .arg(row.key, row.out ? QStringLiteral("out to") : QStringLiteral("in from"),
                               row.party, row.user);
            lost[row.user] = true;
            continue;
        }
        if (!matches(changes.at(at))) {
            const Change &c = changes.at(at);
            broken << QStringLiteral("%1: expected its log row %2 %3 %4, the log has %5 %6 %7 (row %8)")
                          .arg(c.expect.what, c.key.isEmpty() ? QStringLiteral("(docket folder)") : c.key,
                               c.out ? QStringLiteral("out to") : QStringLiteral("in from"), c.party, row.key,
                               row.out ? QStringLiteral("out to") : QStringLiteral("in from"), row.party)
                          .arg(r + 1);
            lost[row.user] = true;
            continue;
        }
        expects[r] = &changes.at(at).expect;
        ++at;
    }
    for (auto it = m_changes.cbegin(); it != m_changes.cend(); ++it) {
        for (qsizetype at = next.value(it.key()); !lost.value(it.key()) && at < it.value().size(); ++at)
            if (!it.value().at(at).optional)
                broken << it.value().at(at).expect.what + QStringLiteral(": changed, and no log row says so");
    }

    // Replay each folder's log in the order written.
    QMap<QString, Loan> state = m_before;
    for (qsizetype r = 0; r < log.size(); ++r) {
        const LogRow &row = log.at(r);
        const Loan was = state.value(row.key);
        const Expect *e = expects.at(r);
        const QString who = e ? e->what : row.user;
        if (!row.out && was.party != row.party.trimmed())
            broken << QStringLiteral("%1: logged a return from %2 of %3, which was %4")
                          .arg(who, row.party.trimmed(), row.key, Shown(was));
        if (e && e->before == Expect::Shown && was != e->shown)
            broken << QStringLiteral("%1: wrote over %2 while its window showed %3")
                          .arg(who, Shown(was), Shown(e->shown));
        if (e && e->before == Expect::Holder && was.party != e->shown.party)
            broken << QStringLiteral("%1: ended %2 while its grid showed %3")
                          .arg(who, Shown(was), e->shown.party);
        if (e && e->before == Expect::NotOnLoan && !was.party.isEmpty())
            broken << QStringLiteral("%1: checked out %2, which was %3").arg(who, row.key, Shown(was));
        state[row.key] = row.out ? Loan{row.party.trimmed(), row.user} : Loan{};
    }
    QStringList keys = state.keys() + after.keys();
    keys.removeDuplicates();
    for (const QString &key : std::as_const(keys)) {
        const Loan logged = state.value(key), court = after.value(key);
        if (logged != court)
            broken << QStringLiteral("%1: the court holds it %2, its log says %3")
                          .arg(key, Shown(court), Shown(logged));
    }
    return broken;
}
