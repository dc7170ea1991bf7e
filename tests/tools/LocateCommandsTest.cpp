#include "ZorvaDb.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

// What each locator command prints for one small court: args in, the exact output out.
TEST(ZorvaDbLocate, AnswersAsTheLocatorDoes)
{
    qputenv("TZ", "UTC"); // the history is shown in local time; the child inherits this
    TestWorld world;
    ZorvaDb zorva(world);
    for (const char *values : {"FILCHK VALUES (2009,'CV',123,'O''NEIL, J',1052026,'CLERK1')",
                               "FILCHK VALUES (2010,'CF',7,'SMI',12042026,'CLERK2')",
                               "FILLOG VALUES ('2026-01-05T09:30:00.000Z',2009,'CV',123,1,'CLERK1','O''NEIL, J',1)",
                               "FILLOG VALUES ('2025-12-01T15:40:00.000Z',2009,'CV',123,1,'CLERK2','SAYS \"HI\"',0)",
                               "HRGDTA VALUES (2009,'CV',123,'SMI','1',20261207,1330)",
                               "HRGDTA VALUES (2010,'CF',7,'SMI','2',20261207,900)",
                               "HRGDTA VALUES (2010,'CF',8,'JON','2',20261207,900)",
                               "MASCRM VALUES (2010,'CF',7,'PL',1,'N','STATE','')",
                               "MASCRM VALUES (2010,'CF',7,'DF',1,'N','DOE','')"})
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.") + QLatin1String(values));
    const QString days = QString::number(QDate(2026, 1, 5).daysTo(QDate::currentDate()));
    const struct
    {
        QStringList args;
        QString out;
    } cases[] = {
        {{"where", "2009", "cv", "123", "--csv"},
         "When,Change,Party,Recorded by\r\n2026-01-05 09:30:00,out to,\"O'NEIL, J\",CLERK1\r\n"
         "2025-12-01 15:40:00,back from,\"SAYS \"\"HI\"\"\",CLERK2\r\n"},
        {{"where", "2010-CF-7"},
         "2010-CF-000007: out to SMI since 12/04/2026, recorded by CLERK2\nCustody history, newest first\n  (none)\n"},
        {{"holder", "o'neil,", "j", "--csv"}, "Case,Since,Days out,Recorded by\r\n2009-CV-000123,01/05/2026," + days + ",CLERK1\r\n"},
        {{"holder", "nobody"}, "Folders out to NOBODY: 0, oldest first\n  (none)\n"},
        {{"pull-list", "--date", "2026-12-07", "--judge", "smi", "--csv"},
         "Time,Room,Judge,Case,Title,Folder\r\n09:00,2,SMI,2010-CF-000007,STATE VS DOE,with the judge since 12/04/2026\r\n"
         "13:30,1,SMI,2009-CV-000123,,\"out to O'NEIL, J since 01/05/2026\"\r\n"},
        {{"pull-list", "--date", "2026-12-07", "--begin", "1", "--end", "200"},
         "Pull list for 12/07/2026, 12:01 to 14:00: 1 hearing(s)\n"
         "  Time   Room  Judge  Case            Title  Folder\n"
         "  13:30  1     SMI    2009-CV-000123         out to O'NEIL, J since 01/05/2026\n"},
        {{"overdue", "--days", days, "--csv"}, "Holder,Case,Since,Days out,Recorded by\r\n"},
        {{"overdue", "--days", QString::number(days.toInt() - 1), "--csv"},
         "Holder,Case,Since,Days out,Recorded by\r\n\"O'NEIL, J\",2009-CV-000123,01/05/2026," + days + ",CLERK1\r\n"},
    };
    for (const auto &c : cases) {
        const ZorvaDb::Result r = zorva.Run(QStringList(c.args) << "--db" << world.DatabaseUrl());
        EXPECT_EQ(r.exitCode, 0) << r;
        EXPECT_EQ(r.out, c.out) << r;
    }
}

} // namespace
