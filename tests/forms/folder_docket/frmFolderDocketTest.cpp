#include "ModalAnswerer.h"
#include "Scenario.h"
#include "TestWorld.h"
#include "TraceCapture.h"
#include "WindowDriver.h"
#include "clsFolder.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace Scenario;

const QString Docket = QStringLiteral("frmFolderDocket");
const QString Hearings = "Select Distinct HRGYER,HRGTYP,HRGSEQ,HRGJDG,HRGROM From MRLCRT.HRGDTA Where HRGHDT={ymd}";
const QString Insert = "Insert Into MRLCRT.FILCHK (FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR) Values(?,?,?,?,?,?) [";
const QString Remembered = "BeginTime=0; Branch=; EndTime=0; HearingDate={iso}; Judge=*ALL; Room=*ALL; ";
const QString Fresh = "{TODAY} | 0 | 0 | *ALL | *ALL |  | out 0 in 0 | party 0 0  | run 0 0 | tips 110";
const QString Both = "Error: Begin and end times must be both filled in, or both zero. [OK]";
const QString Invalid = "Error: Invalid time. [OK]";
QString Loan(const char *key) { return QStringLiteral("Select * From MRLCRT.FILCHK  Where %1").arg(QLatin1String(key)); }

template <typename T> T *Get(QWidget *w, const char *name) { return w->findChild<T *>(QLatin1String(name)); }

// date | begin | end | judge | room | branch | options | party box and label | Run enabled and default
// | whether the begin, end and party boxes explain themselves in a tooltip
QString Display(QWidget *w)
{
    auto *party = Get<QLineEdit>(w, "txtREQOTO");
    auto *run = Get<QPushButton>(w, "cmdRun");
    return QStringLiteral("%1 | %2 | %3 | %4 | %5 | %6 | out %7 in %8 | party %9 %10 %11 | run %12 %13")
        .arg(Get<QDateEdit>(w, "dtpREQDAT")->date().toString("MM/dd/yyyy"), Get<QLineEdit>(w, "txtBEGTIM")->text(),
             Get<QLineEdit>(w, "txtENDTIM")->text(), Get<QComboBox>(w, "cboREQJDG")->currentText(),
             Get<QComboBox>(w, "cboREQROM")->currentText(), Get<QLineEdit>(w, "txtREQBRN")->text())
        .arg(Get<QRadioButton>(w, "optAction_0")->isChecked())
        .arg(Get<QRadioButton>(w, "optAction_1")->isChecked())
        .arg(party->isEnabled())
        .arg(Get<QLabel>(w, "lblREQOTO")->isEnabled())
        .arg(party->text())
        .arg(run->isEnabled())
        .arg(run->isDefault()) +
           QStringLiteral(" | tips %1%2%3")
               .arg(!Get<QLineEdit>(w, "txtBEGTIM")->toolTip().isEmpty())
               .arg(!Get<QLineEdit>(w, "txtENDTIM")->toolTip().isEmpty())
               .arg(!party->toolTip().isEmpty());
}


// The docket of today: four cases heard, one heard tomorrow; their masters hold the branches.
void Arrange(const TestWorld &world)
{
    const QString tomorrow = QDate::currentDate().addDays(1).toString("yyyyMMdd");
    for (const QString &values : QStringList{"2009,'CF',1,'SMI','1',{ymd},900", "2009,'CF',2,'JON','2',{ymd},1030",
                                  "2010,'CA',3,'SMI','4A',{ymd},1330", "2010,'CV',4,'GAR','1',{ymd},1500",
                                  "2011,'CF',9,'SMI','1'," + tomorrow + ",900"})
        world.Exec("INSERT INTO MRLCRT.HRGDTA VALUES (" + Expand(values) + ")");
    for (const char *values : {"MASCRM VALUES (2009,'CF',1,'PL',1,'N'", "MASCRM VALUES (2009,'CF',2,'PL',1,'S'",
                               "MASCIV VALUES (2010,'CA',3,'PL',1,'N'", "MASCRM VALUES (2010,'CV',4,'PL',1,'N'"})
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.%1,'STATE','')").arg(QLatin1String(values)));
}

struct Row
{
    const char *name;
    QString loans, settings, steps, answers;
    QString shown, after; // when it opened; after the steps, if still open ("" unchecked)
    QStringList boxes, sent;
    QString court, logged, written; // written: the section "FolderDocket" after ("" unchecked)
};

const Row rows[] = {
    {"a new clerk sees nothing chosen and closes without a question", "", "", "cmdCancel", "", Fresh, "", {}, {}, "", "",
     Placement},
    {"every judge gets the folders of its own hearings, a loan passes over", "2010-CV-4 PUBLIC DEF", "",
     "optAction_0; cmdRun", "OK", "", "", {Done(4)}, {},
     "2009-CF-1 SMI {today} CLERK1; 2009-CF-2 JON {today} CLERK1; 2010-CA-3 SMI {today} CLERK1; 2010-CV-4 GAR {today} CLERK1",
     "", Remembered + Placement},
    {"one judge: the typed party, the loan rewritten with its quote doubled", "2009-CF-2 PUBLIC DEF",
     "FolderEdit/mnuAppEditPreferencesLoggingAuto=True", "pick cboREQJDG=JON; optAction_0; txtREQOTO=o'neil ; cmdRun", "OK",
     "", "", {Done(1)},
     {Hearings + " And HRGJDG='JON'", Loan("FILYER=2009 And FILTYP='CF' And FILSEQ=2"),
      "Update MRLCRT.FILCHK Set FILOTO= 'O''NEIL ', FILUDT= {today}, FILUSR= 'CLERK1' Where FILYER=2009 And FILTYP='CF' And FILSEQ=2"},
     "2009-CF-2 O'NEIL  {today} CLERK1", "2009-CF-2 O'NEIL  out1 auto1 CLERK1",
     "BeginTime=0; Branch=; EndTime=0; HearingDate={iso}; Judge=JON; Room=*ALL; " + Placement},
    {"judge and room: the insert binds the hearing's key and the party as typed", "",
     "FolderEdit/mnuAppEditPreferencesLoggingManual=True",
     "pick cboREQJDG=SMI; pick cboREQROM=4A; optAction_0; txtREQOTO=da ; cmdRun", "OK", "", "", {Done(1)},
     {Hearings + " And HRGJDG='SMI' And HRGROM='4A'", Loan("FILYER=2010 And FILTYP='CA' And FILSEQ=3"),
      Insert + "2010, CA, 3, DA , {today}, CLERK1]"},
     "2010-CA-3 DA  {today} CLERK1", "2010-CA-3 DA  out1 auto0 CLERK1", ""},
    {"check-in takes back what is out on this docket and logs its holder", "2009-CF-2 JON; 2010-CV-4 DA; 2011-CF-9 SMI",
     "FolderEdit/mnuAppEditPreferencesLoggingManual=True", "optAction_1; cmdRun", "OK", "", "", {Done(2)}, {},
     "2011-CF-9 SMI 1052026 OLD", "2009-CF-2 JON out0 auto0 CLERK1; 2010-CV-4 DA out0 auto0 CLERK1", ""},
    {"afternoon times are normalised; a folder not out is passed over", "", "",
     "txtBEGTIM=1; txtENDTIM=200; optAction_1; cmdRun", "OK", "", "", {Done(0)},
     {Hearings + " And HRGHTM Between 1201 And 1400", Loan("FILYER=2010 And FILTYP='CA' And FILSEQ=3")}, "", "",
     "BeginTime=1; Branch=; EndTime=200; HearingDate={iso}; Judge=*ALL; Room=*ALL; " + Placement},
    {"a branch: a CV case is looked up in the criminal master", "", "",
     "txtREQBRN=n; pick cboREQJDG=GAR; optAction_0; txtREQOTO=x; cmdRun", "OK", "", "", {Done(1)},
     {Hearings + " And HRGJDG='GAR'", "Select * From MRLCRT.MASCRM Where MASYER=? And MASTYP=? and MASSEQ=? [2010, CV, 4]",
      Loan("FILYER=2010 And FILTYP='CV' And FILSEQ=4"), Insert + "2010, CV, 4, X, {today}, CLERK1]"},
     "2010-CV-4 X {today} CLERK1", "", ""},
    {"a branch: a civil case of another branch is left out", "", "",
     "txtREQBRN=s; pick cboREQJDG=SMI; pick cboREQROM=4A; optAction_1; cmdRun", "OK", "", "", {Done(0)},
     {Hearings + " And HRGJDG='SMI' And HRGROM='4A'",
      "Select * From MRLCRT.MASCIV Where MASYER=? And MASTYP=? and MASSEQ=? [2010, CA, 3]"},
     "", "", "BeginTime=0; Branch=S; EndTime=0; HearingDate={iso}; Judge=SMI; Room=4A; " + Placement},
    {"begin without end", "", "", "txtBEGTIM=830; txtENDTIM=0; optAction_1; cmdRun", "OK", "",
     "{TODAY} | 830 | 0 | *ALL | *ALL |  | out 0 in 1 | party 0 0  | run 1 1 | tips 110 | focus txtBEGTIM", {Both}, {}, "", "", Placement},
    {"end without begin", "", "", "txtENDTIM=430; optAction_1; cmdRun", "OK", "", "", {Both}, {}, "", "", Placement},
    {"the end before the begin", "", "", "txtBEGTIM=130; txtENDTIM=1100; optAction_1; cmdRun", "OK", "",
     "{TODAY} | 130 | 1100 | *ALL | *ALL |  | out 0 in 1 | party 0 0  | run 1 1 | tips 110 | focus txtENDTIM",
     {"Error: The end time must fall after the begin time. [OK]"}, {}, "", "", Placement},
    {"evening begin", "", "", "txtBEGTIM=730; txtENDTIM=745; optAction_1; cmdRun", "OK", "",
     "{TODAY} | 730 | 745 | *ALL | *ALL |  | out 0 in 1 | party 0 0  | run 1 1 | tips 110 | focus txtBEGTIM", {Invalid}, {}, "", "", ""},
    {"evening end", "", "", "txtBEGTIM=800; txtENDTIM=701; optAction_1; cmdRun", "OK", "",
     "{TODAY} | 800 | 701 | *ALL | *ALL |  | out 0 in 1 | party 0 0  | run 1 1 | tips 110 | focus txtENDTIM", {Invalid}, {}, "", "", ""},
    {"eight to seven passes", "", "", "txtBEGTIM=800; txtENDTIM=700; optAction_1; cmdRun", "OK", "", "", {Done(0)},
     {Hearings + " And HRGHTM Between 800 And 1900", "..."}, "", "", ""},
    {"equal times pass", "", "", "txtBEGTIM=900; txtENDTIM=900; optAction_1; cmdRun", "OK", "", "", {Done(0)},
     {Hearings + " And HRGHTM Between 900 And 900", Loan("FILYER=2009 And FILTYP='CF' And FILSEQ=1")}, "", "", ""},
    {"one judge out: the party is needed, blanks are none", "", "", "pick cboREQJDG=SMI; optAction_0; txtREQOTO=   ", "",
     "", "{TODAY} | 0 | 0 | SMI | *ALL |  | out 1 in 0 | party 1 1     | run 0 0 | tips 110 | focus txtREQOTO", {}, {}, "", "", ""},
    {"one judge out with a party: Run is the default, Enter runs", "", "",
     "pick cboREQJDG=JON; optAction_0; txtREQOTO=x; txtREQOTO:Return", "OK", "", "", {Done(1)}, {}, "2009-CF-2 X {today} CLERK1",
     "", ""},
    {"check-in empties and locks the party box; times and branch change nothing", "", "",
     "pick cboREQJDG=SMI; optAction_0; txtREQOTO=x; optAction_1; txtBEGTIM=5; txtREQBRN=q", "", "",
     "{TODAY} | 5 | 0 | SMI | *ALL | Q | out 0 in 1 | party 0 0  | run 1 1 | tips 110 | focus txtREQBRN", {}, {}, "", "", ""},
    {"End in the date goes to the year, which the typed one replaces", "", "", "dtpREQDAT:End; keys=2030", "", "",
     Today("MM/dd") + "/2030 | 0 | 0 | *ALL | *ALL |  | out 0 in 0 | party 0 0  | run 0 0 | tips 110 | focus dtpREQDAT", {}, {}, "", "", ""},
    {"a time box showing 0 clicked into takes the typed time whole, as does one tabbed into", "", "",
     "click txtBEGTIM; keys=1330; txtBEGTIM:Tab; keys=1400", "", "",
     "{TODAY} | 1330 | 1400 | *ALL | *ALL |  | out 0 in 0 | party 0 0  | run 0 0 | tips 110 | focus txtENDTIM", {}, {}, "", "", ""},
    {"a tab is no blank: pasted as the party it enables Run", "", "", "pick cboREQJDG=SMI; optAction_0; clip=\t; txtREQOTO=; txtREQOTO:Ctrl+V", "",
     "", "{TODAY} | 0 | 0 | SMI | *ALL |  | out 1 in 0 | party 1 1 \t | run 1 1 | tips 110 | focus txtREQOTO", {}, {}, "", "", ""},
    {"out to every judge: the locked party box says why", "", "", "optAction_0", "", "",
     "{TODAY} | 0 | 0 | *ALL | *ALL |  | out 1 in 0 | party 0 0  | run 1 1 | tips 111 | focus optAction_0", {}, {}, "", "", ""},
    {"times alone do not enable Run", "", "", "txtBEGTIM=800; txtENDTIM=900", "", "",
     "{TODAY} | 800 | 900 | *ALL | *ALL |  | out 0 in 0 | party 0 0  | run 0 0 | tips 110 | focus txtENDTIM", {}, {}, "", "", ""},
    {"typing a judge's first letters chooses the judge", "", "", "cboREQJDG:S; cboREQJDG:M; optAction_1", "", "",
     "{TODAY} | 0 | 0 | SMI | *ALL |  | out 0 in 1 | party 0 0  | run 1 1 | tips 110 | focus optAction_1", {}, {}, "", "", ""},
    {"a day picked in the calendar from the keyboard (F4, Right, Enter) is the docket run", "2011-CF-9 SMI", "",
     "dtpREQDAT:F4; keys:Right; keys:Return; optAction_1; cmdRun", "OK", "", "", {Done(1)}, {}, "", "", ""},
    {"the remembered selection comes back, the action does not", "",
     "FolderDocket/HearingDate=2026-12-07; FolderDocket/BeginTime=830; FolderDocket/EndTime=130; FolderDocket/Judge=SMI; "
     "FolderDocket/Room=2; FolderDocket/Branch=N",
     "cmdCancel", "", "12/07/2026 | 830 | 130 | SMI | 2 | N | out 0 in 0 | party 0 0  | run 0 0 | tips 110", "", {}, {}, "", "", ""},
    {"a remembered judge no longer on the list keeps Run off", "", "FolderDocket/Judge=ZZZ", "optAction_1", "", "",
     "", {}, {}, "", "", ""},
    {"a remembered room no longer on the list keeps Run off", "", "FolderDocket/Room=9Z", "optAction_1", "", "",
     "", {}, {}, "", "", ""},
    {"Cancel while Run is on asks; Enter answers No, keeps the window and writes nothing", "", "", "optAction_1; cmdCancel",
     "Enter", "",
     "{TODAY} | 0 | 0 | *ALL | *ALL |  | out 0 in 1 | party 0 0  | run 1 1 | tips 110 | focus cmdCancel", {Discard},
     {}, "", "", Placement},
    {"Enter on the focused Cancel presses Cancel, never Run", "", "", "optAction_0; cmdCancel; cmdCancel:Return", "No; No", "",
     "", {Discard, Discard}, {}, "", "", ""},
    {"Escape is Cancel: the same question", "", "", "optAction_1; keys:Escape", "No", "", "", {Discard}, {}, "", "", Placement},
    {"a hearing without a year is left out and named after the count", "INSERT INTO MRLCRT.HRGDTA VALUES (NULL,'CF',5,'SMI','1',{ymd},900)",
     "", "optAction_1; cmdRun", "OK; OK", "", "", {Done(0), "Batch Folder Update: 1 hearing(s) could not be run, their rows hold no usable "
     "case number or judge:\n(none) CF 5: the year is missing [OK]"}, {}, "", "", ""},
    {"a room table that cannot be read is named; *ALL is still the room", "rm ARYROM.XML", "", "cmdCancel", "OK",
     "{TODAY} | 0 | 0 | *ALL | *ALL |  | out 0 in 0 | party 0 0  | run 0 0 | tips 110", "", {"ZORVAFolders: There was a problem opening file:  *"},
     {}, "", "", ""},
    {"a data error reports, then the close guard asks", "drop TABLE MRLCRT.HRGDTA", "", "optAction_1; cmdRun", "OK; Yes", "", "",
     {"Data Error: *", Discard}, {Hearings}, "", "", ""},
};

TEST(DocketWindow, Scenarios)
{
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        TestWorld world;
        const QString tables = world.InstallReferenceTables();
        Arrange(world);
        for (const QString &loan : Lines(row.loans)) { // a loan; "drop" a table, "rm" a reference table or INSERT a row
            if (loan.startsWith("drop ") || loan.startsWith("INSERT"))
                world.Exec(Expand(loan));
            else if (loan.startsWith("rm "))
                QFile::remove(tables + loan.mid(3));
            else
                world.Lend(loan.section('-', 0, 0).toInt(), loan.section('-', 1, 1), loan.section('-', 2).section(' ', 0, 0).toInt(), loan.section(' ', 1));
        }
        Store(world, Lines(row.settings));
        ModalAnswerer answerer(Lines(row.answers));
        TraceCapture trace;
        QString shown, after;
        WindowDriver driver(Docket, [&](QWidget *w) {
            w->activateWindow(); // offscreen, nothing activates a window by itself
            EXPECT_TRUE(QTest::qWaitForWindowActive(w));
            shown = Display(w);
            for (const char *list : {"cboREQJDG", "cboREQROM"}) // "*ALL" heads both lists
                EXPECT_EQ(Get<QComboBox>(w, list)->itemText(0), "*ALL") << list;
            Act(w, row.steps);
            if (w->isVisible()) {
                QWidget *focus = w->focusWidget();
                after = Display(w) + " | focus " + (focus ? focus->objectName() : QString());
                WindowDriver::Leave(w, "cmdRun");
            }
        });
        clsFolder folder;
        folder.UpdateBatch("CLERK1");
        EXPECT_TRUE(driver.Ran());
        EXPECT_FALSE(driver.TimedOut());

        if (!row.shown.isEmpty()) {
            EXPECT_EQ(shown, Expand(row.shown));
        }
        if (!row.after.isEmpty()) {
            EXPECT_EQ(after, Expand(row.after));
        } else if (QString(row.name).contains("keeps Run off")) {
            EXPECT_TRUE(after.contains("| run 0 0 | tips 110 |")) << after.toStdString();
        }
        EXPECT_TRUE(Match(row.boxes, answerer.Lines())) << answerer.Lines().join('\n').toStdString();
        // A row ending in "..." states the first statements only: the rest follow the server's order.
        const bool head = !row.sent.isEmpty() && row.sent.last() == QLatin1String("...");
        const qsizetype stated = head ? row.sent.size() - 1 : -1;
        if (!row.sent.isEmpty()) {
            EXPECT_EQ(Sent(trace, false).mid(0, stated), Expand(row.sent.mid(0, stated)));
        }
        EXPECT_EQ(Court(world), Expand(Lines(row.court)));
        QStringList logged = Logged(world);
        logged.sort(); // a docket's cases come in the server's order
        EXPECT_EQ(logged, Expand(Lines(row.logged)));
        if (!row.written.isEmpty()) {
            QStringList expected = Expand(Lines(row.written));
            expected.sort();
            EXPECT_EQ(Section(world, "FolderDocket", expected), expected);
        }
    }
}

} // namespace
