#include "ModalAnswerer.h"
#include "Scenario.h"
#include "TestWorld.h"
#include "WindowDriver.h"
#include "clsFolder.h"

#include "records/Connection.h"
#include "records/ServerRoles.h"

#include <QCoreApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// The world's court as a login that init's reader role was granted to; put back when it goes.
class ReaderLogin
{
public:
    explicit ReaderLogin(const TestWorld &world) : m_world(world), m_login(world.ServerDatabase() + "_look")
    {
        QString error;
        QSqlDatabase db = Connection::Database("data", &error);
        EXPECT_TRUE(ServerRoles::Apply(db, true, &error)) << error.toStdString();
        world.Exec("CREATE ROLE " + m_login + " LOGIN");
        EXPECT_TRUE(ServerRoles::Grant(db, ServerRoles::Reader, m_login, &error)) << error.toStdString();
        QString url = world.DatabaseUrl();
        if (TestWorld::CurrentBackend() == TestWorld::Backend::ODBC) {
            url.replace(QRegularExpression("UID=[^;]*"), "UID=" + m_login);
        } else {
            QUrl server(url);
            server.setUserName(m_login);
            url = server.toString();
        }
        qputenv(Connection::EnvironmentVariable, url.toUtf8());
        Connection::Use(url);
    }
    ~ReaderLogin()
    {
        qputenv(Connection::EnvironmentVariable, m_world.DatabaseUrl().toUtf8());
        Connection::Use(m_world.DatabaseUrl());
        const QString roles = QStringList{m_login, m_world.ServerDatabase() + "_reader", m_world.ServerDatabase() + "_clerk"}.join(", ");
        m_world.Exec("DROP OWNED BY " + roles);
        m_world.Exec("DROP ROLE " + roles);
    }

private:
    const TestWorld &m_world;
    QString m_login;
};

// The server's words follow, as its driver gives them ("ERROR:  permission denied for table filchk").
const QString Told = "Read Only: This user may look at the folders but not change loans on this court.\n\nThe server said: "
                     "ERROR:*";

// A reader's windows that change loans say so at once, in one box, and close; the locator,
// which only reads, opens as for anyone. Nothing is changed on the court.
TEST(ReaderWindows, SayAtOnceThatTheUserMayLookButNotChange)
{
    if (TestWorld::OnSQLite())
        GTEST_SKIP() << "a file has no readers: whoever opens it may change it";
    // Without a server the windows would wait on a connection that never comes, box after box.
    if (qEnvironmentVariableIsEmpty(TestWorld::ServerVariable))
        GTEST_FAIL() << "The server tests need " << TestWorld::ServerVariable << ": scripts/test starts a cluster.";
    const struct { const char *window; std::function<void(clsFolder &)> open; QStringList boxes; } cases[] = {
        {"frmFolderEdit", [](clsFolder &f) { f.Edit(2009, "CV", 123, "CLERK1"); }, {Told}},
        {"frmFolderDocket", [](clsFolder &f) { f.UpdateBatch("CLERK1"); }, {Told}},
        {"frmFolderBatch", [](clsFolder &f) { f.EditBatch("CLERK1"); }, {Told}},
        {"frmFolderLocate", [](clsFolder &f) { f.Locate("CLERK1"); }, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.window);
        TestWorld world;
        world.InstallReferenceTables();
        world.Lend(2009, "CV", 123, "SMI");
        const ReaderLogin reader(world);
        ModalAnswerer answerer(QStringList(c.boxes.size(), "OK"));
        clsFolder folder;
        c.open(folder); // the modal ones return once closed
        QTest::qWait(50);
        QPointer<QWidget> w = WindowDriver::Find(c.window);
        EXPECT_EQ(w.isNull(), !c.boxes.isEmpty()) << "the window is open: " << !w.isNull();
        if (w)
            w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QStringList boxes = answerer.Lines();
        EXPECT_TRUE(Scenario::Match(c.boxes, boxes)) << boxes.join('\n').toStdString();
        EXPECT_TRUE(c.boxes.isEmpty() || boxes.join('\n').contains("permission denied for table filchk"));
        EXPECT_EQ(Scenario::Court(world), QStringList{"2009-CV-123 SMI 1052026 OLD"});
    }
}

} // namespace
