#include "ZorvaDb.h"

#include <gtest/gtest.h>

namespace {

// Runs one after another on a seeded court: each adds exactly the hearings asked for on its date,
// each for a case of the date's year that no other row uses, numbered on from the last.
TEST(ZorvaDbGenerate, AddsExactlyTheHearingsAskedForEachForANewCase)
{
    TestWorld world;
    ZorvaDb zorva(world);
    ASSERT_EQ(zorva.Run({"seed-demo", world.DatabaseUrl()}).exitCode, 0);
    const auto count = [&](const QString &query) { return world.Scalar(query).toLongLong(); };
    const QString cases = QStringLiteral("SELECT count(*) FROM (SELECT MASYER, MASTYP, MASSEQ FROM MRLCRT.MASCRM UNION "
                                         "SELECT MASYER, MASTYP, MASSEQ FROM MRLCRT.MASCIV)");
    const struct { const char *date; int hearings; const char *told; } runs[] = {{"2026-03-02", 1, "1 hearings, for new cases of 2026 numbered 500000 to 500000"},
                {"2026-03-02", 250, "250 hearings, for new cases of 2026 numbered 500001 to 500250"},
                {"2027-01-04", 12, "12 hearings, for new cases of 2027 numbered 500000 to 500011"}};
    for (const auto &run : runs) {
        SCOPED_TRACE(run.date);
        const QString onDate = QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA WHERE HRGHDT = %1 AND HRGYER = %2")
                                   .arg(QString::fromLatin1(run.date).remove(QLatin1Char('-')), QLatin1String(run.date).left(4));
        const qint64 hearingsBefore = count(onDate), casesBefore = count(cases);
        const ZorvaDb::Result r = zorva.Run({"generate", world.DatabaseUrl(), "--date", run.date, "--hearings",
                                             QString::number(run.hearings)});
        ASSERT_EQ(r.exitCode, 0) << r;
        EXPECT_TRUE(r.out.contains(QLatin1String(run.told))) << r;
        EXPECT_EQ(count(onDate) - hearingsBefore, run.hearings);
        EXPECT_EQ(count(cases) - casesBefore, run.hearings) << "a generated case reused a key";
    }
}

} // namespace
