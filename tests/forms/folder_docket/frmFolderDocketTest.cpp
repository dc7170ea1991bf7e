#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "WindowDriver.h"
#include "clsFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString Docket = QStringLiteral("frmFolderDocket");

template <typename T> T *Get(QWidget *w, const char *name)
{
    T *child = w->findChild<T *>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

struct State
{
    QString date, begin, end, judge, room, branch, party;
    bool partyEnabled = false, partyLabelEnabled = false, runEnabled = false, runDefault = false, outChosen = false,
         inChosen = false;
};

State Read(QWidget *w)
{
    State s;
    s.date = Get<QDateEdit>(w, "dtpREQDAT")->date().toString("MM/dd/yyyy");
    s.begin = Get<QLineEdit>(w, "txtBEGTIM")->text();
    s.end = Get<QLineEdit>(w, "txtENDTIM")->text();
    s.judge = Get<QComboBox>(w, "cboREQJDG")->currentText();
    s.room = Get<QComboBox>(w, "cboREQROM")->currentText();
    s.branch = Get<QLineEdit>(w, "txtREQBRN")->text();
    s.party = Get<QLineEdit>(w, "txtREQOTO")->text();
    s.partyEnabled = Get<QLineEdit>(w, "txtREQOTO")->isEnabled();
    s.partyLabelEnabled = Get<QLabel>(w, "lblREQOTO")->isEnabled();
    s.runEnabled = Get<QPushButton>(w, "cmdRun")->isEnabled();
    s.runDefault = Get<QPushButton>(w, "cmdRun")->isDefault();
    s.outChosen = Get<QRadioButton>(w, "optAction_0")->isChecked();
    s.inChosen = Get<QRadioButton>(w, "optAction_1")->isChecked();
    return s;
}

void Choose(QWidget *w, const char *combo, const QString &text)
{
    auto *box = Get<QComboBox>(w, combo);
    box->setCurrentIndex(box->findText(text));
}

void Action(QWidget *w, int index)
{
    QTest::mouseClick(Get<QRadioButton>(w, index == 0 ? "optAction_0" : "optAction_1"), Qt::LeftButton,
                      Qt::NoModifier, QPoint(5, 5));
}

void Type(QWidget *w, const char *box, const QString &text)
{
    auto *edit = Get<QLineEdit>(w, box);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

class DocketWindow : public ::testing::Test
{
protected:
    DocketWindow() { world.InstallReferenceTables(); }

    void Open(const WindowDriver::Script &script)
    {
        clsFolder folder;
        WindowDriver driver(Docket, script);
        folder.UpdateBatch(QStringLiteral("CLERK1"));
        EXPECT_TRUE(driver.Ran());
        EXPECT_FALSE(driver.TimedOut());
    }
    QString Stored(const char *key) const
    {
        return QSettings(world.Path("settings/Venholt Dedezirive, Ltd/ZORVAFolders.ini"), QSettings::IniFormat)
            .value(QStringLiteral("FolderDocket/") + key)
            .toString();
    }

    TestWorld world;
    ModalAnswerer answerer;
};

TEST_F(DocketWindow, ANewUserStartsWithNothingChosen)
{
    State s;
    QString caption;
    QStringList judges;
    Open([&](QWidget *w) {
        s = Read(w);
        caption = w->windowTitle();
        auto *box = Get<QComboBox>(w, "cboREQJDG");
        for (int i = 0; i < box->count(); ++i)
            judges << box->itemText(i);
        Get<QPushButton>(w, "cmdCancel")->click();
    });
    EXPECT_EQ(caption, "PC/MEVS - Update Folder Status for Docketed Cases");
    EXPECT_EQ(s.date, QDate::currentDate().toString("MM/dd/yyyy"));
    EXPECT_EQ(s.begin, "0");
    EXPECT_EQ(s.end, "0");
    EXPECT_EQ(s.judge, "*ALL");
    EXPECT_EQ(s.room, "*ALL");
    EXPECT_EQ(s.branch, "");
    EXPECT_FALSE(s.outChosen || s.inChosen);
    EXPECT_FALSE(s.partyEnabled || s.partyLabelEnabled);
    EXPECT_FALSE(s.runEnabled);
    EXPECT_EQ(judges.first(), "*ALL"); // the added row comes first
    EXPECT_TRUE(judges.contains("SMI"));
    EXPECT_TRUE(answerer.Seen().isEmpty()); // Run disabled: no question on Cancel
}

TEST_F(DocketWindow, PartyBoxAndRunFollowTheChoices)
{
    QList<State> states;
    Open([&](QWidget *w) {
        Action(w, 0); // out, every judge
        states << Read(w);
        Choose(w, "cboREQJDG", "SMI"); // one judge: a party is needed
        states << Read(w);
        Type(w, "txtREQOTO", "o'neil");
        states << Read(w);
        Type(w, "txtREQOTO", "   ");
        states << Read(w);
        Type(w, "txtREQOTO", "SMI");
        Type(w, "txtBEGTIM", "0"); // times and branch re-evaluate nothing
        Type(w, "txtREQBRN", "n");
        states << Read(w);
        Action(w, 1); // in: the party goes
        states << Read(w);
        Choose(w, "cboREQROM", "4A");
        states << Read(w);
        answerer.Queue("Yes");
        Get<QPushButton>(w, "cmdCancel")->click();
    });
    ASSERT_EQ(states.size(), 7);
    EXPECT_TRUE(states[0].runEnabled && states[0].runDefault && !states[0].partyEnabled);
    EXPECT_TRUE(states[1].partyEnabled && states[1].partyLabelEnabled && !states[1].runEnabled && !states[1].runDefault);
    EXPECT_TRUE(states[2].runEnabled && states[2].runDefault);
    EXPECT_EQ(states[2].party, "O'NEIL");
    EXPECT_FALSE(states[3].runEnabled);
    EXPECT_TRUE(states[4].runEnabled);
    EXPECT_EQ(states[4].branch, "N");
    EXPECT_FALSE(states[5].partyEnabled || states[5].partyLabelEnabled);
    EXPECT_EQ(states[5].party, "");
    EXPECT_TRUE(states[5].runEnabled);
    EXPECT_TRUE(states[6].runEnabled);
    ASSERT_EQ(answerer.Seen().size(), 1);
    EXPECT_EQ(answerer.Seen()[0].text, "Discard changes?");
}

TEST_F(DocketWindow, TimesAreCheckedInOrderAtTheirBox)
{
    const struct
    {
        const char *begin, *end;
        const char *message; // empty: passes, the run goes ahead
        const char *at;
    } cases[] = {
        {"830", "0", "Begin and end times must be both filled in, or both zero.", "txtBEGTIM"},
        {"0", "430", "Begin and end times must be both filled in, or both zero.", "txtBEGTIM"},
        {"130", "1100", "The end time must fall after the begin time.", "txtENDTIM"},
        {"730", "745", "Invalid time.", "txtBEGTIM"},
        {"800", "701", "Invalid time.", "txtENDTIM"},
        {"800", "700", "", ""},
        {"900", "900", "", ""},
    };
    for (const auto &c : cases) {
        ModalAnswerer &boxes = answerer;
        boxes.Clear();
        QString focused;
        bool closed = false;
        Open([&](QWidget *w) {
            Action(w, 1);
            Type(w, "txtBEGTIM", QLatin1String(c.begin));
            Type(w, "txtENDTIM", QLatin1String(c.end));
            Get<QPushButton>(w, "cmdRun")->click();
            closed = !w->isVisible();
            if (closed)
                return;
            focused = w->focusWidget() ? w->focusWidget()->objectName() : QString();
            boxes.Queue("Yes");
            Get<QPushButton>(w, "cmdCancel")->click();
        });
        ASSERT_GE(boxes.Seen().size(), 1) << c.begin << "-" << c.end;
        if (*c.message) {
            EXPECT_FALSE(closed);
            EXPECT_EQ(boxes.Seen()[0].text, QLatin1String(c.message)) << c.begin << "-" << c.end;
            EXPECT_EQ(boxes.Seen()[0].title, "Error");
            EXPECT_EQ(focused, QLatin1String(c.at)) << c.begin << "-" << c.end;
        } else {
            EXPECT_TRUE(closed) << c.begin << "-" << c.end;
            EXPECT_EQ(boxes.Seen()[0].text, "0 folder status change(s) have been made.");
        }
    }
}

TEST_F(DocketWindow, RunReportsTheCountRemembersTheSelectionAndCloses)
{
    const int today = QDate::currentDate().toString("yyyyMMdd").toInt();
    for (int seq : {1, 2, 3})
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (2009,'CF',%1,'SMI','2',%2,900)").arg(seq).arg(today));
    world.Exec(QStringLiteral("INSERT INTO MRLCRT.HRGDTA VALUES (2009,'CF',4,'JON','2',%1,900)").arg(today));
    Open([&](QWidget *w) {
        Choose(w, "cboREQJDG", "SMI");
        Choose(w, "cboREQROM", "2");
        Type(w, "txtBEGTIM", "830");
        Type(w, "txtENDTIM", "130");
        Action(w, 0);
        Type(w, "txtREQOTO", "DA OFFICE");
        QTest::keyClick(Get<QLineEdit>(w, "txtREQOTO"), Qt::Key_Return); // Run is the default button
    });
    ASSERT_EQ(answerer.Seen().size(), 1);
    EXPECT_EQ(answerer.Seen()[0].text, "3 folder status change(s) have been made.");
    EXPECT_EQ(answerer.Seen()[0].title, "Batch Folder Update");
    EXPECT_EQ(world.Scalar("SELECT count(*) FROM MRLCRT.FILCHK WHERE FILOTO='DA OFFICE' AND FILUSR='CLERK1'").toInt(), 3);
    EXPECT_EQ(Stored("Judge"), "SMI");
    EXPECT_EQ(Stored("Room"), "2");
    EXPECT_EQ(Stored("BeginTime"), "830");
    EXPECT_EQ(Stored("EndTime"), "130");

    // Reopened: the selection is back, the action and party are not, and the states follow.
    State s;
    Open([&](QWidget *w) {
        s = Read(w);
        Get<QPushButton>(w, "cmdCancel")->click();
    });
    EXPECT_EQ(s.judge, "SMI");
    EXPECT_EQ(s.room, "2");
    EXPECT_EQ(s.begin, "830");
    EXPECT_EQ(s.end, "130");
    EXPECT_FALSE(s.outChosen || s.inChosen || s.partyEnabled || s.runEnabled);
}

TEST_F(DocketWindow, ADataErrorDuringTheRunReportsAndCloses)
{
    world.Exec("DROP TABLE MRLCRT.HRGDTA");
    answerer.Queue("OK");
    answerer.Queue("Yes");
    Open([&](QWidget *w) {
        Action(w, 0);
        Get<QPushButton>(w, "cmdRun")->click();
    });
    ASSERT_EQ(answerer.Seen().size(), 2);
    EXPECT_EQ(answerer.Seen()[0].title, "Data Error");
    EXPECT_EQ(answerer.Seen()[1].text, "Discard changes?"); // Run is still enabled during the run
    EXPECT_EQ(WindowDriver::Find(Docket), nullptr);
}

TEST_F(DocketWindow, MissingReferenceTableIsReportedAndTheWindowGoesOn)
{
    QFile::remove(world.Path("programs/Venholt Dedezirive, Ltd/Common Files/Tables/Client/ARYROM.XML"));
    QStringList rooms;
    Open([&](QWidget *w) {
        auto *box = Get<QComboBox>(w, "cboREQROM");
        for (int i = 0; i < box->count(); ++i)
            rooms << box->itemText(i);
        Get<QPushButton>(w, "cmdCancel")->click();
    });
    EXPECT_EQ(rooms, QStringList({"*ALL"}));
    ASSERT_EQ(answerer.Seen().size(), 1);
    EXPECT_EQ(answerer.Seen()[0].text,
              "There was a problem opening file:  " +
                  world.Path("programs/Venholt Dedezirive, Ltd/Common Files/Tables/Client/ARYROM.XML") +
                  "\r\nPlease contact technical support.");
}

} // namespace
