#include "TestWorld.h"
#include "records/DataObject.h"
#include "records/FolderStatements.h"

#include <gtest/gtest.h>

namespace {

// Whatever program writes a loan row, its key holds what a case key can: a whole year and
// sequence, a type of one or two characters. A fraction written under one key and looked up
// under another would make a folder that can never come back.
TEST(SchemaKeys, LoanRowsRefuseWhatNoCaseKeyIs)
{
    const struct
    {
        QVariant year, type, sequence;
        bool stored;
        bool fraction = false; // a server's integer column rounds it on the way in, as DB2 does
    } cases[] = {
        {2009, "CV", 123, true},
        {2009.0, "T", 5.0, true}, // the batch binds its numbers as doubles
        {2009.7, "CV", 1, false, true},
        {2009, "CV", 10.5, false, true},
        {"20x9", "CV", 2, false},
        {2009, "CVX", 3, false},
        {2009, "", 4, false},
        {40000, "CV", 5, false},
    };
    TestWorld world;
    for (const auto &c : cases) {
        if (c.fraction && !TestWorld::OnSQLite())
            continue;
        DataObject folders;
        bool failed = false;
        QObject::connect(&folders, &DataObject::Error, [&failed] { failed = true; });
        folders.Execute(QLatin1String(FolderStatements::InsertLoan),
                        QVariantList{"SMI", "12042026", "CLERK1", c.year, c.type, c.sequence});
        EXPECT_EQ(failed, !c.stored) << c.year.toString().toStdString() << " " << c.type.toString().toStdString()
                                     << " " << c.sequence.toString().toStdString();
    }
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILCHK").toInt(), 2);
}

} // namespace
