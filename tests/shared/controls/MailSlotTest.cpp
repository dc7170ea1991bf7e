#include "shared/controls/MailSlot.h"
#include "ControlWarnings.h"

#include "QtPrinters.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A handle no other test run on this machine is likely to use.
qint32 TestHandle(int offset)
{
    return static_cast<qint32>(QCoreApplication::applicationPid() % 1000000) * 10 + offset;
}

// The host's side: listens on its handle and collects what each connection carried.
class Host
{
public:
    explicit Host(qint32 handle)
    {
        const QString name = MailSlot::ServerNameFor(handle);
        QLocalServer::removeServer(name);
        EXPECT_TRUE(m_server.listen(name)) << m_server.errorString().toStdString();
    }

    // The bytes of every connection made so far, one entry per connection.
    QList<QByteArray> Received()
    {
        QList<QByteArray> messages;
        while (m_server.hasPendingConnections() || m_server.waitForNewConnection(200)) {
            QLocalSocket *socket = m_server.nextPendingConnection();
            if (!socket)
                break;
            QByteArray bytes;
            QElapsedTimer clock;
            clock.start();
            while (socket->state() == QLocalSocket::ConnectedState && clock.elapsed() < 2000) {
                socket->waitForReadyRead(100);
                bytes += socket->readAll();
            }
            bytes += socket->readAll();
            messages << bytes;
            delete socket;
        }
        return messages;
    }

private:
    QLocalServer m_server;
};


TEST(MailSlot, ServerNameCarriesTheHandle)
{
    const struct
    {
        qint32 handle;
        QString name;
    } cases[] = {{123, QStringLiteral("ZORVA.MailSlot.123")},
                 {0, QStringLiteral("ZORVA.MailSlot.0")},
                 {-5, QStringLiteral("ZORVA.MailSlot.-5")},
                 {2147483647, QStringLiteral("ZORVA.MailSlot.2147483647")}};
    for (const auto &c : cases) {
        MailSlot slot;
        slot.SetParentWindow(c.handle);
        EXPECT_EQ(slot.ParentWindow(), c.handle);
        EXPECT_EQ(slot.ServerName(), c.name);
        EXPECT_EQ(MailSlot::ServerNameFor(c.handle), c.name);
    }
}

TEST(MailSlot, HostReceivesEachMessageAsOneLine)
{
    const struct
    {
        QString message;
        QByteArray line;
    } cases[] = {
        {QStringLiteral("SAVE"), "SAVE\n"},
        {QString(), "\n"},
        {QStringLiteral("two\nlines\r\nhere"), "two lines here\n"},
        {QStringLiteral("O'NEIL \u00c4"), "O'NEIL \xc3\x84\n"},
    };
    const qint32 handle = TestHandle(1);
    Host host(handle);
    MailSlot slot;
    slot.SetParentWindow(handle);
    for (const auto &c : cases) {
        EXPECT_TRUE(slot.Send(c.message));
        EXPECT_EQ(host.Received(), QList<QByteArray>{c.line}) << c.message.toStdString();
    }
}

TEST(MailSlot, OnlyTheHostWithThatHandleHearsIt)
{
    Host mine(TestHandle(2));
    Host other(TestHandle(3));
    MailSlot slot;
    slot.SetParentWindow(TestHandle(2));
    EXPECT_TRUE(slot.Send(QStringLiteral("SAVE")));
    EXPECT_TRUE(slot.Send(QStringLiteral("SAVE")));
    EXPECT_EQ(mine.Received(), (QList<QByteArray>{"SAVE\n", "SAVE\n"}));
    EXPECT_TRUE(other.Received().isEmpty());
}

TEST(MailSlot, WithoutAListenerTheMessageIsDroppedAtOnce)
{
    const qint32 handle = TestHandle(4);
    QLocalServer::removeServer(MailSlot::ServerNameFor(handle));
    {
        // A host that has gone away leaves nothing listening.
        Host gone(handle);
    }
    for (int timeout : {2000, 0}) {
        ControlWarnings warnings;
        MailSlot slot;
        slot.SetParentWindow(handle);
        slot.SetTimeout(timeout);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(slot.Send(QStringLiteral("SAVE")));
        EXPECT_LT(clock.elapsed(), 500) << timeout;
        EXPECT_EQ(warnings.Lines().size(), 1) << timeout;
    }
}

} // namespace
