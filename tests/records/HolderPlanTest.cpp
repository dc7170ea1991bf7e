#include "TestWorld.h"
#include "records/FolderStatements.h"

#include <gtest/gtest.h>

namespace {

// The holder search ignores letter case and trailing blanks and still reads through an index, on
// each engine: its plan names the index, on a court of 5,000 holders.
TEST(HolderSearch, ThePlanUsesTheHolderIndex)
{
    TestWorld world;
    const bool sqlite = TestWorld::OnSQLite();
    world.Exec(sqlite ? "WITH RECURSIVE g(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM g WHERE n < 5000) "
                        "INSERT INTO MRLCRT.FILCHK SELECT 2009, 'CV', n, 'HOLDER ' || n, 1052026, 'C' FROM g"
                      : "INSERT INTO mrlcrt.filchk SELECT 2009, 'CV', g, 'HOLDER ' || g, 1052026, 'C' "
                        "FROM generate_series(1, 5000) g");
    world.Exec(sqlite ? "ANALYZE MRLCRT" : "ANALYZE mrlcrt.filchk");
    QString statement = QLatin1String(sqlite ? FolderStatements::SelectHolderRange : FolderStatements::SelectHolder);
    if (sqlite)
        statement.replace(statement.indexOf('?'), 1, "'HOLDER 42'").replace('?', "'HOLDER 42!'");
    else
        statement.replace('?', "'HOLDER 42'");
    QStringList plan;
    for (const QVariantList &row : world.Rows((sqlite ? "EXPLAIN QUERY PLAN " : "EXPLAIN ") + statement))
        plan << row.last().toString();
    EXPECT_TRUE(plan.join('\n').contains(sqlite ? "USING INDEX FILCHK_OTO" : "filchk_holder")) << plan.join('\n').toStdString();
    // And it finds the holder as another program wrote it.
    world.Exec("UPDATE MRLCRT.FILCHK SET FILOTO = 'Holder 42  ' WHERE FILSEQ = 42");
    // Only the holder's own rows are read, not those of HOLDER 420 to 4299.
    EXPECT_EQ(world.Rows(statement).size(), 1);
}

} // namespace
