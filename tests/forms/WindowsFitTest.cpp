#include "TestWorld.h"
#include "forms/folder_batch/frmFolderBatch.h"
#include "forms/folder_docket/frmFolderDocket.h"
#include "shared/ComponentName.h"
#include "shared/SettingsStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <array>
#include <gtest/gtest.h>
#include <memory>

// Whatever a clerk stored or pasted, a window and its boxes open whole on the screen.
namespace {

std::array<int, 2> Pair(const QSize &s)
{
    return {s.width(), s.height()};
}

// Answers every box (Yes where asked, else OK), noting its text and its outer size as shown.
class BoxProbe : public QObject
{
public:
    struct Box
    {
        QString text;
        QSize size;
    };
    BoxProbe()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(w);
                if (!box || !box->isVisible() || box->property("probed").toBool())
                    continue;
                box->setProperty("probed", true);
                seen.append({box->text(), box->frameGeometry().size()});
                QAbstractButton *yes = box->button(QMessageBox::Yes);
                (yes ? yes : box->button(QMessageBox::Ok))->click();
            }
        });
        m_timer.start(10);
    }
    QList<Box> seen;

private:
    QTimer m_timer;
};

template <typename Window> std::unique_ptr<Window> Open()
{
    auto window = std::make_unique<Window>();
    window->SetUserName(QStringLiteral("CLERK1"));
    window->Load();
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
}

void StoreSize(const QString &section, const QSize &size)
{
    const QString app = ComponentName::ApplicationName();
    SettingsStore::SaveSetting(app, section, QStringLiteral("WindowState"), QStringLiteral("0"));
    SettingsStore::SaveSetting(app, section, QStringLiteral("FormWidth"), QString::number(size.width()));
    SettingsStore::SaveSetting(app, section, QStringLiteral("FormHeight"), QString::number(size.height()));
}

class WindowsFit : public ::testing::Test
{
protected:
    WindowsFit() { world.InstallReferenceTables(); }
    TestWorld world;
    BoxProbe probe;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
};

TEST_F(WindowsFit, AStoredSizeBelowTheMinimumLeavesTheDesignSize)
{
    // The size each window opens at when nothing is stored. (The docket window's layout already
    // keeps it from shrinking; the batch window's controls are placed by hand.)
    const QSize batchDesign = Open<frmFolderBatch>()->size();
    const QSize docketDesign = Open<frmFolderDocket>()->size();
    const struct
    {
        const char *name;
        bool batch;
        QSize stored, expected;
    } cases[] = {
        {"batch, 1 x 1", true, {1, 1}, batchDesign},
        // Short of where its Run button ends (at 489 x 455), however slightly.
        {"batch, cutting the Run button", true, {488, 455}, batchDesign},
        {"batch, just holding its controls", true, {489, 455}, {489, 455}},
        {"batch, larger", true, {600, 520}, {600, 520}},
        {"docket, larger", false, docketDesign + QSize(30, 20), docketDesign + QSize(30, 20)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        StoreSize(c.batch ? QStringLiteral("FolderBatch") : QStringLiteral("FolderDocket"), c.stored);
        const QSize size = c.batch ? Open<frmFolderBatch>()->size() : Open<frmFolderDocket>()->size();
        EXPECT_EQ(Pair(size), Pair(c.expected));
    }
    EXPECT_TRUE(probe.seen.isEmpty());
}

TEST_F(WindowsFit, ARefusedPasteListsTwentyLinesAndHowManyMore)
{
    const QString header = QStringLiteral("These lines are not case numbers and were left out:\n");
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
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList pasted;
        QStringList expected;
        for (int i = 1; i <= c.lines; ++i) {
            pasted << QStringLiteral("bad %1").arg(i);
            if (i <= c.listed)
                expected << QStringLiteral("line %1: bad %1").arg(i);
        }
        auto batch = Open<frmFolderBatch>();
        QGuiApplication::clipboard()->setText(c.lines ? pasted.join(QLatin1Char('\n')) : endless);
        QWidget *grd = batch->findChild<QWidget *>(QStringLiteral("grd"));
        ASSERT_NE(grd, nullptr);
        grd->setFocus();
        probe.seen.clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(probe.seen.size(), 1);
        EXPECT_EQ(probe.seen[0].text, header + expected.join(QLatin1Char('\n')) + c.listedAfter);
        EXPECT_LE(probe.seen[0].size.height(), screen.height()) << "the OK button is off the screen";
        EXPECT_LE(probe.seen[0].size.width(), screen.width()) << "the OK button is off the screen";
    }
}

} // namespace
