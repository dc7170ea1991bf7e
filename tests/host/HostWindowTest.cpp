#include "HostWindow.h"
#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "TimedKeys.h"
#include "WindowDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// What the clerk types in the host's boxes and what comes of it: the editor of that case (its
// caption and the user it records), or no window and the reason under the case box. Enter in
// the case box and the Edit button do the same.
// The host shown, its case and user boxes and the message under the case box.
class HostCaseEntry : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(caseBox && userBox && message);
    }
    // The message shows exactly when something is said, and begins with it.
    void ExpectSaid(const char *said) const
    {
        EXPECT_EQ(message->isVisible(), *said != '\0');
        EXPECT_TRUE(!*said || message->text().startsWith(QString::fromUtf8(said))) << message->text().toStdString();
    }
    TestWorld world;
    ModalAnswerer answerer;
    HostWindow window;
    QLineEdit *caseBox = window.findChild<QLineEdit *>(QStringLiteral("txtCase"));
    QLineEdit *userBox = window.findChild<QLineEdit *>(QStringLiteral("txtUser"));
    QLabel *message = window.findChild<QLabel *>(QStringLiteral("lblCaseMessage"));
};

TEST_F(HostCaseEntry, OpensTheEditorOfTheCaseTypedOrSaysWhyNot)
{
    const struct { const char *caseText, *user, *caption, *said; } cases[] = {
        {"2009-CV-123", "CLERK7", "PC/MEVS - File Checkout - 2009-CV-000123", ""},
        {"2009 cv 7", "CLERK7", "PC/MEVS - File Checkout - 2009-CV-000007", ""},
        {" 2009CV000042 ", "CLERK7", "PC/MEVS - File Checkout - 2009-CV-000042", ""},
        {"20-CV-123", "CLERK7", "", "\"20-CV-123\" is not a case number. Write it as 2009-CV-123"},
        {"2009-CV-0", "CLERK7", "", "\"2009-CV-0\" is not a case number."},
        {"", "CLERK7", "", "Type a case number, such as 2009-CV-123."},
        {"2009-CV-123", "  ", "", "Type the user name"},
    };
    for (const auto &c : cases) {
        for (const bool enter : {false, true}) {
            SCOPED_TRACE(std::string(c.caseText) + " / " + c.user + (enter ? " (Enter)" : " (button)"));
            userBox->setText(QString::fromUtf8(c.user));
            caseBox->clear();
            caseBox->setFocus();
            QTest::keyClicks(caseBox, QString::fromUtf8(c.caseText));
            QString caption, recordedBy;
            WindowDriver driver(QStringLiteral("frmFolderEdit"), [&](QWidget *editor) {
                caption = editor->windowTitle();
                recordedBy = editor->findChild<QLabel *>(QStringLiteral("lblFILUSR"))->text();
                QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
            });
            if (enter)
                QTest::keyClick(caseBox, Qt::Key_Return); // returns once the editor has closed
            else
                QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdEdit")), Qt::LeftButton);
            QTest::qWait(50); // an editor that should not open would show by now
            EXPECT_EQ(caption, QString::fromUtf8(c.caption));
            EXPECT_FALSE(driver.TimedOut());
            EXPECT_EQ(recordedBy, *c.caption ? QStringLiteral("CLERK7") : QString());
            ExpectSaid(c.said);
        }
    }
    EXPECT_EQ(world.Scalar(QStringLiteral("SELECT COUNT(*) FROM MRLCRT.FILCHK")).toInt(), 0);
}

// A scanned label opens its case whatever the box held; typing goes on from what it held.
TEST_F(HostCaseEntry, AScannedLabelOpensItsCaseWhateverTheBoxHeld)
{
    userBox->setText(QStringLiteral("CLERK7"));
    const struct { const char *held, *keys; int pace; const char *caption, *said; } cases[] = {
        {"2009-CV-1", "2009CV000123", 5, "PC/MEVS - File Checkout - 2009-CV-000123", ""},
        {"2009-CV-1", "23", 150, "PC/MEVS - File Checkout - 2009-CV-000123", ""},
        {"2009-CV-1", "2009CV000123", 150, "", "\"2009-CV-12009CV000123\" is not a case number."},
        {"", "NOTACASE", 5, "", "\"NOTACASE\" is not a case number."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.held) + " + " + c.keys);
        caseBox->setText(QString::fromUtf8(c.held));
        caseBox->setFocus();
        QString caption;
        WindowDriver driver(QStringLiteral("frmFolderEdit"), [&](QWidget *editor) {
            caption = editor->windowTitle();
            QTest::mouseClick(editor->findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
        });
        TypeTimed([this] { return caseBox; }, QString::fromUtf8(c.keys), c.pace);
        QTest::qWait(50);
        EXPECT_EQ(caption, QString::fromUtf8(c.caption));
        ExpectSaid(c.said);
    }
}

} // namespace
