#include "ZorvaDb.h"

#include "util/modTypeOfCase.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

qint64 Count(const TestWorld &world, const QString &query)
{
    return world.Scalar(query).toLongLong();
}

ZorvaDb::Result Generate(const ZorvaDb &zorva, const TestWorld &world, const QString &date, int hearings)
{
    return zorva.Run({QStringLiteral("generate"), world.DatabaseUrl(), QStringLiteral("--date"), date,
                      QStringLiteral("--hearings"), QString::number(hearings)});
}

const QString CaseKeys = QStringLiteral("SELECT DISTINCT MASYER, MASTYP, MASSEQ FROM MRLCRT.MASCRM UNION ALL "
                                        "SELECT DISTINCT MASYER, MASTYP, MASSEQ FROM MRLCRT.MASCIV");

TEST(ZorvaDbGenerate, AddsExactlyTheHearingsAskedForEachForANewCase)
{
    TestWorld world;
    ZorvaDb zorva(world);
    const ZorvaDb::Result seeded = zorva.Run({QStringLiteral("seed-demo"), world.DatabaseUrl()});
    ASSERT_EQ(seeded.exitCode, 0) << seeded;
    ASSERT_LT(Count(world, QStringLiteral("SELECT max(MASSEQ) FROM (%1)").arg(CaseKeys)), 500000);

    // Run one after another on the same file: a second run for a date, or a run for another
    // year, adds to what is there.
    const struct
    {
        const char *date;
        int hearings;
    } runs[] = {{"2026-03-02", 1}, {"2026-03-02", 250}, {"2026-03-03", 40}, {"2027-01-04", 12}};
    for (const auto &run : runs) {
        SCOPED_TRACE(run.date);
        const QString yyyymmdd = QString::fromLatin1(run.date).remove(QLatin1Char('-'));
        const QString onDate =
            QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA WHERE HRGHDT = %1").arg(yyyymmdd);
        const qint64 hearingsBefore = Count(world, onDate);
        const qint64 allHearingsBefore = Count(world, QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA"));
        const qint64 casesBefore = Count(world, QStringLiteral("SELECT count(*) FROM (%1)").arg(CaseKeys));

        const ZorvaDb::Result r = Generate(zorva, world, QLatin1String(run.date), run.hearings);
        ASSERT_EQ(r.exitCode, 0) << r;

        EXPECT_EQ(Count(world, onDate) - hearingsBefore, run.hearings);
        EXPECT_EQ(Count(world, QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA")) - allHearingsBefore,
                  run.hearings);
        EXPECT_EQ(Count(world, QStringLiteral("SELECT count(*) FROM (%1)").arg(CaseKeys)) - casesBefore,
                  run.hearings)
            << "a generated case reused a key";
    }
    // Each case sits in one master only, and its hearing's year is the date's.
    EXPECT_EQ(
        Count(world, QStringLiteral(
                         "SELECT count(*) FROM (SELECT 1 FROM (%1) GROUP BY MASYER, MASTYP, MASSEQ HAVING "
                         "count(*) > 1)")
                         .arg(CaseKeys)),
        0);
    EXPECT_EQ(
        Count(world, QStringLiteral("SELECT count(*) FROM MRLCRT.HRGDTA WHERE HRGSEQ >= 500000 AND HRGYER <> "
                                    "HRGHDT / 10000")),
        0);
}

TEST(ZorvaDbGenerate, CasesHavePartiesInTheirMasterAndSpreadOverTheDocket)
{
    TestWorld world;
    ZorvaDb zorva(world);
    const ZorvaDb::Result r = Generate(zorva, world, QStringLiteral("2026-06-15"), 600);
    ASSERT_EQ(r.exitCode, 0) << r;

    const QList<QVariantList> hearings = world.Rows(
        QStringLiteral("SELECT HRGYER, HRGTYP, HRGSEQ, HRGJDG, HRGROM, HRGHTM FROM MRLCRT.HRGDTA"));
    ASSERT_EQ(hearings.size(), 600);
    QSet<QString> judges, rooms, times;
    QSet<qint16> classes;
    for (const QVariantList &h : hearings) {
        const QString type = h[1].toString();
        const QString master = modTypeOfCase::MasterTableName(type);
        const QString parties =
            QStringLiteral("SELECT count(DISTINCT MASLTP) FROM MRLCRT.%1 WHERE MASYER = %2 AND "
                           "MASTYP = '%3' AND MASSEQ = %4 AND MASLTP IN ('PL', 'DF')")
                .arg(master, h[0].toString(), type, h[2].toString());
        EXPECT_EQ(Count(world, parties), 2) << type.toStdString() << h[2].toInt();
        classes << modTypeOfCase::TypeOfCase(type);
        judges << h[3].toString();
        rooms << h[4].toString();
        times << h[5].toString();
    }
    EXPECT_EQ(classes.size(), 2);
    EXPECT_GE(judges.size(), 4);
    EXPECT_GE(rooms.size(), 4);
    EXPECT_GE(times.size(), 5);
    EXPECT_GE(
        Count(world, QStringLiteral("SELECT count(DISTINCT MASBRN) FROM (SELECT MASBRN FROM MRLCRT.MASCRM "
                                    "UNION ALL SELECT MASBRN FROM MRLCRT.MASCIV)")),
        4);
}

} // namespace
