#include "TestWorld.h"
#include "logwriter/FolderLogWriter.h"

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

} // namespace
