#include "shared/controls/MailSlot.h"

#include "QtPrinters.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <gtest/gtest.h>

namespace {

// The host's side: listens on its window handle and reads one connection to its end.
struct Host
{
    QLocalServer server;
    explicit Host(qint32 handle)
    {
        QLocalServer::removeServer(MailSlot::ServerNameFor(handle));
        EXPECT_TRUE(server.listen(MailSlot::ServerNameFor(handle))) << server.errorString().toStdString();
    }
    QByteArray Received()
    {
        if (!server.waitForNewConnection(2000))
            return "nothing";
        QLocalSocket *socket = server.nextPendingConnection();
        while (socket->state() == QLocalSocket::ConnectedState && socket->waitForReadyRead(2000))
            continue;
        const QByteArray bytes = socket->readAll();
        delete socket;
        return bytes;
    }
};

TEST(MailSlot, TheHostOfThatHandleReceivesEachMessageAsOneLine)
{
    const struct { QString message; QByteArray line; } cases[] = {
        {"SAVE", "SAVE\n"}, {"", "\n"}, {"two\nlines\r\nhere", "two lines here\n"}, {"O'NEIL \u00c4", "O'NEIL \xc3\x84\n"}};
    // A handle no other test run on this machine is likely to use.
    const qint32 handle = qint32(QCoreApplication::applicationPid() % 1000000) * 10;
    Host host(handle);
    Host other(handle + 1);
    MailSlot slot;
    slot.SetParentWindow(handle);
    for (const auto &c : cases) {
        EXPECT_TRUE(slot.Send(c.message));
        EXPECT_EQ(host.Received(), c.line) << c.message.toStdString();
    }
    EXPECT_FALSE(other.server.hasPendingConnections());
    // Nobody listening: the message is dropped, and Send says so.
    slot.SetParentWindow(handle + 2);
    EXPECT_FALSE(slot.Send("SAVE"));
    // A host that takes the connection but never reads: the window waits no longer than the timeout.
    slot.SetParentWindow(handle + 1);
    slot.SetTimeout(200);
    EXPECT_FALSE(slot.Send(QString(8 << 20, 'x')));
}

} // namespace
