#include "ZorvaDb.h"

#include <QDateTime>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// What each reading command prints for one small court, in the zone TZ: the court it read
// (not in CSV), times with their zone, the court's text with its control, invisible and
// direction-changing characters escaped, long cells cut (and said), formulas neutralised in CSV.
TEST(ZorvaDbReports, PrintTheCourtReadItsRowsAndTheirZone)
{
    TestWorld world;
    ZorvaDb zorva(world);
    for (const char *values : {"FILCHK VALUES (2009,'CV',123,'SMI',1052026,'CLERK1')",
                               "FILCHK VALUES (2010,'CF',7,'EVIL\x1b[2J',12042026,'CLERK\n2')",
                               "FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-01-05T17:30:00.000Z',2009,'CV',123,1,'CLERK1','SMI',1)",
                               "FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2025-12-31T23:15:00.250Z',2009,'CV',123,0,'CLERK2','DA\tOFFICE',0)",
                               "FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-01-05T17:30:00.000Z',2011,'CV',9,1,'=CMD','-2+3',1)",
                               "FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-01-05T17:30:00.000Z',2012,'CV',1,1,'ME\u200b\ufeff\u061c','"
                               "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX',1)",
                               "HRGDTA VALUES (2010,'CF',7,'JON','2',20261207,900)",
                               "MASCRM VALUES (2010,'CF',7,'PL',1,'N','STATE','')"})
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.") + QString::fromUtf8(values));
    const QString in = QStringLiteral("court: %DB%\n2009-CV-000123: folder history, oldest first\n  %1  in from DA\\tOFFICE     by CLERK2 (manual)\n");
    const QString out = QStringLiteral("  %1  out to  SMI            by CLERK1 (automatic)\n");
    const struct { QStringList args; const char *tz; QString out; } cases[] = {
        {{"status", "2009-CV-123"}, "UTC", "court: %DB%\n2009-CV-000123: on loan to SMI since 01/05/2026, recorded by CLERK1\n"},
        {{"status", "2010", "CF", "7"}, "UTC", "court: %DB%\n2010-CF-000007: on loan to EVIL\\x1b[2J since 12/04/2026, recorded by CLERK\\n2\n"},
        {{"status", "1999CF4"}, "UTC", "court: %DB%\n1999-CF-000004: not on loan (no such case in MASCRM)\n"},
        {{"history", "2009-CV-123"}, "UTC", in.arg("2025-12-31 23:15:00 UTC") + out.arg("2026-01-05 17:30:00 UTC")},
        {{"history", "2009-CV-123"}, "JST-9", in.arg("2026-01-01 08:15:00 UTC+09:00") + out.arg("2026-01-06 02:30:00 UTC+09:00")},
        {{"history", "2009-CV-123"}, "EST5", in.arg("2025-12-31 18:15:00 UTC-05:00") + out.arg("2026-01-05 12:30:00 UTC-05:00")},
        {{"history", "2010-CF-7"}, "UTC", "court: %DB%\n2010-CF-000007: no folder history recorded\n"},
        {{"where", "2010-CF-7"}, "UTC",
         "court: %DB%\n2010-CF-000007: out to EVIL\\x1b[2J since 12/04/2026, recorded by CLERK\\n2\nCustody history, newest first\n  (none)\n"},
        {{"where", "2009-CV-123", "--csv"}, "JST-9",
         "When,Change,Party,Recorded by\r\n2026-01-06 02:30:00 UTC+09:00,out to,SMI,CLERK1\r\n"
         "2026-01-01 08:15:00 UTC+09:00,back from,DA\\tOFFICE,CLERK2\r\n"},
        {{"where", "2011-CV-9", "--csv"}, "UTC", "When,Change,Party,Recorded by\r\n2026-01-05 17:30:00 UTC,out to,\"'-2+3\",\"'=CMD\"\r\n"},
        {{"where", "2012-CV-1"}, "UTC",
         "court: %DB%\n2012-CV-000001: in the file room (no such case on file)\nCustody history, newest first\n"
         "  When                     Change  Party" + QString(55, ' ') + "  Recorded by\n"
         "  2026-01-05 17:30:00 UTC  out to  " + QString(57, 'X') + "...  ME\\u200b\\ufeff\\u061c\n"
         "  (cells longer than 60 characters are cut, ending in \"...\"; --csv gives them whole)\n"},
        {{"holder", "nobody"}, "UTC", "court: %DB%\nFolders out to NOBODY: 0, oldest first\n  (none)\n"},
        {{"pull-list", "--date", "2026-12-07"}, "UTC",
         "court: %DB%\nPull list for 12/07/2026\n  Time   Room  Judge  Case            Title     Folder\n"
         "  09:00  2     JON    2010-CF-000007  STATE VS  out to EVIL\\x1b[2J since 12/04/2026\n  1 hearing(s)\n"},
        {{"overdue", "--days", "9999", "--csv"}, "UTC", "Holder,Case,Since,Days out,Recorded by\r\n"},
        {{"overdue", "--days", "9999", "--all", "--csv"}, "UTC", "Holder,Case,Since,Days out,Recorded by\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString() + " in " + c.tz);
        const ZorvaDb::Result r = zorva.Run(QStringList(c.args) << "--db" << world.DatabaseUrl(), {{"TZ", c.tz}});
        EXPECT_EQ(r.exitCode, 0) << r;
        EXPECT_EQ(r.out, QString(c.out).replace(QStringLiteral("%DB%"), world.DatabaseUrl())) << r;
    }
    // Without --db the court is the environment's, and that is the one named.
    const ZorvaDb::Result r = zorva.Run({"status", "2009-CV-123"}, {{"ZORVA_DATABASE", world.DatabaseUrl()}});
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("court: ") + world.DatabaseUrl() + '\n')) << r;
}

} // namespace

namespace {

// A case's history is printed to its 50 latest entries, with a line counting the earlier ones
// (after where's list, before history's, on stderr beside CSV); --all prints every entry.
TEST(ZorvaDbReports, HistoryCappedToTheLatestUnlessAll)
{
    TestWorld world;
    ZorvaDb zorva(world);
    // Case 2009-CV-n has n entries, entry i a minute after the last, to party Pi.
    QStringList log;
    for (int n : {50, 51, 300})
        for (int i = 1; i <= n; ++i)
            log << QStringLiteral("('%1',2009,'CV',%2,1,'CLERK1','P%3',1)")
                       .arg(QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).addSecs(60 * i).toString(Qt::ISODateWithMs))
                       .arg(n)
                       .arg(i);
    world.Exec("INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES " + log.join(", "));
    const QString one = "  and 1 earlier (--all shows every entry)", many = "  and 250 earlier (--all shows every entry)";
    const struct
    {
        QStringList args;
        int newest, oldest; // the entries printed, in the order printed
        QString earlier;    // the line counting the others ("" none)
        int at;             // its line in the output, -1 the last; stderr for CSV
    } cases[] = {
        {{"where", "2009-CV-50"}, 50, 1, "", 0},
        {{"where", "2009-CV-51"}, 51, 2, one, -1},
        {{"where", "2009-CV-300"}, 300, 251, many, -1},
        {{"where", "2009-CV-300", "--all"}, 300, 1, "", 0},
        {{"where", "2009-CV-51", "--csv"}, 51, 2, one, 0},
        {{"where", "2009-CV-300", "--csv", "--all"}, 300, 1, "", 0},
        {{"history", "2009-CV-50"}, 1, 50, "", 0},
        {{"history", "2009-CV-51"}, 2, 51, one, 2},
        {{"history", "2009-CV-300", "--all"}, 1, 300, "", 0},
    };
    static const QRegularExpression party(QStringLiteral("\\bP(\\d+)\\b"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ZorvaDb::Result r = zorva.Run(QStringList(c.args) << "--db" << world.DatabaseUrl(), {{"TZ", "UTC"}});
        EXPECT_EQ(r.exitCode, 0) << r;
        const QStringList lines = r.out.split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
        QList<int> printed, expected;
        for (const QString &line : lines)
            if (const auto m = party.match(line); m.hasMatch() && !line.startsWith(QLatin1String("court: ")))
                printed << m.captured(1).toInt();
        const int step = c.newest > c.oldest ? -1 : 1;
        for (int i = c.newest; i != c.oldest + step; i += step)
            expected << i;
        EXPECT_EQ(printed, expected) << r;
        const bool csv = c.args.contains("--csv");
        const QStringList earlierLines = (csv ? r.err : r.out).split('\n').filter("earlier");
        if (c.earlier.isEmpty()) {
            EXPECT_TRUE(earlierLines.isEmpty()) << r;
        } else {
            EXPECT_EQ(earlierLines, QStringList{c.earlier}) << r;
            if (!csv) {
                EXPECT_EQ(lines.value(c.at < 0 ? lines.size() - 1 : c.at), c.earlier) << r;
            }
        }
    }
}

} // namespace

namespace {

// As the locator: overdue lists the 500 folders out longest and says there are more, then the
// age summary; --all lists every one.
TEST(ZorvaDbReports, OverdueListsTheLongestOutUnlessAll)
{
    TestWorld world;
    ZorvaDb zorva(world);
    QStringList loans;
    for (int i = 1; i <= 502; ++i)
        loans << QStringLiteral("(2009,'CV',%1,'DA',%2,'C1')").arg(i).arg(1012020 + i % 28 * 10000);
    world.Exec("INSERT INTO MRLCRT.FILCHK VALUES " + loans.join(", "));
    const QString more = "  Only the 500 folders out longest are listed; --all lists every one.";
    const QString ages = "Folders out by age - 0-7 days: 0, 8-30 days: 0, 31-90 days: 0, over 90 days: 502";
    const struct { QStringList args; int rows; bool cut; } cases[] = {
        {{"overdue"}, 500, true},
        {{"overdue", "--all"}, 502, false},
        {{"overdue", "--csv"}, 500, true},
        {{"overdue", "--csv", "--all"}, 502, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ZorvaDb::Result r = zorva.Run(QStringList(c.args) << "--db" << world.DatabaseUrl());
        EXPECT_EQ(r.exitCode, 0) << r;
        const QStringList lines = r.out.split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts);
        const bool csv = c.args.contains("--csv");
        EXPECT_EQ(lines.filter(QRegularExpression("^ *DA ")).size() + lines.filter(QRegularExpression("^DA,")).size(), c.rows);
        EXPECT_EQ((csv ? r.err : r.out).contains(more), c.cut) << r;
        if (!csv) {
            EXPECT_EQ(lines.last(), ages) << r;
        }
    }
}

} // namespace
