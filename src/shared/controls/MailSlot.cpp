#include "shared/controls/MailSlot.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcSlot, "zorva.controls")
}

MailSlot::MailSlot(QObject *parent) : QObject(parent) {}

QString MailSlot::ServerNameFor(qint32 handle)
{
    return QStringLiteral("ZORVA.MailSlot.") + QString::number(handle);
}

bool MailSlot::Send(const QString &message)
{
    QString line = message;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray bytes = line.toUtf8() + '\n';

    const QDeadlineTimer deadline(m_timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(ServerName(), QIODevice::WriteOnly);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
        qCWarning(lcSlot).noquote() << "Message" << line << "dropped: no listener on" << ServerName() << "-"
                                    << socket.errorString();
        socket.abort();
        return false;
    }

    socket.write(bytes);
    while (socket.bytesToWrite() > 0 && !deadline.hasExpired())
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            break;
    const bool written = socket.bytesToWrite() == 0;
    if (!written) {
        qCWarning(lcSlot).noquote() << "Message" << line << "dropped: the listener on" << ServerName()
                                    << "did not take it in time";
        socket.abort();
        return false;
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(static_cast<int>(deadline.remainingTime()));
    return true;
}
