#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "WindowDriver.h"
#include "clsFolder.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString Editor = QStringLiteral("frmFolderEdit");

// What the window showed, read by objectName as a host's test would.
struct Shown
{
    QString caption, loanedTo, date, user, status;
    bool saveEnabled = true, deleteEnabled = false, autoChecked = false, manualChecked = false;
};

Shown Read(QWidget *w)
{
    Shown s;
    s.caption = w->windowTitle();
    s.loanedTo = w->findChild<QLineEdit *>("txtFILOTO")->text();
    s.date = w->findChild<QLabel *>("lblFILUDT")->text();
    s.user = w->findChild<QLabel *>("lblFILUSR")->text();
    s.status = w->findChild<QLabel *>("lblStatus")->text();
    s.saveEnabled = w->findChild<QPushButton *>("cmdSave")->isEnabled();
    s.deleteEnabled = w->findChild<QPushButton *>("cmdDelete")->isEnabled();
    s.autoChecked = w->findChild<QAction *>("mnuAppEditPreferencesLoggingAuto")->isChecked();
    s.manualChecked = w->findChild<QAction *>("mnuAppEditPreferencesLoggingManual")->isChecked();
    return s;
}

void Click(QWidget *w, const char *button) { QTest::mouseClick(w->findChild<QPushButton *>(button), Qt::LeftButton); }

void Type(QWidget *w, const QString &text)
{
    auto *box = w->findChild<QLineEdit *>("txtFILOTO");
    box->setFocus();
    QTest::keyClicks(box, text);
}

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
                        messages << QString::fromUtf8(s->readLine()).trimmed();
                });
        });
    }
    QStringList Received()
    {
        QTest::qWait(50); // let the last message arrive
        return messages;
    }

private:
    QLocalServer server;
    QStringList messages;
};

class FolderEditor : public ::testing::Test
{
protected:
    // Opens the editor for a case through the component, runs the script on it, and returns
    // once Edit has returned.
    void Open(qint16 year, const QString &type, qint32 sequence, const WindowDriver::Script &script,
              qint32 handle = 0)
    {
        clsFolder folder;
        folder.SetParentHandle(handle);
        WindowDriver driver(Editor, script);
        folder.Edit(year, type, sequence, QStringLiteral("CLERK1"));
        EXPECT_TRUE(driver.Ran());
        EXPECT_FALSE(driver.TimedOut());
    }
    QList<QVariantList> Loans() const
    {
        return world.Rows("SELECT FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR FROM MRLCRT.FILCHK ORDER BY FILSEQ");
    }
    QList<QVariantList> Log() const
    {
        return world.Rows("SELECT LOGYER, LOGTYP, LOGSEQ, LOGAUT, LOGUSR, LOGOTO, LOGOUT FROM MRLCRT.FILLOG");
    }
    static int Today() { return QDate::currentDate().toString("MMddyyyy").toInt(); }

    TestWorld world;
    ModalAnswerer answerer;
};

TEST_F(FolderEditor, NotOnLoanPreviewsWhatASaveWouldRecord)
{
    Shown shown;
    Open(2009, "CV", 123, [&](QWidget *w) {
        shown = Read(w);
        Click(w, "cmdCancel");
    });
    EXPECT_EQ(shown.caption, "PC/MEVS - File Checkout - 2009-CV-000123");
    EXPECT_EQ(shown.status, "This file is not currently on loan.");
    EXPECT_EQ(shown.loanedTo, "");
    EXPECT_EQ(shown.date, QDate::currentDate().toString("MM/dd/yyyy"));
    EXPECT_EQ(shown.user, "CLERK1");
    EXPECT_FALSE(shown.saveEnabled);
    EXPECT_FALSE(shown.deleteEnabled);
    EXPECT_TRUE(answerer.Seen().isEmpty()); // an unchanged window closes without a question
}

TEST_F(FolderEditor, OnLoanShowsTheStoredLoan)
{
    const struct
    {
        const char *stored;
        const char *shown;
    } dates[] = {{"1052026", "01/05/2026"}, {"12042026", "12/04/2026"}, {"NULL", ""}, {"0", ""}, {"13452026", ""}};
    int seq = 1;
    for (const auto &d : dates) {
        world.Exec(QStringLiteral("INSERT INTO MRLCRT.FILCHK VALUES (2009,'CV',%1,'O''NEIL',%2,'CLERK9')")
                       .arg(seq)
                       .arg(QLatin1String(d.stored)));
        Shown shown;
        Open(2009, "CV", seq++, [&](QWidget *w) {
            shown = Read(w);
            Click(w, "cmdCancel");
        });
        EXPECT_EQ(shown.date, QLatin1String(d.shown)) << d.stored;
        EXPECT_EQ(shown.status, "This file is currently on loan.");
        EXPECT_EQ(shown.loanedTo, "O'NEIL");
        EXPECT_EQ(shown.user, "CLERK9");
        EXPECT_TRUE(shown.deleteEnabled);
        EXPECT_FALSE(shown.saveEnabled);
    }
}

TEST_F(FolderEditor, SaveInsertsThenUpdatesOneRowAndTellsTheHostOnce)
{
    Host host(4711);
    Open(
        2009, "CV", 123,
        [&](QWidget *w) {
            Type(w, "o'neil & co");
            Click(w, "cmdSave");
        },
        4711);
    EXPECT_EQ(Loans(), QList<QVariantList>({{2009, "CV", 123, "O'NEIL & CO", Today(), "CLERK1"}}));
    EXPECT_EQ(host.Received(), QStringList({"SAVE"}));

    // A second save rewrites the row: still one row per key.
    Open(
        2009, "CV", 123,
        [&](QWidget *w) {
            auto *box = w->findChild<QLineEdit *>("txtFILOTO");
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, QString::fromUtf8("ÉTÉ 13 CHARSX"));
            Click(w, "cmdSave");
        },
        4711);
    EXPECT_EQ(Loans(), QList<QVariantList>({{2009, "CV", 123, QString::fromUtf8("ÉTÉ 13 CHARSX"), Today(), "CLERK1"}}));
    EXPECT_EQ(host.Received(), QStringList({"SAVE", "SAVE"}));
    EXPECT_TRUE(answerer.Seen().isEmpty());
}

TEST_F(FolderEditor, BlankInputIsRefusedAndNothingIsWritten)
{
    Host host(0); // a handle never set reaches the window as 0
    for (const char *typed : {" ", "     "}) {
        Shown after;
        Open(2009, "CV", 123, [&](QWidget *w) {
            Type(w, QLatin1String(typed));
            Click(w, "cmdSave");
            after = Read(w);
            Click(w, "cmdCancel");
        });
        EXPECT_FALSE(after.saveEnabled) << '"' << typed << '"';
    }
    ASSERT_EQ(answerer.Seen().size(), 2);
    EXPECT_EQ(answerer.Seen()[0].text, "A required field is missing.");
    EXPECT_EQ(answerer.Seen()[0].title, "Error");
    EXPECT_TRUE(Loans().isEmpty());
    EXPECT_TRUE(host.Received().isEmpty());
}

TEST_F(FolderEditor, DeleteAfterTypingAsksBeforeClosing)
{
    world.Exec("INSERT INTO MRLCRT.FILCHK VALUES (2009,'CV',123,'SMI',1052026,'CLERK9')");
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Venholt Dedezirive, Ltd", "ZORVAFolders")
        .setValue("FolderEdit/mnuAppEditPreferencesLoggingManual", "True");
    answerer.Queue("No");
    answerer.Queue("Yes");
    Shown afterNo;
    Open(2009, "CV", 123, [&](QWidget *w) {
        Type(w, "X");
        Click(w, "cmdDelete");
        // "No" kept the window open on its old display.
        afterNo = Read(w);
        Click(w, "cmdCancel");
    });
    EXPECT_TRUE(Loans().isEmpty());
    EXPECT_EQ(Log(), QList<QVariantList>({{2009, "CV", 123, 0, "CLERK1", "SMIX", 0}}));
    EXPECT_EQ(afterNo.status, "This file is currently on loan.");
    EXPECT_EQ(afterNo.loanedTo, "SMIX");
    ASSERT_EQ(answerer.Seen().size(), 2);
    EXPECT_EQ(answerer.Seen()[0].text, "Discard changes?");
    EXPECT_EQ(answerer.Seen()[0].title, "Exit");
}

TEST_F(FolderEditor, EscapeAndEnterPressNothing)
{
    bool stillOpen = false;
    Open(2009, "CV", 123, [&](QWidget *w) {
        Type(w, "SMI");
        QTest::keyClick(w->findChild<QLineEdit *>("txtFILOTO"), Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_Escape);
        stillOpen = w->isVisible();
        answerer.Queue("Yes");
        Click(w, "cmdCancel");
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(Loans().isEmpty());
}

TEST_F(FolderEditor, LoggingPreferenceDecidesTheLogAndSurvivesAReopen)
{
    const struct
    {
        const char *item; // menu item clicked, or empty
        bool autoChecked, manualChecked;
        int logged; // LOGAUT of the logged row, -1 for none
    } cases[] = {
        {"", false, false, -1},
        {"mnuAppEditPreferencesLoggingAuto", true, false, 1},
        {"mnuAppEditPreferencesLoggingManual", false, true, 0},
        // clicking the checked item again turns logging off
        {"mnuAppEditPreferencesLoggingManual", false, false, -1},
    };
    int seq = 1;
    for (const auto &c : cases) {
        Open(2010, "CF", seq, [&](QWidget *w) {
            if (*c.item)
                w->findChild<QAction *>(QLatin1String(c.item))->trigger();
            Type(w, "SMI");
            Click(w, "cmdSave");
        });
        Shown reopened;
        Open(2010, "CF", seq, [&](QWidget *w) {
            reopened = Read(w);
            Click(w, "cmdCancel");
        });
        EXPECT_EQ(reopened.autoChecked, c.autoChecked) << c.item;
        EXPECT_EQ(reopened.manualChecked, c.manualChecked) << c.item;
        const QList<QVariantList> log =
            world.Rows(QStringLiteral("SELECT LOGAUT, LOGOUT, LOGOTO FROM MRLCRT.FILLOG WHERE LOGSEQ=%1").arg(seq));
        if (c.logged < 0) {
            EXPECT_TRUE(log.isEmpty()) << c.item;
        } else {
            EXPECT_EQ(log, QList<QVariantList>({{c.logged, 1, "SMI"}})) << c.item;
        }
        ++seq;
    }
    // Another user's store knows nothing of it.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, world.Path("other-user"));
    world.Exec("UPDATE MRLCRT.FILCHK SET FILOTO='X'");
    Shown otherUser;
    Open(2010, "CF", 1, [&](QWidget *w) {
        w->findChild<QAction *>("mnuAppEditPreferencesLoggingAuto")->trigger();
        otherUser = Read(w);
        Click(w, "cmdCancel");
    });
    EXPECT_TRUE(otherUser.autoChecked);
    EXPECT_EQ(QSettings(world.Path("settings/Venholt Dedezirive, Ltd/ZORVAFolders.ini"), QSettings::IniFormat)
                  .value("FolderEdit/mnuAppEditPreferencesLoggingAuto")
                  .toString(),
              "False");
}

TEST_F(FolderEditor, DataErrorDuringLoadHidesReturnsThenCloses)
{
    world.Exec("DROP TABLE MRLCRT.FILCHK");
    clsFolder folder;
    folder.Edit(2009, "CV", 123, "CLERK1");
    // Edit has returned; the window closes itself a moment later.
    for (int waited = 0; waited < 5000 && WindowDriver::Find(Editor); waited += 10)
        QTest::qWait(10);
    QTest::qWait(50);
    bool anyLeft = false;
    for (QWidget *w : QApplication::topLevelWidgets())
        anyLeft = anyLeft || w->objectName() == Editor;
    EXPECT_FALSE(anyLeft);
    ASSERT_GE(answerer.Seen().size(), 1);
    EXPECT_EQ(answerer.Seen()[0].title, "Data Error");
    EXPECT_TRUE(answerer.Seen()[0].text.contains("FILCHK"));
    // The unload ran: the placement was written.
    EXPECT_TRUE(QSettings(world.Path("settings/Venholt Dedezirive, Ltd/ZORVAFolders.ini"), QSettings::IniFormat)
                    .contains("FolderEdit/mnuAppEditPreferencesLoggingAuto"));
}

} // namespace
