#include "ZorvaDb.h"

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
         "court: %DB%\nPull list for 12/07/2026: 1 hearing(s)\n  Time   Room  Judge  Case            Title     Folder\n"
         "  09:00  2     JON    2010-CF-000007  STATE VS  out to EVIL\\x1b[2J since 12/04/2026\n"},
        {{"overdue", "--days", "9999", "--csv"}, "UTC", "Holder,Case,Since,Days out,Recorded by\r\n"},
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
