// Two clerks on one folder: the first clerk's window shows 2009-CA-7, another clerk changes it
// through a window of their own, then the first clerk acts on what the window showed. A loan the
// first window did not show is never overwritten or ended, and no change is logged that did not
// happen; the first clerk is told, and sees the folder as it is now.
#include "BatchGrid.h"
#include "ModalAnswerer.h"
#include "Scenario.h"
#include "TestWorld.h"
#include "WindowDriver.h"
#include "clsFolder.h"

#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace Scenario;

const QString Editor = QStringLiteral("frmFolderEdit");
const QString Batch = QStringLiteral("frmFolderBatch");
const QString Docket = QStringLiteral("frmFolderDocket");
const QString Type = "keys=2009ca000007";
QString Changed(const QString &now, const char *nothing)
{
    return "Folder Changed: This folder's loan was changed since this window showed it. " + now + "\n" +
           QLatin1String(nothing) + " [OK]";
}
const QString NowOther = "It is now on loan to OTHER since {TODAY}, recorded by CLERK2.";
const QString NowNone = "It is not on loan now.";
const QString Some = "Error: One or more folder status changes could not be changed due to existing folder status. [OK]";

struct Row
{
    const char *name;
    const char *loan;   // 2009-CA-7's holder before ("" for none)
    QString first;      // the first clerk's window ("editor" or "batch") and, for the batch, what is typed
    QString other;      // the other clerk's window and steps: "editor: ...", "batch: ...", "docket: ..."
    QString then;       // the first clerk's steps afterwards
    const char *answers;
    QStringList boxes;  // every box either clerk saw, in order
    QString after;      // the first window afterwards, when still open
    const char *court, *logged;
};

const Row rows[] = {
    {"editor vs editor: a save over a loan made meanwhile writes nothing", "SMI", "editor",
     "editor: txtFILOTO=other; cmdSave", "txtFILOTO=newp; cmdSave", "OK", {Changed(NowOther, "Nothing was saved.")},
     "This file is currently on loan. | OTHER | {TODAY} | CLERK2 | save 0 delete 1",
     "2009-CA-7 OTHER {today} CLERK2", "2009-CA-7 OTHER out1 auto1 CLERK2"},
    {"editor vs editor: a save where none was shown, lent meanwhile", "", "editor",
     "editor: txtFILOTO=other; cmdSave", "txtFILOTO=newp; cmdSave", "OK", {Changed(NowOther, "Nothing was saved.")},
     "This file is currently on loan. | OTHER | {TODAY} | CLERK2 | save 0 delete 1",
     "2009-CA-7 OTHER {today} CLERK2", "2009-CA-7 OTHER out1 auto1 CLERK2"},
    {"editor vs editor: Delete of a loan changed meanwhile ends nothing", "SMI", "editor",
     "editor: txtFILOTO=other; cmdSave", "cmdDelete", "OK", {Changed(NowOther, "Nothing was checked in.")},
     "This file is currently on loan. | OTHER | {TODAY} | CLERK2 | save 0 delete 1",
     "2009-CA-7 OTHER {today} CLERK2", "2009-CA-7 OTHER out1 auto1 CLERK2"},
    {"editor vs editor: Delete of a folder returned meanwhile logs no return", "SMI", "editor",
     "editor: cmdDelete", "cmdDelete", "OK", {Changed(NowNone, "Nothing was checked in.")},
     "This file is not currently on loan. |  | {TODAY} | CLERK1 | save 0 delete 0", "", "2009-CA-7 SMI out0 auto1 CLERK2"},
    {"editor vs editor: after the refusal the clerk decides again, and the save goes through", "SMI", "editor",
     "editor: txtFILOTO=other; cmdSave", "txtFILOTO=newp; cmdSave; txtFILOTO=newp; cmdSave", "OK",
     {Changed(NowOther, "Nothing was saved.")}, "", "2009-CA-7 NEWP {today} CLERK1",
     "2009-CA-7 OTHER out1 auto1 CLERK2; 2009-CA-7 NEWP out1 auto1 CLERK1"},
    {"editor vs editor: the other clerk only looked; the save goes through", "SMI", "editor", "editor: cmdCancel",
     "txtFILOTO=newp; cmdSave", "", {}, "", "2009-CA-7 NEWP {today} CLERK1", "2009-CA-7 NEWP out1 auto1 CLERK1"},
    {"editor vs batch: a save after a batch check-in writes nothing", "SMI", "editor",
     "batch: " + Type + "; optAction_1; cmdRun", "txtFILOTO=newp; cmdSave", "OK; OK", {Done(1), Changed(NowNone, "Nothing was saved.")},
     "This file is not currently on loan. |  | {TODAY} | CLERK1 | save 0 delete 0", "", "2009-CA-7 SMI out0 auto1 CLERK2"},
    {"editor vs docket: a save after the docket lent the folder writes nothing", "", "editor",
     "docket: optAction_0; cmdRun", "txtFILOTO=newp; cmdSave", "OK; OK",
     {Done(1), Changed("It is now on loan to SMI since {TODAY}, recorded by CLERK2.", "Nothing was saved.")},
     "This file is currently on loan. | SMI | {TODAY} | CLERK2 | save 0 delete 1", "2009-CA-7 SMI {today} CLERK2",
     "2009-CA-7 SMI out1 auto1 CLERK2"},
    {"batch vs editor: a check-in of a folder lent to another meanwhile stays listed", "SMI", "batch",
     "editor: txtFILOTO=other; cmdSave", "optAction_1; cmdRun", "OK", {Some},
     "2009/CA/000007/ABLE VS BAKER {Not checked in: now on loan to OTHER.}/SMI; ////", "2009-CA-7 OTHER {today} CLERK2",
     "2009-CA-7 OTHER out1 auto1 CLERK2"},
    {"batch vs batch: a check-in of a folder returned meanwhile stays listed", "SMI", "batch",
     "batch: " + Type + "; optAction_1; cmdRun", "optAction_1; cmdRun", "OK; OK", {Done(1), Some},
     "2009/CA/000007/ABLE VS BAKER {Not checked in: the folder is not on loan.}/SMI; ////", "", "2009-CA-7 SMI out0 auto1 CLERK2"},
    {"batch vs batch: the holder the grid shows still holds it; the check-in goes through", "SMI", "batch",
     "batch: " + Type, "optAction_1; cmdRun", "OK", {Done(1)}, "////", "",
     "2009-CA-7 SMI out0 auto1 CLERK1"},
};

// The other clerk, CLERK2, at a window of their own while the first one's stays open.
void OtherClerk(const QString &other)
{
    const QString kind = other.section(QStringLiteral(": "), 0, 0), steps = other.section(QStringLiteral(": "), 1);
    clsFolder folder;
    if (kind == QLatin1String("batch")) {
        folder.EditBatch("CLERK2");
        QPointer<QWidget> w = BatchGrid::Shown();
        ASSERT_NE(w, nullptr);
        Act(w, steps);
        WindowDriver::Leave(w, "cmdRun");
        return;
    }
    const QString name = kind == QLatin1String("editor") ? Editor : Docket;
    WindowDriver driver(name, [&](QWidget *w) {
        w->activateWindow();
        Act(w, steps);
        WindowDriver::Leave(w, kind == QLatin1String("editor") ? "cmdSave" : "cmdRun");
    });
    if (kind == QLatin1String("editor"))
        folder.Edit(2009, "CA", 7, "CLERK2");
    else
        folder.UpdateBatch("CLERK2");
    EXPECT_FALSE(driver.TimedOut());
}

TEST(TwoClerks, OneFolder)
{
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        TestWorld world;
        world.InstallReferenceTables();
        for (const char *values : {"MASCIV VALUES (2009,'CA',7,'PL',1,'N','ABLE',''", "MASCIV VALUES (2009,'CA',7,'DF',1,'N','BAKER',''"})
            world.Exec(QStringLiteral("INSERT INTO MRLCRT.%1)").arg(QLatin1String(values)));
        world.Exec(Expand("INSERT INTO MRLCRT.HRGDTA VALUES (2009,'CA',7,'SMI','1',{ymd},900)"));
        if (*row.loan)
            world.Lend(2009, "CA", 7, QLatin1String(row.loan));
        Store(world, {"FolderEdit/mnuAppEditPreferencesLoggingAuto=True"});
        ModalAnswerer answerer(Lines(row.answers));

        QString after;
        // While the other clerk works, the first window goes by another name, so that the other's
        // window is the one found.
        const auto interleave = [&](QWidget *first, const QString &name) {
            first->setObjectName(QStringLiteral("firstClerk"));
            OtherClerk(row.other);
            first->setObjectName(name);
            first->activateWindow();
            Act(first, row.then);
        };
        clsFolder folder;
        if (row.first == QLatin1String("editor")) {
            WindowDriver driver(Editor, [&](QWidget *w) {
                w->activateWindow();
                interleave(w, Editor);
                if (w->isVisible())
                    after = EditorShows(w);
                WindowDriver::Leave(w, "cmdSave");
            });
            folder.Edit(2009, "CA", 7, "CLERK1");
            EXPECT_FALSE(driver.TimedOut());
        } else {
            folder.EditBatch("CLERK1");
            QPointer<QWidget> w = BatchGrid::Shown();
            ASSERT_NE(w, nullptr);
            Act(w, Type);
            interleave(w, Batch);
            QTest::qWait(20);
            if (w && w->isVisible())
                after = BatchGrid::Rows(w);
            WindowDriver::Leave(w, "cmdRun");
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        EXPECT_EQ(after, Expand(row.after));
        EXPECT_TRUE(Match(Expand(row.boxes), answerer.Lines())) << answerer.Lines().join('\n').toStdString();
        EXPECT_EQ(Court(world), Expand(Lines(row.court)));
        EXPECT_EQ(Logged(world), Expand(Lines(row.logged)));
    }
}

} // namespace
