#include "TestWorld.h"
#include "logwriter/FolderLogWriter.h"
#include "logwriter/LogChain.h"

#include <gtest/gtest.h>

namespace {

// One row per change, stamped in UTC; a failed row is reported and leaves the loan alone.
TEST(FolderLogWriter, AppendsOneRowPerChangeOrReportsWhyNot)
{
    TestWorld world;
    EXPECT_TRUE(FolderLogWriter().Record(2009, "CV", 123, true, "CLERK1", "O'NEIL", true));
    EXPECT_TRUE(FolderLogWriter().Record(2009, "CV", 123, false, "CLERK2", "O'NEIL", false));
    const QList<QVariantList> rows = world.Rows("SELECT LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT "
                                                "FROM MRLCRT.FILLOG ORDER BY " + TestWorld::InsertionOrder());
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].mid(1), QVariantList({2009, "CV", 123, 1, "CLERK1", "O'NEIL", 1}));
    EXPECT_EQ(rows[1].mid(1), QVariantList({2009, "CV", 123, 0, "CLERK2", "O'NEIL", 0}));
    EXPECT_TRUE(rows[0][0].toString().endsWith('Z')) << rows[0][0].toString().toStdString();

    world.Lend(2010, "CF", 1, "SMI");
    world.Exec("DROP TABLE MRLCRT.FILLOG");
    FolderLogWriter writer;
    QStringList errors;
    QObject::connect(&writer, &FolderLogWriter::Error, [&](qint32, const QString &d) { errors << d; });
    EXPECT_FALSE(writer.Record(2010, "CF", 1, true, "CLERK1", "SMI", true));
    EXPECT_TRUE(errors.size() == 1 && errors[0].contains("FILLOG", Qt::CaseInsensitive)) << errors.join(';').toStdString();
    EXPECT_EQ(world.Scalar("SELECT FILOTO FROM MRLCRT.FILCHK").toString(), "SMI");
}

const char OldLogTable[] = "CREATE TABLE MRLCRT.FILLOG (LOGTSP TEXT NOT NULL, LOGYER INTEGER, LOGTYP TEXT, LOGSEQ INTEGER,"
                           " LOGAUT INTEGER, LOGUSR TEXT, LOGOTO TEXT, LOGOUT INTEGER)";

// Each new row is chained to its case's latest row (stamped after it, whatever the clock says);
// a case's first row, or one after an unchained row, starts from nothing; a log table without
// the digest column gets rows as before.
TEST(FolderLogWriter, ChainsEachRowToItsCasesLatest)
{
    const QString future = "2999-01-01T00:00:00.000Z";
    const QString futureDigest = LogChain::Digest({future, 2009, "CV", 123, true, "OLD", "JON", true}, {});
    // before: the court's log rows; chained: whether the table has the digest column; stamps:
    // the stamp expected of the first new row of 2009-CV-123 when it is fixed
    const struct { const char *name; QStringList before; bool chained; QString firstStamp; } cases[] = {
        {"a new court", {}, true, {}},
        {"an unchained row last", {"('2020-01-01T00:00:00.000Z',2009,'CV',123,1,'OLD','JON',1,NULL)"}, true, {}},
        {"a row ahead of the clock", {QString("('%1',2009,'CV',123,1,'OLD','JON',1,'%2')").arg(future, futureDigest)}, true,
         "2999-01-01T00:00:00.001Z"},
        {"an older court's table", {}, false, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TestWorld world;
        if (!c.chained) {
            world.Exec("DROP TABLE MRLCRT.FILLOG");
            world.Exec(OldLogTable);
        }
        for (const QString &values : c.before)
            world.Exec("INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT, LOGDIG)"
                       " VALUES " + values);
        EXPECT_TRUE(FolderLogWriter().Record(2009, "CV", 123, true, "CLERK1", "O'NEIL", true));
        EXPECT_TRUE(FolderLogWriter().Record(2010, "CF", 7, false, "CLERK2", "SMI", true));
        EXPECT_TRUE(FolderLogWriter().Record(2009, "CV", 123, false, "CLERK2", "O'NEIL", false));
        if (!c.chained) {
            EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILLOG").toInt(), 3);
            continue;
        }
        const QList<QVariantList> rows = world.Rows("SELECT LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT,"
                                                    " LOGDIG FROM MRLCRT.FILLOG ORDER BY LOGYER, LOGTYP, LOGSEQ, LOGTSP");
        ASSERT_EQ(rows.size(), 3 + c.before.size());
        QString previous;
        qsizetype written = 0;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QVariantList &r = rows[i];
            if (i > 0 && rows[i - 1][1] != r[1])
                previous.clear();
            const bool old = i < c.before.size();
            const QString digest = r[8].toString();
            if (!old) {
                const LogChain::Row row{r[0].toString(), r[1].toLongLong(), r[2].toString(), r[3].toLongLong(),
                                        r[4].toInt() != 0, r[5].toString(), r[6].toString(), r[7].toInt() != 0};
                EXPECT_EQ(digest, LogChain::Digest(row, previous)) << "row " << i;
                if (written++ == 0 && !c.firstStamp.isEmpty()) {
                    EXPECT_EQ(r[0].toString(), c.firstStamp);
                }
            }
            previous = digest;
        }
    }
}

} // namespace
