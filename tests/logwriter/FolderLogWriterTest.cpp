#include "TestWorld.h"
#include "logwriter/FolderLogWriter.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

TEST(FolderLogWriter, AppendsOneRowPerChange)
{
    TestWorld world;
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    {
        FolderLogWriter writer;
        EXPECT_TRUE(writer.Record(2009, "CV", 123, true, "CLERK1", "O'NEIL", true));
    }
    FolderLogWriter().Record(2009, "CV", 123, false, "CLERK2", "O'NEIL", false);
    FolderLogWriter().Record(2010, "CF", 1, true, "CLERK1", "SMI", true);

    const QList<QVariantList> rows = world.Rows(
        "SELECT LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT FROM MRLCRT.FILLOG "
        "WHERE LOGYER=2009 AND LOGTYP='CV' AND LOGSEQ=123 ORDER BY " + TestWorld::InsertionOrder());
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].mid(1), QVariantList({2009, "CV", 123, 1, "CLERK1", "O'NEIL", 1}));
    EXPECT_EQ(rows[1].mid(1), QVariantList({2009, "CV", 123, 0, "CLERK2", "O'NEIL", 0}));
    const QDateTime stamp = QDateTime::fromString(rows[0][0].toString(), Qt::ISODateWithMs);
    EXPECT_TRUE(rows[0][0].toString().endsWith('Z')) << rows[0][0].toString().toStdString();
    EXPECT_EQ(stamp.timeSpec(), Qt::UTC);
    EXPECT_GE(stamp, before);
    EXPECT_LE(stamp, QDateTime::currentDateTimeUtc().addSecs(1));
}

TEST(FolderLogWriter, FailureIsReportedAndLeavesTheLoanAlone)
{
    TestWorld world;
    world.Exec("INSERT INTO MRLCRT.FILCHK VALUES (2009,'CV',123,'SMI',1052026,'CLERK1')");
    world.Exec("DROP TABLE MRLCRT.FILLOG");
    FolderLogWriter writer;
    QStringList errors;
    QObject::connect(&writer, &FolderLogWriter::Error, [&](qint32, const QString &d) { errors << d; });
    EXPECT_FALSE(writer.Record(2009, "CV", 123, true, "CLERK1", "SMI", true));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains("FILLOG", Qt::CaseInsensitive)) << errors.first().toStdString();
    EXPECT_EQ(world.Scalar("SELECT FILOTO FROM MRLCRT.FILCHK").toString(), "SMI");
}

} // namespace
