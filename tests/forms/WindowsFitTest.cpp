#include "Scenario.h"
#include "TestWorld.h"
#include "WindowDriver.h"
#include "clsFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// Whatever a clerk stored or pasted, a window and its boxes open whole on the screen.
namespace {

// Opens the batch window as the host does, with the size stored for it (none when empty). Its
// controls are placed by hand; the docket window's layout keeps it from shrinking.
QPointer<QWidget> Open(const TestWorld &world, const QSize &stored = {})
{
    if (!stored.isEmpty())
        Scenario::Store(world, {"FolderBatch/WindowState=0", "FolderBatch/FormWidth=" + QString::number(stored.width()),
                                "FolderBatch/FormHeight=" + QString::number(stored.height())});
    clsFolder folder;
    folder.EditBatch("CLERK1");
    QPointer<QWidget> w = WindowDriver::Find("frmFolderBatch");
    w->activateWindow(); // where the stored placement is applied
    EXPECT_TRUE(QTest::qWaitForWindowActive(w));
    return w;
}

void Close(QPointer<QWidget> w)
{
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(WindowsFit, AStoredSizeBelowTheMinimumLeavesTheDesignSize)
{
    TestWorld world;
    world.InstallReferenceTables();
    QPointer<QWidget> w = Open(world);
    const QSize design = w->size();
    Close(w);
    const struct
    {
        const char *name;
        QSize stored, expected;
    } cases[] = {
        {"1 x 1", {1, 1}, design},
        {"wide but one pixel high", {900, 1}, design},
        {"larger", {600, 520}, {600, 520}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        w = Open(world, c.stored);
        EXPECT_EQ(w->size(), c.expected);
        Close(w);
    }
}

TEST(WindowsFit, ARefusedPasteListsTwentyLinesAndHowManyMore)
{
    const QString header = "These lines are not case numbers and were left out:\n";
    const QString endless(10000, QLatin1Char('x'));
    const struct
    {
        const char *name;
        int lines;           // bad lines pasted: "bad 1", "bad 2", ...; 0: one endless line
        QString listedAfter; // the box's text after the lines listed by number
        int listed;
    } cases[] = {
        {"5,000 bad lines", 5000, "\nand 4980 more", 20},
        {"21", 21, "\nand 1 more", 20},
        {"20", 20, "", 20},
        {"one line of 10,000 characters", 0, "line 1: " + endless.left(71) + QChar(0x2026), 0},
    };
    TestWorld world;
    world.InstallReferenceTables();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList pasted, expected;
        for (int i = 1; i <= c.lines; ++i) {
            pasted << QStringLiteral("bad %1").arg(i);
            if (i <= c.listed)
                expected << QStringLiteral("line %1: bad %1").arg(i);
        }
        QPointer<QWidget> w = Open(world);
        QApplication::clipboard()->setText(c.lines ? pasted.join('\n') : endless);
        w->findChild<QWidget *>("grd")->setFocus();
        QString text;
        QSize size;
        QTimer::singleShot(100, [&] { // the box as shown, then OK
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            text = box->text();
            size = box->frameGeometry().size();
            box->button(QMessageBox::Ok)->click();
        });
        QTest::keyClick(w->focusWidget(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(text, header + expected.join('\n') + c.listedAfter);
        EXPECT_TRUE(screen.size().expandedTo(size) == screen.size()) << "the OK button is off the screen";
        Close(w);
    }
}

} // namespace
