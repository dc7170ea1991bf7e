#include "HostWindow.h"
#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "WindowDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalSocket>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTime>
#include <gtest/gtest.h>

namespace {

const QString Editor = QStringLiteral("frmFolderEdit");

enum class Trigger { Button, Enter };

class Host : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<HostWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename T> T *Find(const char *name) const
    {
        T *child = window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    // The text of each logged line, after checking that it carries a time of arrival.
    QStringList Logged(const QTime &from, const QTime &to) const
    {
        static const QRegularExpression line(QStringLiteral(R"(^(\d\d:\d\d:\d\d)  (.*)$)"));
        QStringList texts;
        auto *list = Find<QListWidget>("lstMessages");
        for (int i = 0; i < list->count(); ++i) {
            const QString item = list->item(i)->text();
            const QRegularExpressionMatch m = line.match(item);
            EXPECT_TRUE(m.hasMatch()) << item.toStdString();
            const QTime at = QTime::fromString(m.captured(1), QStringLiteral("HH:mm:ss"));
            EXPECT_TRUE(at.isValid()) << item.toStdString();
            if (from <= to) { // not across midnight
                EXPECT_TRUE(at >= from.addMSecs(-from.msec()) && at <= to) << item.toStdString();
            }
            texts << m.captured(2);
        }
        return texts;
    }

    int MessageCount() const { return Find<QListWidget>("lstMessages")->count(); }

    void Ask(const QString &caseText, Trigger trigger)
    {
        auto *box = Find<QLineEdit>("txtCase");
        box->clear();
        box->setFocus();
        QTest::keyClicks(box, caseText);
        if (trigger == Trigger::Enter)
            QTest::keyClick(box, Qt::Key_Return);
        else
            QTest::mouseClick(Find<QPushButton>("cmdEdit"), Qt::LeftButton);
    }

    TestWorld world;
    ModalAnswerer answerer;
    std::unique_ptr<HostWindow> window;
};

TEST_F(Host, ListensOnTheChannelNamedAfterItsOwnWindow)
{
    const qint32 handle = static_cast<qint32>(window->winId());
    EXPECT_EQ(window->Handle(), handle);
    EXPECT_EQ(window->ServerName(), QStringLiteral("ZORVA.MailSlot.%1").arg(handle));
    EXPECT_EQ(window->objectName(), "frmHost");
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ZORVA Folders — demo host"));
}

TEST_F(Host, EveryLineThatArrivesIsLoggedWithItsTime)
{
    // What one sender writes, chunk by chunk, and the lines the clerk should see.
    const struct
    {
        QList<QByteArray> chunks;
        QStringList lines;
    } cases[] = {
        {{"SAVE\n"}, {"SAVE"}},
        {{"SA", "VE\n"}, {"SAVE"}},
        {{"SAVE\nSAVE\n"}, {"SAVE", "SAVE"}},
        {{"SAVE\r\n"}, {"SAVE"}},
        {{"SAVE"}, {"SAVE"}}, // the sender went away before ending the line
        {{"Gr\xc3\xbc\xc3\x9f"
          "e\n"},
         {QString::fromUtf8("Grüße")}},
        {{"\n"}, {""}},
    };
    const QString name = QStringLiteral("ZORVA.MailSlot.%1").arg(static_cast<qint32>(window->winId()));
    for (const auto &c : cases) {
        Find<QListWidget>("lstMessages")->clear();
        const QTime from = QTime::currentTime();
        QLocalSocket socket;
        socket.connectToServer(name, QIODevice::WriteOnly);
        ASSERT_TRUE(socket.waitForConnected(2000)) << socket.errorString().toStdString();
        for (const QByteArray &chunk : c.chunks) {
            socket.write(chunk);
            ASSERT_TRUE(socket.waitForBytesWritten(2000));
            QTest::qWait(30); // let the host read a partial line
        }
        socket.disconnectFromServer();
        EXPECT_TRUE(QTest::qWaitFor([&] { return MessageCount() >= c.lines.size(); }, 2000));
        QTest::qWait(50); // nothing more should come
        EXPECT_EQ(Logged(from, QTime::currentTime()), c.lines) << c.chunks.join('|').toStdString();
    }
}

TEST_F(Host, TwoSendersAtOnceKeepTheirLinesWhole)
{
    QLocalSocket first, second;
    for (QLocalSocket *s : {&first, &second}) {
        s->connectToServer(window->ServerName(), QIODevice::WriteOnly);
        ASSERT_TRUE(s->waitForConnected(2000));
    }
    const QTime from = QTime::currentTime();
    first.write("SA");
    ASSERT_TRUE(first.waitForBytesWritten(2000));
    QTest::qWait(30);
    second.write("SAVE\n");
    ASSERT_TRUE(second.waitForBytesWritten(2000));
    QTest::qWait(30);
    first.write("VE\n");
    ASSERT_TRUE(first.waitForBytesWritten(2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return MessageCount() >= 2; }, 2000));
    EXPECT_EQ(Logged(from, QTime::currentTime()), QStringList({"SAVE", "SAVE"}));
}

TEST_F(Host, ANumberThatIsNoCaseShowsWhyAndOpensNothing)
{
    const struct
    {
        const char *caseText, *user, *said;
    } cases[] = {
        {"", "CLERK1", "Type a case number, such as 2009-CV-123."},
        {"20-CV-123", "CLERK1", "\"20-CV-123\" is not a case number. Write it as 2009-CV-123"},
        {"2009-CV-0", "CLERK1", "\"2009-CV-0\" is not a case number."},
        {"2009-CV-1234567", "CLERK1", "\"2009-CV-1234567\" is not a case number."},
        {"CV-2009-123", "CLERK1", "\"CV-2009-123\" is not a case number."},
        {"2009/CV/123", "CLERK1", "\"2009/CV/123\" is not a case number."},
        {"2009-CV-123", "", "Type the user name"},
        {"2009-CV-123", "   ", "Type the user name"},
    };
    auto *message = Find<QLabel>("lblCaseMessage");
    for (const auto &c : cases) {
        for (Trigger trigger : {Trigger::Button, Trigger::Enter}) {
            const std::string what = std::string(c.caseText) + " / '" + c.user + "'" +
                                     (trigger == Trigger::Enter ? " (Enter)" : " (button)");
            Find<QLineEdit>("txtUser")->setText(QString::fromUtf8(c.user));
            bool opened = false;
            WindowDriver driver(Editor, [&](QWidget *editor) {
                opened = true;
                QTest::mouseClick(editor->findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
            });
            Ask(QString::fromUtf8(c.caseText), trigger);
            QTest::qWait(50);
            EXPECT_FALSE(opened) << what;
            EXPECT_TRUE(message->isVisible()) << what;
            EXPECT_TRUE(message->text().startsWith(QString::fromUtf8(c.said)))
                << what << " said: " << message->text().toStdString();
            // Correcting the box at fault takes the message away.
            const bool userAtFault = QString::fromUtf8(c.user).trimmed().isEmpty();
            QTest::keyClicks(Find<QLineEdit>(userAtFault ? "txtUser" : "txtCase"), QStringLiteral("1"));
            EXPECT_FALSE(message->isVisible()) << what;
        }
    }
    EXPECT_EQ(world.Scalar("SELECT COUNT(*) FROM MRLCRT.FILCHK").toInt(), 0);
    EXPECT_EQ(MessageCount(), 0);
}

TEST_F(Host, OpensTheEditorForTheCaseAndLogsItsSave)
{
    const struct
    {
        const char *caseText;
        Trigger trigger;
        const char *caption;
        qint32 sequence;
        bool save;
    } cases[] = {
        {"2009-CV-123", Trigger::Button, "PC/MEVS - File Checkout - 2009-CV-000123", 123, true},
        {"2009 cv 7", Trigger::Enter, "PC/MEVS - File Checkout - 2009-CV-000007", 7, true},
        {"2009CV000042", Trigger::Button, "PC/MEVS - File Checkout - 2009-CV-000042", 42, false},
        {" 2009-CV-5 ", Trigger::Enter, "PC/MEVS - File Checkout - 2009-CV-000005", 5, false},
    };
    Find<QLineEdit>("txtUser")->setText(QStringLiteral("CLERK7"));
    for (const auto &c : cases) {
        Find<QListWidget>("lstMessages")->clear();
        QString caption, user;
        WindowDriver driver(Editor, [&](QWidget *editor) {
            caption = editor->windowTitle();
            user = editor->findChild<QLabel *>("lblFILUSR")->text();
            if (c.save) {
                auto *box = editor->findChild<QLineEdit *>("txtFILOTO");
                box->setFocus();
                QTest::keyClicks(box, QStringLiteral("SMI"));
                QTest::mouseClick(editor->findChild<QPushButton *>("cmdSave"), Qt::LeftButton);
            } else {
                QTest::mouseClick(editor->findChild<QPushButton *>("cmdCancel"), Qt::LeftButton);
            }
        });
        const QTime from = QTime::currentTime();
        Ask(QString::fromUtf8(c.caseText), c.trigger); // returns once the editor has closed
        EXPECT_TRUE(driver.Ran()) << c.caseText;
        EXPECT_FALSE(driver.TimedOut()) << c.caseText;
        EXPECT_EQ(caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(user, "CLERK7") << c.caseText;
        EXPECT_FALSE(Find<QLabel>("lblCaseMessage")->isVisible()) << c.caseText;

        const QStringList expected = c.save ? QStringList{"SAVE"} : QStringList{};
        if (c.save)
            EXPECT_TRUE(QTest::qWaitFor([&] { return MessageCount() >= 1; }, 2000)) << c.caseText;
        else
            QTest::qWait(100); // a cancel must send nothing
        EXPECT_EQ(Logged(from, QTime::currentTime()), expected) << c.caseText;
        const QList<QVariantList> rows =
            world.Rows(QStringLiteral("SELECT FILOTO, FILUSR FROM MRLCRT.FILCHK WHERE FILYER = 2009 AND "
                                      "FILTYP = 'CV' AND FILSEQ = %1")
                           .arg(c.sequence));
        if (c.save)
            EXPECT_EQ(rows, QList<QVariantList>({{"SMI", "CLERK7"}})) << c.caseText;
        else
            EXPECT_TRUE(rows.isEmpty()) << c.caseText;
    }
    for (const ModalAnswerer::Box &box : answerer.Seen())
        ADD_FAILURE() << "unexpected message box: " << box.text.toStdString();
}

// Puts an environment variable back as it was, set or not.
class SavedVariable
{
public:
    explicit SavedVariable(const char *name)
        : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_value(qgetenv(name))
    {}
    ~SavedVariable()
    {
        if (m_wasSet)
            qputenv(m_name, m_value);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_wasSet;
    QByteArray m_value;
};

TEST(HostUser, StartsAsTheLoginNameInUpperCase)
{
    const SavedVariable user("USER"), logName("LOGNAME");
    const struct
    {
        const char *user, *logName, *expected;
    } cases[] = {{"jdoe", "other", "JDOE"}, {"", "clerk1", "CLERK1"}};
    for (const auto &c : cases) {
        qputenv("USER", c.user);
        qputenv("LOGNAME", c.logName);
        HostWindow window;
        EXPECT_EQ(window.findChild<QLineEdit *>("txtUser")->text(), QString::fromUtf8(c.expected)) << c.user;
    }
}

} // namespace
