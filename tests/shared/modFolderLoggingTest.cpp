#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "shared/modFolderLogging.h"

#include <gtest/gtest.h>

namespace {

TEST(FolderLogging, PreferencesDecideWhetherAndHow)
{
    const struct
    {
        bool autoMode, manualMode;
        int rows;
        int loggedAuto;
    } cases[] = {
        {false, false, 0, -1},
        {true, false, 1, 1},
        {false, true, 1, 0},
        {true, true, 1, 1}, // both stored as True: passed on as they are
    };
    for (const auto &c : cases) {
        TestWorld world;
        modFolderLogging::LogFolderChange(2009, "CV", 123, "O'NEIL", true, "CLERK1", c.autoMode, c.manualMode);
        const QList<QVariantList> rows =
            world.Rows("SELECT LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT FROM MRLCRT.FILLOG");
        ASSERT_EQ(rows.size(), c.rows);
        if (c.rows) {
            EXPECT_EQ(rows[0], QVariantList({2009, "CV", 123, c.loggedAuto, "CLERK1", "O'NEIL", 1}));
        }
    }
}

TEST(FolderLogging, FailureIsShownAndTheChangeStands)
{
    TestWorld world;
    world.Exec("INSERT INTO MRLCRT.FILCHK VALUES (2009,'CV',123,'SMI',1052026,'CLERK1')");
    world.Exec("DROP TABLE MRLCRT.FILLOG");
    ModalAnswerer answerer;
    modFolderLogging::LogFolderChange(2009, "CV", 123, "SMI", false, "CLERK1", true, false);
    ASSERT_EQ(answerer.Seen().size(), 1);
    EXPECT_TRUE(answerer.Seen()[0].text.contains("could not be logged"));
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILCHK").toInt(), 1);
}

} // namespace
