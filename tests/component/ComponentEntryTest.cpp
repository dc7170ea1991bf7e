#include "ModalAnswerer.h"
#include "TestWorld.h"
#include "WindowDriver.h"
#include "ZORVAFolders.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// What a host in another language does: the C entry points, a handle, the windows, the editor's message.
TEST(ComponentEntry, PlainCallsOpenTheEditorAndReachTheHost)
{
    TestWorld world;
    world.InstallReferenceTables();
    ModalAnswerer answerer;
    zorva_folder *folder = zorva_folder_create();
    zorva_folder_set_parent_handle(folder, 31337); // the host's mail slot is named after it

    QLocalServer host;
    QLocalServer::removeServer("ZORVA.MailSlot.31337");
    ASSERT_TRUE(host.listen("ZORVA.MailSlot.31337"));
    QStringList received;
    QObject::connect(&host, &QLocalServer::newConnection, [&] {
        QLocalSocket *s = host.nextPendingConnection();
        QObject::connect(s, &QLocalSocket::readyRead, [&received, s] { received << QString::fromUtf8(s->readAll()); });
    });

    WindowDriver driver("frmFolderEdit", [&](QWidget *w) {
        auto *box = w->findChild<QLineEdit *>("txtFILOTO");
        box->setFocus();
        QTest::keyClicks(box, "o'neil");
        w->findChild<QPushButton *>("cmdSave")->click();
    });
    zorva_folder_edit(folder, 2009, "CV", 123, "CLERK1");
    EXPECT_EQ(zorva_folder_parent_handle(folder), 31337);
    // The docket window is modal, closed here by Cancel; the batch window and the locator are not.
    WindowDriver docket("frmFolderDocket", [](QWidget *w) { w->findChild<QPushButton *>("cmdCancel")->click(); });
    zorva_folder_update_batch(folder, "CLERK1");
    EXPECT_TRUE(docket.Ran());
    zorva_folder_edit_batch(folder, "CLERK1");
    zorva_folder_locate(folder, "CLERK1");
    for (const char *name : {"frmFolderBatch", "frmFolderLocate"}) {
        QWidget *w = WindowDriver::Find(name);
        ASSERT_NE(w, nullptr) << name;
        w->close();
    }
    zorva_folder_destroy(folder);
    QTest::qWait(50);

    EXPECT_EQ(world.Scalar("SELECT FILOTO FROM MRLCRT.FILCHK").toString(), "O'NEIL");
    EXPECT_EQ(received.join(QString()), "SAVE\n");
    // The settings are named after the loaded module, ZORVAFolders.so.
    EXPECT_TRUE(QFileInfo::exists(world.Path("settings/Venholt Dedezirive, Ltd/ZORVAFolders.ini")));
}

} // namespace
