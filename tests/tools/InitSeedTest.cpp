#include "ZorvaDb.h"

#include <gtest/gtest.h>

namespace {

// Seeding again resets the demo's own rows; a court whose rows differ from those seeding writes
// (a clerk's loan on a demo case, a demo folder checked in, an edited hearing, a clerk's own case,
// a history row) is refused, naming the rows, and left as it was, unless --force says so. init
// on a court in use keeps every row.
TEST(ZorvaDbSeed, RefusesACourtInUseUnlessForced)
{
    const QString lent = QStringLiteral("SELECT FILOTO FROM MRLCRT.FILCHK WHERE FILYER=2009 AND FILSEQ=123");
    const QString changeLoan = QStringLiteral("UPDATE MRLCRT.FILCHK SET FILOTO='SOMEONE' WHERE FILYER=2009 AND FILSEQ=123");
    const QStringList seed{"seed-demo"}, force{"seed-demo", "--force"};
    // byHand: a clerk's work after the first seeding; command: run on the court after it; told: the
    // refusal's words; query and after: what the court then gives.
    const struct { const char *name; QStringList byHand; QStringList command; int exitCode; QStringList told; QString query; QVariant after; } cases[] = {
        {"only demo rows", {}, seed, 0, {}, lent, "SMI"},
        {"a demo case's loan changed", {changeLoan}, seed, 1,
         {"FILCHK: 1 row(s) not the demo's (2009-CV-000123 SOMEONE CLERK1), 1 demo row(s) missing or changed "
          "(2009-CV-000123 SMI CLERK1)", "--force", "nothing was written"}, lent, "SOMEONE"},
        {"a demo folder checked in",
         {"DELETE FROM MRLCRT.FILCHK WHERE FILYER=2009 AND FILSEQ=123",
          "INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-02-01T10:00:00.000Z', 2009, 'CV', 123, 0, 'ME', 'SMI', 0)"},
         seed, 1, {"FILCHK: 1 demo row(s) missing or changed (2009-CV-000123 SMI CLERK1)",
                   "FILLOG: 1 row(s) not the demo's (2009-CV-000123 0 SMI ME 0)"}, lent, QVariant()},
        {"a demo hearing's judge edited",
         {"UPDATE MRLCRT.HRGDTA SET HRGJDG='JON' WHERE HRGYER=2009 AND HRGSEQ=123"},
         seed, 1, {"HRGDTA: 1 row(s) not the demo's (2009-CV-000123 JON 1 900), 1 demo row(s) missing or changed "
                   "(2009-CV-000123 SMI 1 900)"}, "SELECT HRGJDG FROM MRLCRT.HRGDTA WHERE HRGSEQ=123", "JON"},
        {"a demo litigant gone", {"DELETE FROM MRLCRT.MASCRM WHERE MASSEQ=311 AND MASLTP='DF'"}, seed, 1,
         {"MASCRM: 1 demo row(s) missing or changed (2018-CF-000311 DF 1 E O'BRIEN, SEAN WEBB, NATHAN)"},
         "SELECT count(*) FROM MRLCRT.MASCRM WHERE MASSEQ=311", 1},
        {"a clerk's own case on loan",
         {"INSERT INTO MRLCRT.MASCIV VALUES (2026, 'CA', 777, 'PL', 1, 'N', 'KLEIN, RUTH', '')",
          "INSERT INTO MRLCRT.FILCHK VALUES (2026, 'CA', 777, 'PUBLIC DEF', 12012026, 'ME')"},
         seed, 1, {"MASCIV: 1 row(s) not the demo's (2026-CA-000777 PL 1 N KLEIN, RUTH)",
                   "FILCHK: 1 row(s) not the demo's (2026-CA-000777 PUBLIC DEF ME)"},
         "SELECT count(*) FROM MRLCRT.FILCHK WHERE FILSEQ=777", 1},
        {"a clerk's own hearing",
         {"INSERT INTO MRLCRT.HRGDTA VALUES (2026, 'CA', 778, 'SMI', '1', 20261207, 900)"},
         seed, 1, {"HRGDTA: 1 row(s) not the demo's (2026-CA-000778 SMI 1 900)"}, QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA WHERE HRGSEQ=778"), 1},
        {"a clerk's history row",
         {"INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-02-01T10:00:00.000Z', 2009, 'CV', 123, 0, 'ME', 'JUDGE', 1)"},
         seed, 1, {"FILLOG: 1 row(s) not the demo's (2009-CV-000123 1 JUDGE ME 0)"}, QStringLiteral("SELECT count(*) FROM MRLCRT.FILLOG WHERE LOGUSR='ME'"), 1},
        {"a case type with an escape in it",
         {"INSERT INTO MRLCRT.FILCHK VALUES (2026, 'C\x1b', 779, 'SMI', 12012026, 'ME')"},
         seed, 1, {"FILCHK: 1 row(s) not the demo's (2026-C\\x1b-000779 SMI ME)"}, QStringLiteral("SELECT count(*) FROM MRLCRT.FILCHK WHERE FILSEQ=779"), 1},
        {"an empty court (never seeded)", {}, seed, 0, {}, lent, "SMI"},
        {"a demo case's loan changed, forced", {changeLoan}, force, 0, {}, lent, "SMI"},
        {"init on a court in use", {changeLoan}, {"init"}, 0, {}, lent, "SOMEONE"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TestWorld world;
        ZorvaDb zorva(world);
        if (!QLatin1String(c.name).startsWith(QLatin1String("an empty court"))) {
            ASSERT_EQ(zorva.Run({"seed-demo", world.DatabaseUrl()}).exitCode, 0);
        }
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
