#include "BatchGrid.h"
#include "ModalAnswerer.h"
#include "Scenario.h"
#include "TestWorld.h"
#include "TraceCapture.h"
#include "WindowDriver.h"
#include "clsFolder.h"
#include "shared/controls/FlexGrid.h"

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
// Three cases pasted, and the window after it with the grid's cursor still to be named.
const QString Pasted = "clip=2009-CA-7\n2010-CF-12\n2010-CF-13; keys:Ctrl+V; ";
const QString Three = "2009/CA/7/ABLE VS BAKER/; 2010/CF/12/STATE VS DOE/; 2010/CF/13/STATE VS ROE/; " + Entry + " | party 1 0 | run 1 | focus grd ";
const QString Some = "Error: One or more folder status changes could not be changed due to existing folder status. [OK]";
const QString NoParty = "Error: You must indicate the party to whom the folders are checked out. [OK]";
// n pasted lines that are no case numbers, the first 100 characters long, and the box that lists
// the first twenty, each cut to 80 characters, and counts the rest.
QString BadLines(int n)
{
    QStringList lines{QString(100, QLatin1Char('x'))};
    for (int i = 2; i <= n; ++i)
        lines << QStringLiteral("bad %1").arg(i);
    return lines.join('\n');
}
QString Refused(int n)
{
    QStringList listed{QStringLiteral("line 1: ").append(QString(71, QLatin1Char('x'))).append(QChar(0x2026))};
    for (int i = 2; i <= std::min(n, 20); ++i)
        listed << QStringLiteral("line %1: bad %1").arg(i);
    return "Batch Folder Update: These lines are not case numbers and were left out:\n" + listed.join('\n') +
           (n > 20 ? QStringLiteral("\nand %1 more").arg(n - 20) : QString()) + " [OK]";
}
// The lookup of a case as the grid binds it, and the run's statements.
QString L(const char *table, const char *binds)
{
    return QStringLiteral("Select MASYER,MASTYP,MASSEQ,MASLTP,MASLIT,IfNull(FILOTO,'') As FILOTO From MRLCRT.%1 Left Join "
                          "MRLCRT.FILCHK On FILYER=MASYER And FILTYP=MASTYP And FILSEQ=MASSEQ Where MASYER=? And "
                          "MASTYP=? And MASSEQ=? Order By MASLTP,MASLIT [%2]")
        .arg(QLatin1String(table), QLatin1String(binds));
}
QString S1(const char *binds) { return QStringLiteral("Select * From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=? [%1]").arg(QLatin1String(binds)); }
QString S2(const char *binds) { return QStringLiteral("Insert Into MRLCRT.FILCHK (FILOTO, FILUDT, FILUSR,FILYER, FILTYP, FILSEQ) Values(?,?,?,?,?,?) [%1]").arg(QLatin1String(binds)); }
QString S5(const char *binds) { return QStringLiteral("Delete From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=? [%1]").arg(QLatin1String(binds)); }


// The grid's rows; the party box, its label, Run; the control that has the focus, and the grid's cursor.
QString Display(QWidget *w)
{
    QWidget *grid = w->findChild<QWidget *>("grd"), *focus = w->focusWidget();
    QString at;
    if (focus && grid->isAncestorOf(focus)) {
        focus = grid; // the grid's editor and view stand for the grid
        // Row() and Col() are inline: the cursor is read without the grid's exported symbols.
        const auto *flex = static_cast<const FlexGrid *>(grid);
        at = QStringLiteral(" %1,%2").arg(flex->Row()).arg(flex->Col());
    }
    return QStringLiteral("%1 | party %2 %3 | run %4 | focus %5%6")
        .arg(BatchGrid::Rows(w))
        .arg(w->findChild<QLineEdit *>("txtCheckOutTo")->isEnabled())
        .arg(w->findChild<QLabel *>("lblCheckOutTo")->isEnabled())
        .arg(w->findChild<QPushButton *>("cmdRun")->isEnabled())
        .arg(focus ? focus->objectName() : QString(), at);
}

// The clerk's steps of this window beyond the shared ones:
//   "cell R,C"         a click on the grid's data row R, column C ("dcell": the second click of a double click)
//   "rmenu N=name"     the context menu by a right-click on the grid's row N; choose the item
void Steps(QWidget *w, const QString &steps)
{
    for (const QString &step : Lines(steps)) {
        if (!w->isVisible())
            return;
        const QString what = step.section('=', 1);
        if (step.startsWith("cell ") || step.startsWith("dcell ")) {
            auto *view = w->findChild<QTableView *>();
            const QStringList at = step.section(' ', 1).split(',');
            const QPoint centre = view->visualRect(view->model()->index(at[0].toInt() - 1, at[1].toInt())).center();
            QTest::mouseEvent(step.startsWith("d") ? QTest::MouseDClick : QTest::MouseClick, view->viewport(), Qt::LeftButton, {}, centre);
        } else if (step.startsWith("rmenu ")) {
            auto *view = w->findChild<QTableView *>();
            const int row = step.section(' ', 1).section('=', 0, 0).toInt() - 1;
            ChooseFromMenu(view->viewport(), view->visualRect(view->model()->index(row, 0)).center(), true, what);
        } else {
            Act(w, step);
        }
    }
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
    {"a new window waits for its first case", "", "", "", "", Entry + " | party 1 0 | run 0 | focus grd 1,0", {}, {}, "", ""},
    {"typing filters keys, advances, looks up and appends a row", "", "", "keys=2x0-09c.a0000a07", "",
     "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd 2,0", {},
     {L("MASCIV", "2009:double, CA, 000007")}, "", ""},
    {"a two-digit year above 50 is of the last century", "", "", "keys=51; keys:Right; keys=cf1; keys:Return", "",
     "1951/CF/1/STATE VS FIFTY/; " + Entry + " | party 1 0 | run 1 | focus grd 2,2", {}, {L("MASCRM", "1951:double, CF, 1")}, "", ""},
    {"a two-digit year to 50 is of this century", "", "", "keys=07; keys:Right; keys=cf1; keys:Return", "",
     "2007/CF/1/STATE VS SEVEN/; " + Entry + " | party 1 0 | run 1 | focus grd 2,2", {}, {L("MASCRM", "2007:double, CF, 1")}, "", ""},
    {"a two-digit year of 50 is still of this century", "", "", "keys=50; keys:Right; keys=cf1; keys:Return", "",
     "2050/CF/1/INVALID LITIGANT!/ | party 1 0 | run 0 | focus grd 1,2", {}, {L("MASCRM", "2050:double, CF, 1")}, "", ""},
    {"a pasted two-digit year of 50 is of this century too", "", "", "clip=50-CF-1; keys:Ctrl+V", "",
     "2050/CF/1/INVALID LITIGANT!/ | party 1 0 | run 0 | focus grd 1,0", {}, {}, "", ""},
    {"one digit stays as typed", "", "", "keys=7; keys:Right; keys=sc5; keys:Return", "",
     "7/SC/5/OLD VS CASE/; " + Entry + " | party 1 0 | run 1 | focus grd 2,2", {}, {L("MASCIV", "7:double, SC, 5")}, "", ""},
    {"the holder of the folder is shown", "2010-CF-12 DA OFFICE", "", "keys=2010cf000012", "",
     "2010/CF/000012/STATE VS DOE/DA OFFICE; " + Entry + " | party 1 0 | run 1 | focus grd 2,0", {}, {}, "2010-CF-12 DA OFFICE 1052026 OLD", ""},
    {"a blank type looks nothing up", "", "", "keys=2009  000007", "", "2009/  /000007// | party 1 0 | run 0 | focus grd 1,0",
     {}, {}, "", ""},
    {"an unknown case is marked in the entry row, and refused by Run", "", "", "keys=2009ca000007; keys=2010cf000099; optAction_1; cmdRun", "OK",
     "2009/CA/000007/ABLE VS BAKER/; 2010/CF/000099/INVALID LITIGANT!/ | party 0 0 | run 0 | focus grd 2,0", {"Error: Invalid case number. [OK]"}, {}, "", ""},
    {"a failed lookup keeps the holder the last one showed", "2010-CF-12 DA OFFICE", "",
     "keys=2010cf000012; keys:Escape; keys:Up; keys:Right; keys:Right; keys=000099", "",
     "2010/CF/000099/INVALID LITIGANT!/DA OFFICE; " + Entry + " | party 1 0 | run 1 | focus grd 1,0", {}, {},
     "2010-CF-12 DA OFFICE 1052026 OLD", ""},
    {"a full year with its text selected does not advance", "", "", "keys=2009ca000007; keys:Escape; keys:Up; keys:F2", "",
     "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd 1,0", {}, {}, "", ""},
    {"check-out needs a party", "", "", "keys=2009ca000007; optAction_0; cmdRun", "OK",
     "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 1 | run 1 | focus txtCheckOutTo", {NoParty}, {}, "", ""},
    {"a party of blanks is none", "", "", "keys=2009ca000007; optAction_0; txtCheckOutTo=   ; cmdRun", "OK",
     "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 1 | run 1 | focus txtCheckOutTo", {NoParty}, {}, "", ""},
    {"check-in empties the party box", "", "", "optAction_0; txtCheckOutTo=x; optAction_1", "",
     Entry + " | party 0 0 | run 0 | focus optAction_1", {}, {}, "", ""},
    {"check-out goes bottom up, keeps folders on loan and doubles", "2010-CF-13 PUBLIC DEF",
     "FolderEdit/mnuAppEditPreferencesLoggingAuto=True",
     "keys=2009ca000007; keys=2010cf000012; keys=2010cf000013; keys=2009ca000007; optAction_0; txtCheckOutTo= da ; cmdRun", "OK",
     "2009/CA/000007/ABLE VS BAKER {Not checked out: already out to this party.}/; 2010/CF/000013/STATE VS ROE {Not checked out: on loan to PUBLIC DEF.}/PUBLIC DEF; " + Entry + " | party 1 1 | run 0 | focus grd 3,0",
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
     "2009/CA/000007/ABLE VS BAKER {Not changed: neither check-out nor check-in was chosen.}/JUDGE; " + Entry + " | party 1 0 | run 0 | focus grd 2,0", {Some},
     {L("MASCIV", "2009:double, CA, 000007"), S1("2009:double, CA, 7:double")}, "2009-CA-7 JUDGE 1052026 OLD", ""},
    {"a row edited to a blank type is refused, marked, and nothing written", "", "",
     "keys=2009ca000007; keys:Escape; keys:Up; keys:Right; keys:F2; keys=  ; keys:Return; optAction_0; txtCheckOutTo=DA; cmdRun", "OK", "2009/  /000007/INVALID LITIGANT!/; " + Entry + " | party 1 1 | run 0 | focus grd 1,2",
     {"Error: Invalid case number. [OK]"}, {L("MASCIV", "2009:double, CA, 000007")}, "", ""},
    {"a row edited to year 0 is refused", "", "",
     "keys=2009ca000007; keys:Escape; keys:Up; keys=0; keys:Return; optAction_0; txtCheckOutTo=DA; cmdRun", "OK", "0/CA/000007/INVALID LITIGANT!/; " + Entry + " | party 1 1 | run 0 | focus grd 1,0",
     {"Error: Invalid case number. [OK]"}, {}, "", ""},
    {"a party of a tab is a party: only blanks are trimmed", "", "",
     "keys=2009ca000007; optAction_0; clip=\t; txtCheckOutTo=; keys:Ctrl+V; cmdRun", "OK", Entry + " | party 1 1 | run 0 | focus optAction_0", {Done(1)}, {}, "2009-CA-7 \t {today} CLERK1", ""},
    {"Tab from the sequence commits it and leaves the grid", "", "", "keys=2009CA7; keys:Tab", "", "2009/CA/7/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus cmdCancel", {}, {}, "", ""},
    {"a scanned run-together case number leaves the cursor in the next year", "", "", "scan=2009CA7", "", "2009/CA/7/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd 2,0", {}, {}, "", ""},
    {"a scanned case the court lacks keeps its row; the next scan gets its own", "", "", "scan=2010CF99; scan=2009-CA-7", "", "2010/CF/99/INVALID LITIGANT!/; 2009/CA/7/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd 3,0", {}, {}, "", ""},
    {"a typed case the court lacks, ended with Enter, stays the entry row with the cursor in its sequence", "", "", "typed=2010cf99", "",
     "2010/CF/99/INVALID LITIGANT!/ | party 1 0 | run 0 | focus grd 1,2", {}, {}, "", ""},
    {"a typed case ended with Enter: the next row, the same column", "", "", "typed=2009ca7", "",
     "2009/CA/7/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd 2,2", {}, {}, "", ""},
    {"a scanned label's number goes in whole; the next scan finds the cursor in a year", "", "", "scan=2010CF000099; scan=2009CA000007", "",
     "2010/CF/99/INVALID LITIGANT!/; 2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd 3,0", {}, {}, "", ""},
    {"Enter on the focused Cancel presses Cancel", "", "", "keys=2009ca000007; cmdCancel; cmdCancel:Return", "No; Yes", "",
     {Discard, Discard}, {}, "", ""},
    {"Ctrl+V in a cell goes through the cell's filters", "", "", "keys=2009; clip=ca; keys:Ctrl+V; clip=7x; keys:Ctrl+V; keys:Return", "", "2009/CA/7/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd 2,2", {}, {}, "", ""},
    {"one case pasted outside a cell fills the entry row", "", "", "clip=2009-CA-7; keys:Ctrl+V", "", "2009/CA/7/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd 2,0", {}, {}, "", ""},
    {"the editor's menu Paste goes through the filters and the length", "", "", "keys=2009ca; clip=00000712; menu=mnuPaste; keys:Return", "", "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd 2,2", {}, {}, "", ""},
    {"cells copied from a spreadsheet, a case a row", "", "", "clip=2009\tca\t7\n2010\tCF\t 12 \n2010\t\tCF\t13\t; keys:Ctrl+V", "", Three + "4,0", {}, {}, "", ""},
    {"a pasted list takes two-digit years as typing does", "", "", "clip=07-CF-1\n51 cf 1; keys:Ctrl+V", "", "2007/CF/1/STATE VS SEVEN/; 1951/CF/1/STATE VS FIFTY/; " + Entry + " | party 1 0 | run 1 | focus grd 3,0", {}, {}, "", ""},
    {"a paste of 5,000 lines that are no case numbers lists twenty and counts the rest", "", "", "clip=" + BadLines(5000) + "; keys:Ctrl+V", "OK", Entry + " | party 1 0 | run 0 | focus grd 1,0", {Refused(5000)}, {}, "", ""},
    {"a line with a NUL, a direction override or a form feed is refused whole and listed escaped", "", "",
     "clip=2010-CF-12" + QString(QChar(0)) + "junk\n" + QString(QChar(0x202e)) + "2010-CF-13\n2010\fCF\f13\n2010-CF-12; keys:Ctrl+V", "OK",
     "2010/CF/12/STATE VS DOE/; " + Entry + " | party 1 0 | run 1 | focus grd 2,0",
     {"Batch Folder Update: These lines are not case numbers and were left out:\nline 1: 2010-CF-12\\x00junk\n"
      "line 2: \\u202e2010-CF-13\nline 3: 2010\\x0cCF\\x0c13 [OK]"}, {}, "", ""},
    {"a paste of twenty such lines lists them all", "", "", "clip=" + BadLines(20) + "; keys:Ctrl+V", "OK", Entry + " | party 1 0 | run 0 | focus grd 1,0", {Refused(20)}, {}, "", ""},
    {"Ctrl+Delete removes a row, never the entry row", "", "", "keys=2009ca000007; keys=2010cf000012; keys:Ctrl+Delete; keys:Escape; keys:Up; keys:Up; keys:Ctrl+Delete", "", "2010/CF/000012/STATE VS DOE/; " + Entry + " | party 1 0 | run 1 | focus grd 1,0", {}, {}, "", ""},
    {"a right-click on a row deletes that row", "", "", "clip=2009-CA-7\n2010-CF-99\n2010-CF-12; keys:Ctrl+V; rmenu 2=mnuDeleteRow", "", "2009/CA/7/ABLE VS BAKER/; 2010/CF/12/STATE VS DOE/; " + Entry + " | party 1 0 | run 1 | focus grd 2,0", {}, {}, "", ""},
    {"Page Up goes to the first row, Down one row on", "", "", Pasted + "keys:PageUp; keys:Down", "", Three + "2,0", {}, {}, "", ""},
    {"Page Down goes to the entry row", "", "", Pasted + "keys:PageUp; keys:PageDown", "", Three + "4,0", {}, {}, "", ""},
    {"Ctrl+Home goes to the first row, End to the row's last cell", "", "", Pasted + "keys:Ctrl+Home; keys:End", "", Three + "1,4", {}, {}, "", ""},
    {"Home goes to the row's first cell", "", "", Pasted + "keys:Right; keys:Home", "", Three + "4,0", {}, {}, "", ""},
    {"Ctrl+End goes to the last row's last cell", "", "", Pasted + "keys:Ctrl+Home; keys:Ctrl+End", "", Three + "4,4", {}, {}, "", ""},
    {"Left moves one cell back", "", "", Pasted + "keys:Right; keys:Right; keys:Left", "", Three + "4,1", {}, {}, "", ""},
    {"in a cell's editor Left moves in the text, then to the cell before", "", "", Pasted + "keys:Up; keys:Right; keys:Right; keys:F2; keys:Left; keys:Left; keys:Left", "", Three + "3,1", {}, {}, "", ""},
    {"in a cell's editor Up and Page Down commit and move", "", "", Pasted + "keys:Up; keys:F2; keys:Up; keys:F2; keys:PageDown", "", Three + "4,0", {}, {}, "", ""},
    {"Tab and Shift+Tab move along the row, editing or not", "", "", Pasted + "keys:Up; keys:Tab; keys:F2; keys:Backtab", "", Three + "3,0", {}, {}, "", ""},
    {"a click moves the cursor to the cell", "", "", Pasted + "cell 2,2", "", Three + "2,2", {}, {}, "", ""},
    {"a click on a title leaves the cursor in its row, at the year", "", "", Pasted + "cell 1,3", "", Three + "4,0", {}, {}, "", ""},
    {"a click on the cursor's cell edits it", "", "", Pasted + "cell 1,1; cell 1,1; keys:Backspace; keys:Return", "", "2009//7//; 2010/CF/12/STATE VS DOE/; 2010/CF/13/STATE VS ROE/; " + Entry + " | party 1 0 | run 1 | focus grd 1,1", {}, {}, "", ""},
    {"Enter on a cell not being edited edits it", "", "", Pasted + "cell 1,1; keys:Return; keys:Backspace; keys:Return", "", "2009//7//; 2010/CF/12/STATE VS DOE/; 2010/CF/13/STATE VS ROE/; " + Entry + " | party 1 0 | run 1 | focus grd 1,1", {}, {}, "", ""},
    {"a double click edits the cell", "", "", Pasted + "cell 1,1; dcell 1,1; keys:Backspace; keys:Return", "", "2009//7//; 2010/CF/12/STATE VS DOE/; 2010/CF/13/STATE VS ROE/; " + Entry + " | party 1 0 | run 1 | focus grd 1,1", {}, {}, "", ""},
    {"Escape after a run that left rows asks; each row says why it was left", "", "", "keys=2009ca000007; optAction_1; cmdRun; keys:Escape", "OK; No", "2009/CA/000007/ABLE VS BAKER {Not checked in: the folder is not on loan.}/; " + Entry + " | party 0 0 | run 0 | focus grd 2,0", {Some, Discard}, {}, "", ""},
    {"Escape on an empty window closes it", "", "", "keys:Escape", "", "", {}, {}, "", ""},
    {"a data error in a lookup is reported and closes the window", "drop", "", "keys=2009ca000007", "OK", "", {"Data Error: *"}, {}, "", ""},
    {"a data error in a run is reported, then the close guard asks", "fail", "", "keys=2009ca000007; optAction_0; txtCheckOutTo=DA; cmdRun", "OK; Yes", "", {"Data Error: *", Discard}, {}, "", ""},
    {"a list longer than the grid scrolls to the entry row", "", "", "clip=" + QString("2009-CA-7\n").repeated(20) + "; keys:Ctrl+V", "", QString("2009/CA/7/ABLE VS BAKER/; ").repeated(20) + Entry + " | party 1 0 | run 1 | focus grd 21,0", {}, {}, "", ""},
    {"closing with Run on asks; No keeps it", "", "", "keys=2009ca000007; close", "No",
     "2009/CA/000007/ABLE VS BAKER/; " + Entry + " | party 1 0 | run 1 | focus grd 2,0", {Discard}, {}, "", ""},
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
        if (row.loans == QLatin1String("drop")) // a data error: the civil masters gone
            world.Exec("DROP TABLE MRLCRT.MASCIV");
        else if (row.loans == QLatin1String("fail")) // a data error: every new loan refused
            world.FailInsertsFrom(0, "disk on fire");
        else
            for (const QString &loan : Lines(row.loans))
                world.Lend(loan.section('-', 0, 0).toInt(), loan.section('-', 1, 1), loan.section('-', 2).section(' ', 0, 0).toInt(),
                           loan.section(' ', 1));
        Store(world, Lines(row.settings));
        ModalAnswerer answerer(Lines(row.answers));
        TraceCapture trace;

        clsFolder folder;
        folder.EditBatch("CLERK1"); // returns at once: the window is modeless
        QPointer<QWidget> w = BatchGrid::Shown();
        ASSERT_NE(w, nullptr);
        Steps(w, row.steps);
        QTest::qWait(20); // the last box answered
        const QString after = w && w->isVisible() ? Display(w) : QString();
        WindowDriver::Leave(w, "cmdRun");
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

// The window at a size the clerk gives it: the option buttons where designed, the grid taking the
// room, Cancel and Run under it and inside the window, the "Checked Out" column wide enough for
// its header and never narrower than designed.
TEST(BatchWindow, Layout)
{
    // The design size, smaller (held at the minimum), larger (the grid grows by all of it).
    for (const QSize asked : {QSize(496, 463), QSize(200, 100), QSize(700, 560)}) {
        SCOPED_TRACE(asked.width());
        TestWorld world;
        world.InstallReferenceTables();
        clsFolder folder;
        folder.EditBatch("CLERK1");
        QPointer<QWidget> w = WindowDriver::Find(Batch);
        ASSERT_NE(w, nullptr);
        const int widened = w->width() - 496; // for a wider holder column at this font
        w->resize(asked);
        QCoreApplication::processEvents();
        EXPECT_EQ(w->findChild<QWidget *>("optAction_0")->geometry(), QRect(24, 32, 145, 23));
        EXPECT_EQ(w->findChild<QWidget *>("optAction_1")->geometry(), QRect(24, 56, 145, 23));
        const QRect grid = w->findChild<QWidget *>("grd")->geometry();
        EXPECT_EQ(w->size(), asked.expandedTo(QSize(496 + widened, 463)));
        EXPECT_EQ(grid.size(), QSize(481, 249) + w->size() - QSize(496, 463));
        for (const char *name : {"cmdCancel", "cmdRun"}) {
            const QRect button = w->findChild<QWidget *>(name)->geometry();
            EXPECT_TRUE(w->rect().contains(button)) << name;
            EXPECT_GT(button.top(), grid.bottom()) << name;
            EXPECT_EQ(button.width(), grid.width()) << name;
        }
        auto *view = w->findChild<QTableView *>();
        EXPECT_GE(view->columnWidth(4), std::max(64, view->fontMetrics().horizontalAdvance("Checked Out")));
        EXPECT_LE(view->columnWidth(4) - 64, std::max(0, grid.width() - 481 + 80)); // the spare, no more
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
