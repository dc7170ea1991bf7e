#include "ZorvaDb.h"

#include <gtest/gtest.h>

namespace {

// Seeding again resets the demo's own rows; a court that holds anything else (a clerk's loan
// on a demo case, a clerk's own case, a history row) is refused and left as it was, unless
// --force says so. init on a court in use keeps every row.
TEST(ZorvaDbSeed, RefusesACourtInUseUnlessForced)
{
    const QString lent = QStringLiteral("SELECT FILOTO FROM MRLCRT.FILCHK WHERE FILYER=2009 AND FILSEQ=123");
    const QString changeLoan = QStringLiteral("UPDATE MRLCRT.FILCHK SET FILOTO='SOMEONE' WHERE FILYER=2009 AND FILSEQ=123");
    const QStringList seed{"seed-demo"}, force{"seed-demo", "--force"};
    // byHand: a clerk's work after the first seeding; command: run on the court after it; told: the
    // refusal's words; query and after: what the court then gives.
    const struct { const char *name; QStringList byHand; QStringList command; int exitCode; QStringList told; QString query; QVariant after; } cases[] = {
        {"only demo rows", {}, seed, 0, {}, lent, "SMI"},
        {"a demo case's loan changed", {changeLoan}, seed, 1, {"1 loan (2009-CV-000123)", "--force", "nothing was written"}, lent, "SOMEONE"},
        {"a clerk's own case on loan",
         {"INSERT INTO MRLCRT.MASCIV VALUES (2026, 'CA', 777, 'PL', 1, 'N', 'KLEIN, RUTH', '')",
          "INSERT INTO MRLCRT.FILCHK VALUES (2026, 'CA', 777, 'PUBLIC DEF', 12012026, 'ME')"},
         seed, 1, {"1 case (2026-CA-000777)", "1 loan (2026-CA-000777)"}, "SELECT count(*) FROM MRLCRT.FILCHK WHERE FILSEQ=777", 1},
        {"a clerk's own hearing",
         {"INSERT INTO MRLCRT.HRGDTA VALUES (2026, 'CA', 778, 'SMI', '1', 20261207, 900)"},
         seed, 1, {"1 case (2026-CA-000778)"}, QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA WHERE HRGSEQ=778"), 1},
        {"a clerk's history row",
         {"INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-02-01T10:00:00.000Z', 2009, 'CV', 123, 0, 'ME', 'JUDGE', 1)"},
         seed, 1, {"1 history row (2009-CV-000123)"}, QStringLiteral("SELECT count(*) FROM MRLCRT.FILLOG WHERE LOGUSR='ME'"), 1},
        {"a case type with an escape in it",
         {"INSERT INTO MRLCRT.FILCHK VALUES (2026, 'C\x1b', 779, 'SMI', 12012026, 'ME')"},
         seed, 1, {"1 loan (2026-C\\x1b-000779)"}, QStringLiteral("SELECT count(*) FROM MRLCRT.FILCHK WHERE FILSEQ=779"), 1},
        {"a demo case's loan changed, forced", {changeLoan}, force, 0, {}, lent, "SMI"},
        {"init on a court in use", {changeLoan}, {"init"}, 0, {}, lent, "SOMEONE"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TestWorld world;
        ZorvaDb zorva(world);
        ASSERT_EQ(zorva.Run({"seed-demo", world.DatabaseUrl()}).exitCode, 0);
        for (const QString &statement : c.byHand)
            world.Exec(statement);
        const auto everything = [&] {
            QList<QVariantList> all;
            for (const char *table : {"MASCRM", "MASCIV", "HRGDTA", "FILCHK", "FILLOG"})
                all += world.Rows(QStringLiteral("SELECT * FROM MRLCRT.%1 ORDER BY 1, 2, 3, 4, 5, 6").arg(table));
            return all;
        };
        const QList<QVariantList> before = everything();
        const ZorvaDb::Result r = zorva.Run(QStringList(c.command) << world.DatabaseUrl());
        EXPECT_EQ(r.exitCode, c.exitCode) << r;
        for (const QString &told : c.told)
            EXPECT_TRUE(r.err.contains(told)) << r;
        EXPECT_TRUE(c.exitCode == 0 || everything() == before) << "a refused seeding wrote";
        EXPECT_EQ(world.Scalar(c.query), c.after);
    }
}

} // namespace
