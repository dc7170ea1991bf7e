// What the load test calls a lost update or a missing log row, on small logs worked by hand: two
// clerks, hot folders K0 (judge SMI) and K1 (judge JON), each row the loans before, what each
// clerk's journal says its windows showed and did, the log in the order written, the loans after,
// and every broken rule the check must name (none for a sound interleaving).
#include "LoadReplay.h"

#include <gtest/gtest.h>

namespace {

using Action = LoadJournal::Action;
const QString K0 = "2026 CF 100000", K1 = "2026 CA 100001", C1 = "CLERK01", C2 = "CLERK02";
const LoadReplay::Loan Old{"OLD", "OLD"}, None{};

Action Editor(const char *kind, const QString &key, const LoadReplay::Loan &shown, const char *party,
              const char *outcome)
{
    Action a;
    a.kind = kind;
    a.key = key;
    a.shownOnLoan = !shown.party.isEmpty();
    a.shownParty = shown.party;
    a.shownUser = shown.user;
    a.party = party;
    a.outcome = outcome;
    return a;
}
Action Save(const QString &key, const LoadReplay::Loan &shown, const char *party,
            const char *outcome = "wrote")
{
    return Editor("save", key, shown, party, outcome);
}
Action Delete(const QString &key, const LoadReplay::Loan &shown, const char *outcome = "wrote")
{
    return Editor("delete", key, shown, "", outcome);
}
// rows: key, the grid's holder, changed by the run
Action Batch(const char *kind, const char *party, const QList<LoadJournal::Row> &rows)
{
    Action a;
    a.kind = kind;
    a.party = party;
    a.rows = rows;
    a.outcome = "wrote";
    return a;
}
Action Docket(const char *kind, const char *judge, int count)
{
    Action a;
    a.kind = kind;
    a.party = judge;
    a.count = count;
    a.outcome = "wrote";
    return a;
}

struct Row
{
    const char *name;
    QMap<QString, LoadReplay::Loan> before;
    QList<Action> clerk1, clerk2;
    QList<LoadReplay::LogRow> log; // key, user, party, out
    QMap<QString, LoadReplay::Loan> after;
    QStringList broken;
};

const Row rows[] = {
    {"each clerk changes the loan its window showed",
     {{K0, Old}},
     {Save(K0, Old, "E1")},
     {Save(K0, {"E1", C1}, "E2")},
     {{K0, C1, "E1", true}, {K0, C2, "E2", true}},
     {{K0, {"E2", C2}}},
     {}},
    {"the same holder recorded by another clerk is another loan",
     {{K0, Old}},
     {Save(K0, Old, "E1")},
     {Save(K0, {"E1", "OLD"}, "E2")},
     {{K0, C1, "E1", true}, {K0, C2, "E2", true}},
     {{K0, {"E2", C2}}},
     {"CLERK02 action 1 (save of 2026 CF 100000): wrote over out to E1 (by CLERK01) while its window showed "
      "out to E1 (by OLD)"}},
    {"a Delete of a folder returned meanwhile",
     {{K0, Old}},
     {Delete(K0, Old)},
     {Delete(K0, Old)},
     {{K0, C1, "OLD", false}, {K0, C2, "OLD", false}},
     {},
     {"CLERK02 action 1 (delete of 2026 CF 100000): logged a return from OLD of 2026 CF 100000, which was "
      "not on loan",
      "CLERK02 action 1 (delete of 2026 CF 100000): wrote over not on loan while its window showed out to "
      "OLD (by OLD)"}},
    {"a change without its log row",
     {{K0, Old}},
     {Save(K0, Old, "E1")},
     {},
     {},
     {{K0, {"E1", C1}}},
     {"CLERK01 action 1 (save of 2026 CF 100000): changed, and no log row says so",
      "2026 CF 100000: the court holds it out to E1 (by CLERK01), its log says out to OLD (by OLD)"}},
    {"a log row for a change the clerk was told did not happen",
     {{K0, Old}},
     {Save(K0, Old, "E1", "refused")},
     {},
     {{K0, C1, "E1", true}},
     {{K0, {"E1", C1}}},
     {"log row 1 (2026 CF 100000 out to E1 by CLERK01) is no change any clerk was told of"}},
    {"a batch check-in of a folder lent to another since the grid showed it",
     {{K0, Old}},
     {Save(K0, Old, "E1")},
     {Batch("batch in", "", {{K0, "OLD", true}})},
     {{K0, C1, "E1", true}, {K0, C2, "OLD", false}},
     {},
     {"CLERK02 action 1 (batch in): logged a return from OLD of 2026 CF 100000, which was out to E1 (by "
      "CLERK01)",
      "CLERK02 action 1 (batch in): ended out to E1 (by CLERK01) while its grid showed OLD"}},
    {"a docket logs a folder of another judge",
     {},
     {Docket("docket out", "SMI", 1)},
     {},
     {{K1, C1, "SMI", true}, {K0, C1, "SMI", true}},
     {{K0, {"SMI", C1}}, {K1, {"SMI", C1}}},
     {"CLERK01 action 1 (docket out): expected its log row (docket folder) out to SMI, the log has 2026 CA "
      "100001 out to SMI (row 1)"}},
    {"another program changed a loan without a log row",
     {{K0, Old}},
     {},
     {},
     {},
     {{K0, {"X", "OTHER"}}},
     {"2026 CF 100000: the court holds it out to X (by OTHER), its log says out to OLD (by OLD)"}},
};

TEST(LoadReplay, NamesEveryLostUpdateAndMissingLogRow)
{
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        LoadReplay replay(row.before, 2);
        replay.AddClerk(C1, row.clerk1);
        replay.AddClerk(C2, row.clerk2);
        EXPECT_EQ(replay.Check(row.log, row.after), row.broken);
    }
}

} // namespace
