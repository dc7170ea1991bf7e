#include "ZorvaDb.h"

#include "logwriter/FolderLogWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QStringList Args(QStringList words, const TestWorld &world)
{
    return words << QStringLiteral("--db") << world.DatabaseUrl();
}

TEST(ZorvaDbStatus, AcceptsEveryFormOfTheCaseNumber)
{
    TestWorld world;
    ZorvaDb zorva(world);
    world.Exec(
        QStringLiteral("INSERT INTO MRLCRT.FILCHK VALUES (2009, 'CV', 123, 'SMI', 1052026, 'CLERK1')"));
    const QList<QStringList> forms{
        {"status", "2009-CV-123"},  {"status", "2009 CV 123"},    {"status", "2009", "CV", "123"},
        {"status", "2009CV000123"}, {"status", "2009-cv-000123"},
    };
    for (const auto &form : forms) {
        const ZorvaDb::Result r = zorva.Run(Args(form, world));
        EXPECT_EQ(r.exitCode, 0) << r;
        EXPECT_EQ(r.out,
                  QStringLiteral("2009-CV-000123: on loan to SMI since 01/05/2026, recorded by CLERK1\n"))
            << r;
        EXPECT_TRUE(r.err.isEmpty()) << r;
    }
}

TEST(ZorvaDbStatus, ShowsTheLoanDateMonthFirstOrNotAtAll)
{
    TestWorld world;
    ZorvaDb zorva(world);
    const struct
    {
        int sequence;
        const char *stored; // as SQL
        const char *shown;  // empty: no date in the line
    } loans[] = {
        {1, "1052026", "01/05/2026"},
        {2, "12042026", "12/04/2026"},
        {3, "'01052026'", "01/05/2026"},
        {4, "NULL", ""},
        {5, "0", ""},
        {6, "13012026", ""},
        {7, "2302026", ""},
    };
    for (const auto &loan : loans) {
        world.Exec(
            QStringLiteral("INSERT INTO MRLCRT.FILCHK VALUES (2026, 'CF', %1, 'DA OFFICE', %2, 'CLERK2')")
                .arg(loan.sequence)
                .arg(QLatin1String(loan.stored)));
        const ZorvaDb::Result r =
            zorva.Run({QStringLiteral("status"), QStringLiteral("2026-CF-%1").arg(loan.sequence),
                       QStringLiteral("--db"), world.DatabaseUrl()});
        ASSERT_EQ(r.exitCode, 0) << r;
        const QString since = *loan.shown ? QStringLiteral(" since ") + QLatin1String(loan.shown) : QString();
        EXPECT_EQ(r.out, QStringLiteral("2026-CF-%1: on loan to DA OFFICE%2, recorded by CLERK2\n")
                             .arg(loan.sequence, 6, 10, QLatin1Char('0'))
                             .arg(since))
            << loan.stored;
    }
}

TEST(ZorvaDbStatus, SeededLoansAndFreeFolders)
{
    TestWorld world;
    ZorvaDb zorva(world);
    ASSERT_EQ(zorva.Run({QStringLiteral("seed-demo"), world.DatabaseUrl()}).exitCode, 0);

    const QList<QVariantList> loans = world.Rows(QStringLiteral(
        "SELECT FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR FROM MRLCRT.FILCHK ORDER BY 1, 2, 3"));
    ASSERT_GE(loans.size(), 5);
    for (const QVariantList &l : loans.mid(0, 5)) {
        const QString number = QStringLiteral("%1-%2-%3")
                                   .arg(l[0].toString(), l[1].toString())
                                   .arg(l[2].toInt(), 6, 10, QLatin1Char('0'));
        const QDate date =
            QDate::fromString(QString::number(l[4].toLongLong()).rightJustified(8, QLatin1Char('0')),
                              QStringLiteral("MMddyyyy"));
        const ZorvaDb::Result r =
            zorva.Run({QStringLiteral("status"), number, QStringLiteral("--db"), world.DatabaseUrl()});
        ASSERT_EQ(r.exitCode, 0) << r;
        EXPECT_EQ(r.out, QStringLiteral("%1: on loan to %2 since %3, recorded by %4\n")
                             .arg(number, l[3].toString(), date.toString(QStringLiteral("MM/dd/yyyy")),
                                  l[5].toString()));
    }

    const QVariantList free =
        world
            .Rows(QStringLiteral(
                "SELECT MASYER, MASTYP, MASSEQ FROM MRLCRT.MASCIV WHERE (MASYER, MASTYP, MASSEQ) NOT IN "
                "(SELECT FILYER, FILTYP, FILSEQ FROM MRLCRT.FILCHK) LIMIT 1"))
            .value(0);
    ASSERT_EQ(free.size(), 3);
    const QString number =
        QStringLiteral("%1-%2-%3").arg(free[0].toString(), free[1].toString(), free[2].toString());
    const ZorvaDb::Result r =
        zorva.Run({QStringLiteral("status"), number, QStringLiteral("--db"), world.DatabaseUrl()});
    ASSERT_EQ(r.exitCode, 0) << r;
    EXPECT_EQ(r.out, QStringLiteral("%1-%2-%3: not on loan\n")
                         .arg(free[0].toString(), free[1].toString())
                         .arg(free[2].toInt(), 6, 10, QLatin1Char('0')));

    // A case the court does not hold is not on loan either, but the clerk is told why.
    const ZorvaDb::Result unknown = zorva.Run(
        {QStringLiteral("status"), QStringLiteral("1999-CF-4"), QStringLiteral("--db"), world.DatabaseUrl()});
    ASSERT_EQ(unknown.exitCode, 0) << unknown;
    EXPECT_EQ(unknown.out, QStringLiteral("1999-CF-000004: not on loan (no such case in MASCRM)\n"));
}

// Without --db the program leaves the choice to the data layer: the environment, else the
// user's own default court file.
TEST(ZorvaDbStatus, WithoutDbOptionUsesTheLayersChoice)
{
    TestWorld world;
    ZorvaDb zorva(world);
    world.Exec(
        QStringLiteral("INSERT INTO MRLCRT.FILCHK VALUES (2009, 'CV', 123, 'GAR', 11302026, 'CLERK1')"));
    const QStringList args{QStringLiteral("status"), QStringLiteral("2009-CV-123")};

    const ZorvaDb::Result viaEnvironment =
        zorva.Run(args, {{QStringLiteral("ZORVA_DATABASE"), world.DatabaseUrl()}});
    ASSERT_EQ(viaEnvironment.exitCode, 0) << viaEnvironment;
    EXPECT_EQ(viaEnvironment.out,
              QStringLiteral("2009-CV-000123: on loan to GAR since 11/30/2026, recorded by CLERK1\n"));

    // The default court is made by init, not by a report (that one only reads).
    const QString dataHome = zorva.Environment().value(QStringLiteral("XDG_DATA_HOME"));
    const QString own = QStringLiteral("sqlite:") + dataHome + QStringLiteral("/Venholt Dedezirive, Ltd/court.db");
    ASSERT_TRUE(QDir().mkpath(dataHome + QStringLiteral("/Venholt Dedezirive, Ltd")));
    ASSERT_EQ(zorva.Run({QStringLiteral("init"), own}).exitCode, 0);
    const ZorvaDb::Result viaDefault = zorva.Run(args);
    ASSERT_EQ(viaDefault.exitCode, 0) << viaDefault;
    EXPECT_EQ(viaDefault.out, QStringLiteral("2009-CV-000123: not on loan (no such case in MASCRM)\n"));
}

TEST(ZorvaDbHistory, ListsWhatTheLogWriterRecorded)
{
    TestWorld world;
    ZorvaDb zorva(world);
    FolderLogWriter writer;
    ASSERT_TRUE(writer.Record(2009, QStringLiteral("CV"), 123, true, QStringLiteral("CLERK1"),
                              QStringLiteral("SMI"), true));
    ASSERT_TRUE(writer.Record(2010, QStringLiteral("CV"), 123, true, QStringLiteral("CLERK9"),
                              QStringLiteral("JON"), true));
    ASSERT_TRUE(writer.Record(2009, QStringLiteral("CV"), 123, false, QStringLiteral("CLERK2"),
                              QStringLiteral("SMI"), false));

    const QStringList stamps = [&] {
        QStringList s;
        for (const QVariantList &row : world.Rows(
                 QStringLiteral("SELECT LOGTSP FROM MRLCRT.FILLOG WHERE LOGYER = 2009 ORDER BY rowid")))
            s << QDateTime::fromString(row[0].toString(), Qt::ISODateWithMs)
                     .toUTC()
                     .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return s;
    }();
    ASSERT_EQ(stamps.size(), 2);

    const ZorvaDb::Result r = zorva.Run(Args({"history", "2009", "CV", "123"}, world),
                                        {{QStringLiteral("TZ"), QStringLiteral("UTC")}});
    ASSERT_EQ(r.exitCode, 0) << r;
    EXPECT_EQ(r.out, QStringLiteral("2009-CV-000123: folder history, oldest first\n"
                                    "  %1  out to  SMI            by CLERK1 (automatic)\n"
                                    "  %2  in from SMI            by CLERK2 (manual)\n")
                         .arg(stamps[0], stamps[1]));
}

TEST(ZorvaDbHistory, OldestFirstInTheClerksLocalTime)
{
    TestWorld world;
    ZorvaDb zorva(world);
    // Written out of order, as two workstations may.
    world.Exec(
        QStringLiteral("INSERT INTO MRLCRT.FILLOG VALUES ('2026-01-05T17:30:00.000Z', 2009, 'CV', 123, 0, "
                       "'CLERK1', 'SMI', 1)"));
    world.Exec(
        QStringLiteral("INSERT INTO MRLCRT.FILLOG VALUES ('2025-12-31T23:15:00.250Z', 2009, 'CV', 123, 1, "
                       "'CLERK2', 'DA OFFICE', 0)"));
    const struct
    {
        const char *tz;
        const char *first;
        const char *second;
    } zones[] = {
        {"UTC", "2025-12-31 23:15:00", "2026-01-05 17:30:00"},
        {"JST-9", "2026-01-01 08:15:00", "2026-01-06 02:30:00"},
        {"EST5", "2025-12-31 18:15:00", "2026-01-05 12:30:00"},
    };
    for (const auto &zone : zones) {
        const ZorvaDb::Result r = zorva.Run(Args({"history", "2009-CV-123"}, world),
                                            {{QStringLiteral("TZ"), QLatin1String(zone.tz)}});
        ASSERT_EQ(r.exitCode, 0) << r;
        const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 3) << r;
        EXPECT_TRUE(
            lines[1].startsWith(QStringLiteral("  %1  in from DA OFFICE").arg(QLatin1String(zone.first))))
            << r;
        EXPECT_TRUE(lines[2].startsWith(QStringLiteral("  %1  out to  SMI").arg(QLatin1String(zone.second))))
            << r;
    }
}

TEST(ZorvaDbHistory, SaysSoWhenThereIsNone)
{
    TestWorld world;
    ZorvaDb zorva(world);
    world.Exec(
        QStringLiteral("INSERT INTO MRLCRT.FILLOG VALUES ('2026-01-05T17:30:00.000Z', 2009, 'CV', 124, 0, "
                       "'CLERK1', 'SMI', 1)"));
    const ZorvaDb::Result r = zorva.Run(Args({"history", "2009CV123"}, world));
    ASSERT_EQ(r.exitCode, 0) << r;
    EXPECT_EQ(r.out, QStringLiteral("2009-CV-000123: no folder history recorded\n"));
}

} // namespace
