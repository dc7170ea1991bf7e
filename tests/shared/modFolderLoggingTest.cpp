#include "TestWorld.h"
#include "shared/modFolderLogging.h"

#include <gtest/gtest.h>

namespace {

// The two logging preferences decide whether a folder change is logged, and as automatic or not.
TEST(FolderLogging, PreferencesDecideWhetherAndHow)
{
    // logged: the FILLOG row, empty when none
    const struct { bool autoMode, manualMode; const char *logged; } cases[] = {
        {false, false, ""},
        {true, false, "2009 CV 123 1 CLERK1 O'NEIL 1"},
        {false, true, "2009 CV 123 0 CLERK1 O'NEIL 1"},
        {true, true, "2009 CV 123 1 CLERK1 O'NEIL 1"},
    };
    for (const auto &c : cases) {
        TestWorld world;
        modFolderLogging::LogFolderChange(2009, "CV", 123, "O'NEIL", true, "CLERK1", c.autoMode, c.manualMode);
        EXPECT_EQ(world.Scalar("SELECT coalesce(group_concat(LOGYER || ' ' || LOGTYP || ' ' || LOGSEQ || ' ' || LOGAUT"
                               " || ' ' || LOGUSR || ' ' || LOGOTO || ' ' || LOGOUT), '') FROM MRLCRT.FILLOG").toString(),
                  c.logged);
    }
}

} // namespace
