#include "ModalAnswerer.h"
#include "Scenario.h"
#include "TestWorld.h"
#include "TraceCapture.h"
#include "WindowDriver.h"
#include "clsFolder.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace Scenario;

const QString Batch = QStringLiteral("frmFolderBatch");
const QString Entry = "////";
const QString Some = "Error: One or more folder status changes could not be changed due to existing folder status. [OK]";
const QString NoParty = "Error: You must indicate the party to whom the folders are checked out. [OK]";
QString Done(int n) { return QStringLiteral("Batch Folder Update: %1 folder status change(s) have been made. [OK]").arg(n); }
// The lookup of a case as the grid binds it, and the run's statements.
QString L(const char *table, const char *binds)
{
    return QStringLiteral("Select MASYER,MASTYP,MASSEQ,MASLTP,MASLIT,IfNull(FILOTO,'') As FILOTO From MRLCRT.%1 Left Join "
                          "MRLCRT.FILCHK On FILYER=MASYER And FILTYP=MASTYP And FILSEQ=MASSEQ Where MASYER=? And "
                          "MASTYP=? And MASSEQ=? Order By MASLTP,MASLIT [%2]")
        .arg(QLatin1String(table), QLatin1String(binds));
}
QString S1(const char *binds) { return QStringLiteral("Select * From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=? [%1]").arg(QLatin1String(binds)); }
QString S2(const char *binds)
{
    return QStringLiteral("Insert Into MRLCRT.FILCHK (FILOTO, FILUDT, FILUSR,FILYER, FILTYP, FILSEQ) Values(?,?,?,?,?,?) [%1]").arg(QLatin1String(binds));
}
QString S5(const char *binds) { return QStringLiteral("Delete From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=? [%1]").arg(QLatin1String(binds)); }

QStringList Lines(const QString &text) { return text.split(QStringLiteral("; "), Qt::SkipEmptyParts); }

// The grid's data rows as "year/type/sequence/title/holder";
// the party box, its label, Run; the control that has the focus.
QString Display(QWidget *w)
{
    auto *view = w->findChild<QTableView *>();
    QStringList rows;
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << view->model()->index(r, c).data().toString();
        rows << cells.join('/');
    }
    QWidget *grid = w->findChild<QWidget *>("grd"), *focus = w->focusWidget();
    if (focus && grid->isAncestorOf(focus))
        focus = grid; // the grid's editor and view stand for the grid
    return QStringLiteral("%1 | party %2 %3 | run %4 | focus %5")
        .arg(rows.join("; "))
        .arg(w->findChild<QLineEdit *>("txtCheckOutTo")->isEnabled())
        .arg(w->findChild<QLabel *>("lblCheckOutTo")->isEnabled())
        .arg(w->findChild<QPushButton *>("cmdRun")->isEnabled())
        .arg(focus ? focus->objectName() : QString());
}

struct Row
{
    const char *name;
    QString loans, settings, steps, answers;
    QString after; // the window after the steps ("" when closed)
    QStringList boxes, sent;
    QString court, logged;
};

const Row rows[] = {
    {"a new window waits for its first case", "", "", "", "", Entry + " | party 1 0 | run 0 | focus grd", {}, {}, "", ""},
    {"typing filters keys, advances, looks up and appends a row", "", "", "keys=2x0-09c.a0000a07", "",
     "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd", {},
     {L("MASCIV", "2009:double, CA, 000007")}, "", ""},
    {"a two-digit year above 50 is of the last century", "", "", "keys=51; keys:Right; keys=cf1; keys:Return", "",
     "1951/CF/1/STATE VS FIFTY/; " + Entry + " | party 1 0 | run 1 | focus grd", {}, {L("MASCRM", "1951:double, CF, 1")}, "", ""},
    {"a two-digit year to 50 is of this century", "", "", "keys=07; keys:Right; keys=cf1; keys:Return", "",
     "2007/CF/1/STATE VS SEVEN/; " + Entry + " | party 1 0 | run 1 | focus grd", {}, {L("MASCRM", "2007:double, CF, 1")}, "", ""},
    {"one digit stays as typed", "", "", "keys=7; keys:Right; keys=sc5; keys:Return", "",
     "7/SC/5/OLD VS CASE/; " + Entry + " | party 1 0 | run 1 | focus grd", {}, {L("MASCIV", "7:double, SC, 5")}, "", ""},
    {"the holder of the folder is shown", "2010-CF-12 DA OFFICE", "", "keys=2010cf000012", "",
     "2010/CF/000012/STATE VS DOE/DA OFFICE; " + Entry + " | party 1 0 | run 1 | focus grd", {}, {}, "2010-CF-12 DA OFFICE 1052026 OLD", ""},
    {"a blank type looks nothing up", "", "", "keys=2009  000007", "", "2009/  /000007// | party 1 0 | run 0 | focus grd",
     {}, {}, "", ""},
    {"an unknown case is marked in the entry row, and refused by Run", "", "", "keys=2009ca000007; keys=2010cf000099; optAction_1; cmdRun", "OK",
     "2009/CA/000007/ABLE VS BAKER/; 2010/CF/000099/INVALID LITIGANT/ | party 0 0 | run 0 | focus grd", {"Error: Invalid case number. [OK]"}, {}, "", ""},
    {"a failed lookup keeps the holder the last one showed", "2010-CF-12 DA OFFICE", "",
     "keys=2010cf000012; keys:Escape; keys:Up; keys:Right; keys:Right; keys=000099", "",
     "2010/CF/000099/INVALID LITIGANT/DA OFFICE; " + Entry + " | party 1 0 | run 1 | focus grd", {}, {},
     "2010-CF-12 DA OFFICE 1052026 OLD", ""},
    {"a full year with its text selected does not advance", "", "", "keys=2009ca000007; keys:Escape; keys:Up; keys:F2", "",
     "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd", {}, {}, "", ""},
    {"check-out needs a party", "", "", "keys=2009ca000007; optAction_0; cmdRun", "OK",
     "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 1 | run 1 | focus txtCheckOutTo", {NoParty}, {}, "", ""},
    {"a party of blanks is none", "", "", "keys=2009ca000007; optAction_0; txtCheckOutTo=   ; cmdRun", "OK",
     "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 1 | run 1 | focus txtCheckOutTo", {NoParty}, {}, "", ""},
    {"check-in empties the party box", "", "", "optAction_0; txtCheckOutTo=x; optAction_1", "",
     Entry + " | party 0 0 | run 0 | focus optAction_1", {}, {}, "", ""},
    {"check-out goes bottom up, keeps folders on loan and doubles", "2010-CF-13 PUBLIC DEF",
     "FolderEdit/mnuAppEditPreferencesLoggingAuto=True",
     "keys=2009ca000007; keys=2010cf000012; keys=2010cf000013; keys=2009ca000007; optAction_0; txtCheckOutTo= da ; cmdRun", "OK",
     "2009/CA/000007/ABLE VS BAKER/; 2010/CF/000013/STATE VS ROE/PUBLIC DEF; " + Entry + " | party 1 1 | run 0 | focus grd",
     {Some},
     {L("MASCIV", "2009:double, CA, 000007"), L("MASCRM", "2010:double, CF, 000012"), L("MASCRM", "2010:double, CF, 000013"),
      L("MASCIV", "2009:double, CA, 000007"), S1("2009:double, CA, 7:double"), S2(" DA , {today}, CLERK1, 2009:double, CA, 7:double"),
      S1("2010:double, CF, 13:double"), S1("2010:double, CF, 12:double"), S2(" DA , {today}, CLERK1, 2010:double, CF, 12:double"),
      S1("2009:double, CA, 7:double")},
     "2009-CA-7  DA  {today} CLERK1; 2010-CF-12  DA  {today} CLERK1; 2010-CF-13 PUBLIC DEF 1052026 OLD",
     "2009-CA-7  DA  out1 auto1 CLERK1; 2010-CF-12  DA  out1 auto1 CLERK1"},
    {"check-in logs the holder shown, counts, and closes without a question", "2009-CA-7 JUDGE",
     "FolderEdit/mnuAppEditPreferencesLoggingManual=True", "keys=2009ca000007; optAction_1; cmdRun; cmdCancel", "OK", "", {Done(1)},
     {L("MASCIV", "2009:double, CA, 000007"), S1("2009:double, CA, 7:double"), S5("2009:double, CA, 7:double")}, "",
     "2009-CA-7 JUDGE out0 auto0 CLERK1"},
    {"no action writes nothing and keeps every row", "2009-CA-7 JUDGE", "", "keys=2009ca000007; cmdRun", "OK",
     "2009/CA/000007/ABLE VS BAKER/JUDGE; " + Entry + " | party 1 0 | run 0 | focus grd", {Some},
     {L("MASCIV", "2009:double, CA, 000007"), S1("2009:double, CA, 7:double")}, "2009-CA-7 JUDGE 1052026 OLD", ""},
    {"closing with Run on asks; No keeps it", "", "", "keys=2009ca000007; close", "No",
     "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd", {"Exit: Discard changes? [Yes No]"}, {}, "", ""},
};

TEST(BatchWindow, Scenarios)
{
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        TestWorld world;
        world.InstallReferenceTables();
        for (const char *values : {"MASCIV VALUES (2009,'CA',7,'PL',1,'N','ABLE',''", "MASCIV VALUES (2009,'CA',7,'DF',1,'N','BAKER',''",
                                   "MASCRM VALUES (2010,'CF',12,'PL',1,'N','STATE',''", "MASCRM VALUES (2010,'CF',12,'DF',1,'N','DOE',''",
                                   "MASCRM VALUES (2010,'CF',13,'PL',1,'N','STATE',''", "MASCRM VALUES (2010,'CF',13,'DF',1,'N','ROE',''",
                                   "MASCRM VALUES (2007,'CF',1,'PL',1,'N','STATE',''", "MASCRM VALUES (2007,'CF',1,'DF',1,'N','SEVEN',''",
                                   "MASCRM VALUES (1951,'CF',1,'PL',1,'N','STATE',''", "MASCRM VALUES (1951,'CF',1,'DF',1,'N','FIFTY',''",
                                   "MASCIV VALUES (7,'SC',5,'PL',1,'N','OLD',''", "MASCIV VALUES (7,'SC',5,'DF',1,'N','CASE',''"})
            world.Exec(QStringLiteral("INSERT INTO MRLCRT.%1)").arg(QLatin1String(values)));
        for (const QString &loan : Lines(row.loans))
            world.Lend(loan.section('-', 0, 0).toInt(), loan.section('-', 1, 1), loan.section('-', 2).section(' ', 0, 0).toInt(),
                       loan.section(' ', 1));
        Store(world, Lines(row.settings));
        ModalAnswerer answerer(Lines(row.answers));
        TraceCapture trace;

        clsFolder folder;
        folder.EditBatch("CLERK1"); // returns at once: the window is modeless
        QPointer<QWidget> w = WindowDriver::Find(Batch);
        ASSERT_NE(w, nullptr);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        w->findChild<QWidget *>("grd")->setFocus();
        Act(w, row.steps);
        QTest::qWait(20); // the last box answered
        const QString after = w && w->isVisible() ? Display(w) : QString();
        if (w && w->isVisible()) {
            w->findChild<QPushButton *>("cmdRun")->setEnabled(false); // leave without a question
            w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(w.isNull()); // closed is gone

        EXPECT_EQ(after, Expand(row.after));
        EXPECT_TRUE(Match(row.boxes, answerer.Lines())) << answerer.Lines().join('\n').toStdString();
        if (!row.sent.isEmpty()) {
            EXPECT_EQ(Sent(trace), Expand(row.sent));
        }
        EXPECT_EQ(Court(world), Expand(Lines(row.court)));
        EXPECT_EQ(Logged(world), Expand(Lines(row.logged)));
    }
}

} // namespace
