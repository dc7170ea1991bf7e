#pragma once

#include <QObject>
#include <QString>

// The message channel to the host window. The host listens on a local server named
// "ZORVA.MailSlot.<handle>" (its window handle, in decimal); Send writes one message to it as
// one line of UTF-8 text ending in "\n" and closes the connection.
//
// As with a mail slot, the sender is not told whether anyone read the message: with no listener
// the message is dropped and a warning logged (category "zorva.controls"). Every wait is
// bounded, so a host that does not answer cannot hang the window.
class MailSlot : public QObject
{
    Q_OBJECT
public:
    explicit MailSlot(QObject *parent = nullptr);

    void SetParentWindow(qint32 handle) { m_parentWindow = handle; }

    QString ServerName() const { return ServerNameFor(m_parentWindow); }
    static QString ServerNameFor(qint32 handle);

    // The longest a Send waits, in milliseconds, for the connection and for the write together.
    int Timeout() const { return m_timeoutMs; }
    void SetTimeout(int milliseconds) { m_timeoutMs = qMax(0, milliseconds); }

    // Line breaks inside message become blanks, so that it stays one message. Returns whether
    // the whole line was handed to a listener.
    bool Send(const QString &message);

private:
    qint32 m_parentWindow = 0;
    int m_timeoutMs = 2000;
};
