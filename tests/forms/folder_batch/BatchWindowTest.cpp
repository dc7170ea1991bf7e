#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "WindowDriver.h"
#include "forms/folder_batch/frmFolderBatch.h"
#include "shared/ComponentName.h"
#include "shared/SettingsStore.h"
#include "shared/controls/FlexGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

namespace {

enum Column { YER = 0, TYP = 1, SEQ = 2, NAM = 3, OTO = 4 };

template <typename T> T *Get(QWidget *w, const char *name)
{
    T *child = w->findChild<T *>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// One open batch window, driven as the clerk drives it.
struct Batch
{
    QPointer<QWidget> w;
    FlexGrid *grd = nullptr;

    explicit Batch(QWidget *window) : w(window), grd(Get<FlexGrid>(window, "grd")) {}

    // Keys go wherever the focus is now: the grid's editor moves as cells fill up.
    void Type(const QString &text)
    {
        for (const QChar ch : text) {
            QWidget *target = w->focusWidget() ? w->focusWidget() : grd;
            QTest::keyClick(target, ch.toLatin1());
        }
    }
    void Key(Qt::Key key)
    {
        QWidget *target = w->focusWidget() ? w->focusWidget() : grd;
        QTest::keyClick(target, key);
    }
    void Focus()
    {
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        grd->setFocus();
    }
    void Click(int row, int col)
    {
        const QPoint at = grd->CellRect(row, col).center();
        QWidget *target = grd->childAt(at) ? grd->childAt(at) : grd;
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(grd, at));
    }
    QString Text(int row, int col) const { return grd->TextMatrix(row, col); }
    QStringList Row(int row) const
    {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << Text(row, c);
        return cells;
    }
    void Action(int index) { QTest::mouseClick(Get<QRadioButton>(w, index ? "optAction_1" : "optAction_0"), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5)); }
    void Party(const QString &text)
    {
        auto *box = Get<QLineEdit>(w, "txtCheckOutTo");
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    QPushButton *Run() const { return Get<QPushButton>(w, "cmdRun"); }
};

class BatchWindow : public ::testing::Test
{
protected:
    BatchWindow()
    {
        world.InstallReferenceTables();
        Case("MASCIV", 2009, "CA", 7, "ABLE", "BAKER");
        Case("MASCRM", 2010, "CF", 12, "STATE", "DOE");
        Case("MASCRM", 2010, "CF", 13, "STATE", "ROE");
        Case("MASCIV", 7, "SC", 5, "OLD", "CASE");
        Case("MASCRM", 2007, "CF", 1, "STATE", "SEVEN");
        Case("MASCRM", 1951, "CF", 1, "STATE", "FIFTY");
    }
    ~BatchWindow() override
    {
        // Closing may ask, and the question's loop deletes windows closed before: hold them weakly.
        QList<QPointer<QWidget>> open;
        for (QWidget *w : QApplication::topLevelWidgets())
            open << w;
        for (const QPointer<QWidget> &w : open) {
            if (w && w->objectName() == QLatin1String("frmFolderBatch") && w->isVisible()) {
                answerer.Queue("Yes");
                w->close();
            }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Case(const char *table, int year, const char *type, int seq, const char *plaintiff, const char *defendant)
    {
        for (const auto &[ltp, name] : {std::pair{"PL", plaintiff}, std::pair{"DF", defendant}})
            world.Exec(QStringLiteral("INSERT INTO MRLCRT.%1 VALUES (%2,'%3',%4,'%5',1,'N','%6','')")
                           .arg(QLatin1String(table))
                           .arg(year)
                           .arg(QLatin1String(type))
                           .arg(seq)
                           .arg(QLatin1String(ltp), QLatin1String(name)));
    }
    Batch Open()
    {
        const QList<QWidget *> before = Windows();
        // As EditBatch opens it: modeless, gone when closed. The grid's own API is reached by
        // linking the window in, which the component library keeps to itself.
        auto *window = new frmFolderBatch;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->SetUserName(QStringLiteral("CLERK1"));
        window->Load();
        window->show();
        for (QWidget *w : Windows()) {
            if (!before.contains(w)) {
                Batch b(w);
                b.Focus();
                return b;
            }
        }
        ADD_FAILURE() << "no batch window opened";
        return Batch(nullptr);
    }
    static QList<QWidget *> Windows()
    {
        QList<QWidget *> found;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("frmFolderBatch") && w->isVisible())
                found << w;
        return found;
    }
    QStringList Messages() const
    {
        QStringList texts;
        for (const ModalAnswerer::Box &box : answerer.Seen())
            texts << box.title + ": " + box.text;
        return texts;
    }

    TestWorld world;
    ModalAnswerer answerer;
};

TEST_F(BatchWindow, ANewWindowIsEmptyAndReadyForTheFirstCase)
{
    Batch b = Open();
    EXPECT_EQ(b.w->windowTitle(), "PC/MEVS - Batch Folder Update");
    EXPECT_EQ(b.grd->Rows(), 2);
    EXPECT_EQ(b.Row(0), QStringList({"Case", "", "", "Title", "Checked Out"}));
    EXPECT_EQ(b.Row(1), QStringList({"", "", "", "", ""}));
    const QString years = b.grd->ColComboList(YER);
    EXPECT_TRUE(years.startsWith(QStringLiteral("|%1|%2|").arg(QDate::currentDate().year()).arg(QDate::currentDate().year() - 1)));
    EXPECT_TRUE(years.endsWith("|1966|1965"));
    EXPECT_TRUE(b.grd->ColComboList(TYP).contains("|CF"));
    EXPECT_EQ(b.grd->CellForeColor(1, NAM), 0x800000);
    EXPECT_EQ(b.grd->CellForeColor(1, OTO), 0x800000);
    auto *party = Get<QLineEdit>(b.w, "txtCheckOutTo");
    auto *label = Get<QLabel>(b.w, "lblCheckOutTo");
    EXPECT_TRUE(party->isEnabled());
    EXPECT_FALSE(label->isEnabled());
    EXPECT_FALSE(b.Run()->isEnabled());
    EXPECT_FALSE(Get<QRadioButton>(b.w, "optAction_0")->isChecked() || Get<QRadioButton>(b.w, "optAction_1")->isChecked());

    b.Party("COURT");
    b.Action(1); // in: the party goes
    EXPECT_FALSE(party->isEnabled() || label->isEnabled());
    EXPECT_EQ(party->text(), "");
    b.Action(0);
    EXPECT_TRUE(party->isEnabled() && label->isEnabled());

    QPointer<QWidget> window = b.w;
    QTest::keyClick(b.w, Qt::Key_Escape); // Run disabled: closes without a question
    EXPECT_FALSE(window && window->isVisible());
    EXPECT_TRUE(answerer.Seen().isEmpty());
}

TEST_F(BatchWindow, TypingAdvancesCellByCellAndLooksTheCaseUp)
{
    Batch b = Open();
    b.Type("2x0-09");
    EXPECT_EQ(b.Text(1, YER), "2009");
    EXPECT_EQ(b.grd->Col(), TYP);
    EXPECT_TRUE(b.grd->IsEditing());
    b.Type("c.a");
    EXPECT_EQ(b.Text(1, TYP), "CA");
    EXPECT_EQ(b.grd->Col(), SEQ);
    b.Type("0000a07"); // six digits: on to the next row's year
    EXPECT_EQ(b.Row(1), QStringList({"2009", "CA", "000007", "ABLE VS BAKER", ""}));
    EXPECT_EQ(b.grd->Rows(), 3);
    EXPECT_EQ(b.grd->Row(), 2);
    EXPECT_EQ(b.grd->Col(), YER);
    EXPECT_TRUE(b.grd->IsEditing());
    EXPECT_TRUE(b.Run()->isEnabled());
    EXPECT_EQ(b.grd->CellForeColor(2, NAM), 0x800000);

    // A shorter sequence is committed with Enter; the cursor then stands in the new row's sequence.
    b.Type("2010cf12");
    b.Key(Qt::Key_Return);
    EXPECT_EQ(b.Row(2), QStringList({"2010", "CF", "12", "STATE VS DOE", ""}));
    EXPECT_EQ(b.grd->Row(), 3);
    EXPECT_EQ(b.grd->Col(), SEQ);
    b.Key(Qt::Key_Right); // into the title: back to the year
    EXPECT_EQ(b.grd->Row(), 3);
    EXPECT_EQ(b.grd->Col(), YER);
}

TEST_F(BatchWindow, TwoDigitYearsAreCompletedWhenTheCellIsLeft)
{
    const struct
    {
        const char *typed, *shown, *title;
    } cases[] = {
        {"07", "2007", "STATE VS SEVEN"},
        {"51", "1951", "STATE VS FIFTY"},
        {"7", "7", ""},   // stays as typed; looked up with the year 7 (type SC below)
        {"50", "2050", "INVALID LITIGANT"},
    };
    for (const auto &c : cases) {
        Batch b = Open();
        b.Type(QLatin1String(c.typed));
        b.Key(Qt::Key_Right);
        EXPECT_EQ(b.Text(1, YER), QLatin1String(c.shown)) << c.typed;
        b.grd->setCol(TYP);
        b.grd->EditCell();
        b.Type(QLatin1String(c.typed) == QLatin1String("7") ? "sc5" : "cf1");
        b.Key(Qt::Key_Return);
        EXPECT_EQ(b.Text(1, NAM), *c.title ? QLatin1String(c.title) : QLatin1String("OLD VS CASE")) << c.typed;
        answerer.Queue("Yes");
        b.w->close();
    }
}

TEST_F(BatchWindow, EditingEmptiesTheTitleAndLeavingLooksItUpAgain)
{
    world.Lend(2010, "CF", 12, "DA OFFICE");
    Batch b = Open();
    b.Type("2010cf000012");
    EXPECT_EQ(b.Row(1), QStringList({"2010", "CF", "000012", "STATE VS DOE", "DA OFFICE"}));
    // The editor opens with its text selected: the first digit typed replaces it.
    b.grd->setRow(1);
    b.grd->setCol(SEQ);
    b.grd->EditCell();
    b.Type("0");
    EXPECT_EQ(b.Text(1, NAM), ""); // at the first change
    EXPECT_EQ(b.Text(1, OTO), "DA OFFICE");
    b.Type("00013"); // full: the cursor moves on, the edit is committed and looked up
    EXPECT_EQ(b.Row(1), QStringList({"2010", "CF", "000013", "STATE VS ROE", ""}));
    EXPECT_EQ(b.grd->Col(), YER);
    // A case the court does not hold: marked, the holder stays, no row added.
    b.Key(Qt::Key_Escape);
    b.grd->setCol(SEQ);
    b.grd->EditCell();
    b.Type("000009");
    EXPECT_EQ(b.Text(1, NAM), "INVALID LITIGANT");
    EXPECT_EQ(b.Text(1, OTO), "");
    EXPECT_EQ(b.grd->Rows(), 3);
    b.Key(Qt::Key_Escape);
    // Run refuses it, and disables itself.
    b.Action(1);
    b.Run()->click();
    EXPECT_EQ(Messages(), QStringList({"Error: Invalid case number."}));
    EXPECT_FALSE(b.Run()->isEnabled());
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILCHK").toInt(), 1);
    // Corrected, it is looked up again and Run comes back.
    b.grd->setFocus();
    b.grd->setRow(1);
    b.grd->setCol(SEQ);
    b.grd->EditCell();
    b.Type("000012");
    EXPECT_EQ(b.Row(1), QStringList({"2010", "CF", "000012", "STATE VS DOE", "DA OFFICE"}));
    EXPECT_TRUE(b.Run()->isEnabled());
}

TEST_F(BatchWindow, TitleAndHolderCellsAreNeverEdited)
{
    Batch b = Open();
    b.Type("2009ca000007");
    b.Type("2010");
    b.Key(Qt::Key_Return);
    b.grd->setRow(1);
    b.grd->setCol(SEQ);
    b.Click(1, NAM); // the title: the cursor goes to the current row's year
    EXPECT_EQ(b.grd->Row(), 1);
    EXPECT_EQ(b.grd->Col(), YER);
    b.Click(2, NAM); // from another row: still the row that was current
    EXPECT_EQ(b.grd->Row(), 1);
    EXPECT_EQ(b.grd->Col(), YER);
    b.Click(1, OTO); // current, but no editor
    EXPECT_EQ(b.grd->Col(), OTO);
    EXPECT_FALSE(b.grd->IsEditing());
    b.Key(Qt::Key_F2);
    EXPECT_FALSE(b.grd->IsEditing());
    EXPECT_EQ(b.Text(1, NAM), "ABLE VS BAKER");
}

TEST_F(BatchWindow, CheckOutWritesEachFreeFolderAndKeepsTheOthers)
{
    SettingsStore::SaveBoolSetting(ComponentName::ApplicationName(), "FolderEdit", "mnuAppEditPreferencesLoggingAuto",
                                   true);
    world.Lend(2010, "CF", 13, "PUBLIC DEF");
    Batch b = Open();
    b.Type("2009ca000007");
    b.Type("2010cf000012");
    b.Type("2010cf000013");
    b.Type("2009ca000007"); // the same case twice
    ASSERT_EQ(b.grd->Rows(), 6);

    b.Action(0);
    b.Run()->click();
    EXPECT_EQ(Messages(), QStringList({"Error: You must indicate the party to whom the folders are checked out."}));
    ASSERT_NE(b.w->focusWidget(), nullptr);
    EXPECT_EQ(b.w->focusWidget()->objectName(), "txtCheckOutTo");
    EXPECT_TRUE(b.Run()->isEnabled());
    answerer.Clear();

    b.Party(" da ");
    b.Run()->click();
    EXPECT_EQ(Messages(),
              QStringList({"Error: One or more folder status changes could not be changed due to existing folder status."}));
    EXPECT_FALSE(b.Run()->isEnabled());
    const int today = QDate::currentDate().toString("MMddyyyy").toInt();
    EXPECT_EQ(world.Rows("SELECT FILYER, FILTYP, FILSEQ, FILOTO, FILUSR, FILUDT FROM MRLCRT.FILCHK ORDER BY FILSEQ"),
              QList<QVariantList>({{2009, "CA", 7, " DA ", "CLERK1", today},
                                   {2010, "CF", 12, " DA ", "CLERK1", today},
                                   {2010, "CF", 13, "PUBLIC DEF", "OLD", 1052026}}));
    // Left: the upper row of the doubled case, the folder already out, and the entry row.
    ASSERT_EQ(b.grd->Rows(), 4);
    EXPECT_EQ(b.Row(1), QStringList({"2009", "CA", "000007", "ABLE VS BAKER", ""}));
    EXPECT_EQ(b.Row(2), QStringList({"2010", "CF", "000013", "STATE VS ROE", "PUBLIC DEF"}));
    EXPECT_EQ(b.Row(3), QStringList({"", "", "", "", ""}));
    EXPECT_EQ(world.Rows("SELECT LOGSEQ, LOGOTO, LOGOUT, LOGAUT FROM MRLCRT.FILLOG ORDER BY " + TestWorld::InsertionOrder()),
              QList<QVariantList>({{7, " DA ", 1, 1}, {12, " DA ", 1, 1}}));

    // Closing after a run does not ask.
    b.w->close();
    EXPECT_EQ(answerer.Seen().size(), 1);
}

TEST_F(BatchWindow, CheckInCountsWhatCameBackAndNoActionWritesNothing)
{
    world.Lend(2009, "CA", 7, "JUDGE");
    world.Lend(2010, "CF", 12, "DA");
    Batch b = Open();
    b.Type("2009ca000007");
    b.Type("2010cf000012");
    b.Run()->click(); // no action: every row stays
    EXPECT_EQ(Messages(),
              QStringList({"Error: One or more folder status changes could not be changed due to existing folder status."}));
    EXPECT_EQ(b.grd->Rows(), 4);
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILCHK").toInt(), 2);
    answerer.Clear();

    b.Type("2010cf000013"); // enables Run again
    b.Action(1);
    b.Run()->click();
    EXPECT_EQ(Messages(),
              QStringList({"Error: One or more folder status changes could not be changed due to existing folder status."}));
    EXPECT_EQ(b.grd->Rows(), 3); // 2010-CF-13 was not on loan
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILCHK").toInt(), 0);
    answerer.Clear();

    world.Lend(2010, "CF", 13, "X");
    b.grd->setFocus();
    b.grd->setRow(1);
    b.grd->setCol(SEQ);
    b.grd->EditCell();
    b.Key(Qt::Key_Return); // looked up again: Run is back
    b.Run()->click();
    EXPECT_EQ(answerer.Seen().size(), 1);
    EXPECT_EQ(answerer.Seen()[0].text, "1 folder status change(s) have been made.");
    EXPECT_EQ(answerer.Seen()[0].title, "Batch Folder Update");
    EXPECT_EQ(b.grd->Rows(), 2);
}

TEST_F(BatchWindow, TwoWindowsWorkSideBySide)
{
    Batch first = Open();
    first.Type("2009ca000007");
    Batch second = Open();
    ASSERT_NE(first.w, second.w);
    second.Type("2010cf000012");
    EXPECT_EQ(first.grd->Rows(), 3);
    EXPECT_EQ(second.grd->Rows(), 3);
    EXPECT_EQ(second.Text(1, NAM), "STATE VS DOE");
    answerer.Queue("No");
    first.w->close(); // Run enabled: asked, and kept
    EXPECT_TRUE(first.w->isVisible());
    answerer.Queue("Yes");
    first.w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.w.isNull());
    EXPECT_EQ(Messages(), QStringList({"Exit: Discard changes?", "Exit: Discard changes?"}));
    // The other one keeps its data objects.
    second.Focus();
    second.Action(0);
    second.Party("COURT");
    second.Run()->click();
    EXPECT_EQ(answerer.Seen().last().text, "1 folder status change(s) have been made.");
    EXPECT_EQ(world.Scalar("SELECT FILOTO FROM MRLCRT.FILCHK WHERE FILSEQ=12").toString(), "COURT");
}

TEST_F(BatchWindow, APastedListFillsOneRowPerCase)
{
    world.Lend(2010, "CF", 13, "DA");
    Batch b = Open();
    QGuiApplication::clipboard()->setText("2009-CA-7\r\n2010 cf 12\r\nnot a case\n\n2010\tCF\t13\n2011CA000099\n99-CA-1\n");
    QTest::keyClick(b.w->focusWidget() ? b.w->focusWidget() : b.grd, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(answerer.Seen().size(), 1);
    EXPECT_TRUE(answerer.Seen()[0].text.contains("line 3: not a case"));
    EXPECT_TRUE(answerer.Seen()[0].text.contains("line 7: 99-CA-1"));
    EXPECT_FALSE(answerer.Seen()[0].text.contains("2010"));
    // The last case is one the court does not hold: as when typed, it stays in the entry row.
    ASSERT_EQ(b.grd->Rows(), 5);
    EXPECT_EQ(b.Row(1), QStringList({"2009", "CA", "7", "ABLE VS BAKER", ""}));
    EXPECT_EQ(b.Row(2), QStringList({"2010", "CF", "12", "STATE VS DOE", ""}));
    EXPECT_EQ(b.Row(3), QStringList({"2010", "CF", "13", "STATE VS ROE", "DA"}));
    EXPECT_EQ(b.Row(4), QStringList({"2011", "CA", "99", "INVALID LITIGANT", ""}));
    EXPECT_EQ(b.grd->Row(), 4);
    EXPECT_TRUE(b.Run()->isEnabled());
}

TEST_F(BatchWindow, AScannerTypesTheCaseNumberAndEnter)
{
    Batch b = Open();
    const char *scans[] = {"2009-CA-7", "2010 CF 000012", "2010CF000013"};
    for (const char *scan : scans) {
        b.Type(QLatin1String(scan));
        b.Key(Qt::Key_Return);
    }
    ASSERT_EQ(b.grd->Rows(), 5);
    EXPECT_EQ(b.Row(1), QStringList({"2009", "CA", "7", "ABLE VS BAKER", ""}));
    EXPECT_EQ(b.Row(2), QStringList({"2010", "CF", "12", "STATE VS DOE", ""}));
    EXPECT_EQ(b.Row(3), QStringList({"2010", "CF", "000013", "STATE VS ROE", ""}));
    EXPECT_EQ(b.grd->Row(), 4);
    EXPECT_EQ(b.Text(4, YER), "");
    EXPECT_TRUE(answerer.Seen().isEmpty());
}

} // namespace
