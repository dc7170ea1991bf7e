#include "ModalAnswerer.h"
#include "Scenario.h"
#include "TestWorld.h"
#include "TraceCapture.h"
#include "WindowDriver.h"
#include "clsFolder.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace Scenario;

const QString Editor = QStringLiteral("frmFolderEdit");
// The editor's statements, and the key 2009-CV-123 bound as the editor binds it.
const QString S1 = "Select * From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=? [2009:short, CV, 123:int]";
const QString S2 = "Insert Into MRLCRT.FILCHK (FILOTO, FILUDT, FILUSR,FILYER, FILTYP, FILSEQ) Values(?,?,?,?,?,?) [";
const QString S3 = "Update MRLCRT.FILCHK Set FILOTO=?, FILUDT=?, FILUSR=? Where FILYER=? And FILTYP=? And FILSEQ=? [";
const QString S4 = "Delete From MRLCRT.FILCHK  Where FILYER=? And FILTYP=? And FILSEQ=? [2009:short, CV, 123:int]";
const QString Write = ", {today}, CLERK1, 2009:short, CV, 123:int]";
const QString Missing = "Error: A required field is missing. [OK]";
const QString Off = "mnuAppEditPreferencesLoggingAuto=False; mnuAppEditPreferencesLoggingManual=False";
const QString AutoOn = "mnuAppEditPreferencesLoggingAuto=True";
const QString ManualOn = "mnuAppEditPreferencesLoggingManual=True";

// The host's end of the message channel.
class Host
{
public:
    explicit Host(qint32 handle)
    {
        const QString name = QStringLiteral("ZORVA.MailSlot.%1").arg(handle);
        QLocalServer::removeServer(name);
        EXPECT_TRUE(server.listen(name));
        QObject::connect(&server, &QLocalServer::newConnection, [this] {
            while (QLocalSocket *s = server.nextPendingConnection())
                QObject::connect(s, &QLocalSocket::readyRead, [this, s] {
                    while (s->canReadLine())
                        lines << QString::fromUtf8(s->readLine()).trimmed();
                });
        });
    }
    QLocalServer server;
    QStringList lines;
};

// The case number as the window shows it, when it shows whole.
QString CaseNumber(QWidget *w)
{
    auto *label = w->findChild<QLabel *>("lblCaseNumber");
    if (!label || !label->isVisible())
        return QStringLiteral("none");
    return label->width() < label->sizeHint().width() ? QStringLiteral("cut") : label->text();
}

// What the window shows: the loan and its buttons | Auto Manual | position | case.
QString Display(QWidget *w)
{
    return EditorShows(w) + QStringLiteral(" | auto %1 manual %2 | at %3,%4 | %5")
        .arg(w->findChild<QAction *>("mnuAppEditPreferencesLoggingAuto")->isChecked())
        .arg(w->findChild<QAction *>("mnuAppEditPreferencesLoggingManual")->isChecked())
        .arg(w->x())
        .arg(w->y())
        .arg(CaseNumber(w));
}


// Each row: the court's loan of 2009-CV-123 before (party date user; "drop" for a table gone, "fail"
// or "nolog" for the loans or the log refusing new rows),
// the settings before, the clerk's steps and answers, and what must come out.
struct Row
{
    const char *name, *loan;
    QString settings;
    const char *steps, *answers;
    QString shown;                       // when the window opened; "" when it never showed
    QString after;                       // after the steps, when still open
    QStringList boxes, sent;
    const char *court, *logged, *host;
    QString written;                     // the section "FolderEdit" after the window went
};

const Row rows[] = {
    {"not on loan, cancelled", "", "", "cmdCancel", "",
     "This file is not currently on loan. |  | {TODAY} | CLERK1 | save 0 delete 0 | auto 0 manual 0 | at 243,265 | 2009-CV-000123", "",
     {}, {S1}, "", "", "", Placement + "; " + Off},
    {"save inserts the party as typed, in capitals, up to 13 characters", "", "", "txtFILOTO=o'neil & company; cmdSave", "",
     "", "", {}, {S1, S1, S2 + "O'NEIL & COMP" + Write}, "2009-CV-123 O'NEIL & COMP {today} CLERK1", "", "SAVE", ""},
    {"a pasted party is cut to 13 characters too", "", "", "clip=o'neil & company; txtFILOTO=; txtFILOTO:Ctrl+V; cmdSave", "",
     "", "", {}, {S1, S1, S2 + "O'NEIL & COMP" + Write}, "2009-CV-123 O'NEIL & COMP {today} CLERK1", "", "SAVE", ""},
    {"an earlier party offered as the clerk types is taken with Down and Enter", "SMITH 1052026 CLERK9", "", "txtFILOTO=sm; keys:Down; keys:Return; cmdSave", "",
     "", "", {}, {S1, S1, S3 + "SMITH" + Write}, "2009-CV-123 SMITH {today} CLERK1", "", "SAVE", ""},
    {"the stored holder shows and is logged as the court holds it", "judge smith-jones iii 1052026 CLERK9",
     "FolderEdit/" + AutoOn, "cmdDelete", "",
     "This file is currently on loan. | judge smith-jones iii | 01/05/2026 | CLERK9 | save 0 delete 1 | auto 1 manual 0 | at 243,265 | 2009-CV-000123",
     "", {}, {S1, S1, S4}, "", "2009-CV-123 judge smith-jones iii out0 auto1 CLERK1", "", ""},
    {"an edit of the stored holder keeps the rest as stored; typing adds no length", "judge smith-jones iii 1052026 CLERK9",
     "", "txtFILOTO:Backspace; keys=xy; cmdSave", "", "", "", {},
     {S1, S1, S3 + "judge smith-jones iiX" + Write}, "2009-CV-123 judge smith-jones iiX {today} CLERK1", "", "SAVE", ""},
    {"save updates the loan: today, this clerk, blanks kept", "SMI 12042026 CLERK9", "", "txtFILOTO= jones ; cmdSave", "",
     "This file is currently on loan. | SMI | 12/04/2026 | CLERK9 | save 0 delete 1 | auto 0 manual 0 | at 243,265 | 2009-CV-000123", "",
     {}, {S1, S1, S3 + " JONES " + Write}, "2009-CV-123  JONES  {today} CLERK1", "", "SAVE", ""},
    {"a month below ten shows its zero", "SMI 1052026 CLERK9", "", "cmdCancel", "",
     "This file is currently on loan. | SMI | 01/05/2026 | CLERK9 | save 0 delete 1 | auto 0 manual 0 | at 243,265 | 2009-CV-000123", "",
     {}, {S1}, "2009-CV-123 SMI 1052026 CLERK9", "", "", ""},
    {"blanks are refused and nothing is written", "", "", "txtFILOTO=   ; cmdSave; cmdCancel", "OK", "",
     "", {Missing}, {S1}, "", "", "", ""},
    {"refused save leaves Save off and the focus in the box", "", "", "txtFILOTO=   ; cmdSave", "OK", "",
     "This file is not currently on loan. |     | {TODAY} | CLERK1 | save 0 delete 0 | auto 0 manual 0 | at 243,265 | 2009-CV-000123 | focus txtFILOTO",
     {Missing}, {S1}, "", "", "", ""},
    {"delete after typing logs the typed text, then asks", "SMI 1052026 CLERK9", "FolderEdit/" + ManualOn,
     "txtFILOTO=x; cmdDelete", "No",
     "", "This file is currently on loan. | X | 01/05/2026 | CLERK9 | save 1 delete 1 | auto 0 manual 1 | at 243,265 | 2009-CV-000123 | focus cmdDelete",
     {Discard}, {S1, S1, S4}, "", "2009-CV-123 X out0 auto0 CLERK1", "", ""},
    {"delete unchanged: no question, logged automatic", "SMI 1052026 CLERK9", "FolderEdit/" + AutoOn,
     "cmdDelete", "", "", "", {}, {S1, S1, S4}, "", "2009-CV-123 SMI out0 auto1 CLERK1", "",
     Placement + "; " + AutoOn + "; mnuAppEditPreferencesLoggingManual=False"},
    {"Auto chosen in the menu logs and is remembered", "", "", "mnuAppEditPreferencesLoggingAuto; txtFILOTO=smi; cmdSave",
     "", "", "", {}, {S1, S1, S2 + "SMI" + Write}, "2009-CV-123 SMI {today} CLERK1", "2009-CV-123 SMI out1 auto1 CLERK1",
     "SAVE", Placement + "; " + AutoOn + "; mnuAppEditPreferencesLoggingManual=False"},
    {"Auto unchecks Manual", "", "FolderEdit/" + ManualOn, "mnuAppEditPreferencesLoggingAuto; cmdCancel", "",
     "This file is not currently on loan. |  | {TODAY} | CLERK1 | save 0 delete 0 | auto 0 manual 1 | at 243,265 | 2009-CV-000123", "", {},
     {S1}, "", "", "", Placement + "; " + AutoOn + "; mnuAppEditPreferencesLoggingManual=False"},
    {"Manual clicked again turns logging off", "", "FolderEdit/" + ManualOn,
     "mnuAppEditPreferencesLoggingManual; txtFILOTO=a; cmdSave", "", "", "", {}, {S1, S1, S2 + "A" + Write},
     "2009-CV-123 A {today} CLERK1", "", "SAVE", Placement + "; " + Off},
    {"Enter on the focused Cancel presses it", "", "", "txtFILOTO=smi; cmdCancel; cmdCancel:Return", "No; Yes", "", "",
     {Discard, Discard}, {S1}, "", "", "", ""},
    {"Enter and Escape press no button", "", "", "txtFILOTO=smi; txtFILOTO:Return; txtFILOTO:Escape; cmdCancel", "Yes",
     "", "", {Discard}, {S1}, "", "", "", ""},
    {"File Exit asks while Save is on; Enter answers No and keeps it", "", "", "txtFILOTO=smi; mnuAppFileExit", "Enter", "",
     "This file is not currently on loan. | SMI | {TODAY} | CLERK1 | save 1 delete 0 | auto 0 manual 0 | at 243,265 | 2009-CV-000123 | focus txtFILOTO",
     {Discard}, {S1}, "", "", "", ""},
    {"the stored place is restored, not the stored size", "",
     "FolderEdit/FormLeft=200; FolderEdit/FormTop=100; FolderEdit/FormWidth=700; FolderEdit/FormHeight=500",
     "cmdCancel", "", "This file is not currently on loan. |  | {TODAY} | CLERK1 | save 0 delete 0 | auto 0 manual 0 | at 200,100 | 2009-CV-000123",
     "", {}, {S1}, "", "", "", "FormHeight; FormLeft=200; FormTop=100; FormWidth; WindowState=0; " + Off},
    {"a data error on load hides the window, which then closes", "drop", "", "", "", "", "", {"Data Error: *"}, {S1},
     "", "", "", Placement + "; " + Off},
    {"a data error on save still logs, tells the host and closes", "fail", "FolderEdit/" + AutoOn,
     "txtFILOTO=smi; cmdSave", "OK", "", "", {"Data Error: *"}, {S1, S1, S2 + "SMI" + Write}, "",
     "2009-CV-123 SMI out1 auto1 CLERK1", "SAVE", ""},
    {"a change the log refuses is told; the change stands", "nolog", "FolderEdit/" + AutoOn, "txtFILOTO=smi; cmdSave", "OK", "", "",
     {"Folder Log: The folder status change could not be logged:\n*"}, {S1, S1, S2 + "SMI" + Write}, "2009-CV-123 SMI {today} CLERK1", "", "SAVE", ""},
};

TEST(FolderEditor, Scenarios)
{
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        TestWorld world;
        ModalAnswerer answerer(Lines(row.answers));
        // The process's own channel: the other backends' runs of this table may listen at the same time.
        const qint32 handle = qint32(QCoreApplication::applicationPid() % 1000000) * 10;
        Host host(handle);
        const QString loan = QString::fromUtf8(row.loan);
        if (loan == QLatin1String("drop"))
            world.Exec("DROP TABLE MRLCRT.FILCHK");
        else if (loan == QLatin1String("fail") || loan == QLatin1String("nolog"))
            world.FailInsertsFrom(0, "disk on fire", loan == QLatin1String("fail") ? "FILCHK" : "FILLOG");
        else if (!loan.isEmpty())
            world.Exec(QStringLiteral("INSERT INTO MRLCRT.FILCHK VALUES (2009,'CV',123,'%1',%2,'%3')")
                           .arg(loan.section(' ', 0, -3), loan.section(' ', -2, -2), loan.section(' ', -1)));
        Store(world, row.settings.split(QStringLiteral("; "), Qt::SkipEmptyParts));

        TraceCapture trace;
        QString shown, after;
        WindowDriver driver(Editor, [&](QWidget *w) {
            w->activateWindow(); // offscreen, nothing activates a window by itself
            // A load error hides the window, on a slow machine before the wait sees it active.
            EXPECT_TRUE(QTest::qWaitForWindowActive(w) || !w->isVisible());
            shown = Display(w);
            Act(w, QString::fromUtf8(row.steps));
            if (w->isVisible()) {
                QWidget *focus = w->focusWidget();
                after = Display(w) + " | focus " + (focus ? focus->objectName() : QString());
                answerer.Queue("Yes");
                WindowDriver::Leave(w, "cmdSave");
            }
        });
        clsFolder folder;
        folder.SetParentHandle(handle);
        folder.Edit(2009, "CV", 123, "CLERK1");
        EXPECT_FALSE(driver.TimedOut());
        // A window that hid itself closes a moment later.
        EXPECT_TRUE(QTest::qWaitFor([] {
            const QWidgetList all = QApplication::topLevelWidgets();
            return std::none_of(all.begin(), all.end(), [](QWidget *w) { return w->objectName() == Editor; });
        }, 5000));
        // The host's lines arrive through a socket: wait for those the row expects (a line left
        // for later would land at the next row's host), then a moment for any it does not.
        static_cast<void>(QTest::qWaitFor([&] { return host.lines.size() >= Lines(row.host).size(); }, 20000));
        QTest::qWait(30);

        if (!row.shown.isEmpty()) {
            EXPECT_EQ(shown, Expand(row.shown));
        }
        EXPECT_EQ(after, Expand(row.after));
        EXPECT_TRUE(Match(row.boxes, answerer.Lines())) << answerer.Lines().join('\n').toStdString();
        EXPECT_EQ(Sent(trace), Expand(row.sent));
        if (loan != QLatin1String("drop")) {
            EXPECT_EQ(Court(world), Expand(Lines(row.court)));
        }
        EXPECT_EQ(Logged(world), Expand(Lines(row.logged)));
        EXPECT_EQ(host.lines, Lines(row.host));
        if (!row.written.isEmpty()) {
            const QStringList expected = Lines(row.written);
            EXPECT_EQ(Section(world, "FolderEdit", expected), expected);
        }
    }
}

} // namespace
