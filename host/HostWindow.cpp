#include "HostWindow.h"

#include "HostOptions.h"
#include "records/CaseKey.h"
#include "shared/controls/ScanBox.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPushButton>
#include <QTime>
#include <QVBoxLayout>

namespace {

QPushButton *Button(const QString &text, const char *name)
{
    auto *button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    // A focused button takes Enter itself (a main window has no default button to pass it to);
    // Enter in the case box opens the editor.
    button->setAutoDefault(true);
    return button;
}

} // namespace

HostWindow::HostWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmHost"));
    setWindowTitle(QStringLiteral("ZORVA Folders — demo host"));

    m_case = new QLineEdit;
    m_case->setObjectName(QStringLiteral("txtCase"));
    m_case->setPlaceholderText(QStringLiteral("2009-CV-123"));
    m_caseMessage = new QLabel;
    m_caseMessage->setObjectName(QStringLiteral("lblCaseMessage"));
    m_caseMessage->setWordWrap(true);
    m_caseMessage->setStyleSheet(QStringLiteral("color: #b00020;"));
    m_caseMessage->hide();
    m_user = new QLineEdit(DefaultUserName(qEnvironmentVariable("USER"), qEnvironmentVariable("LOGNAME")));
    m_user->setObjectName(QStringLiteral("txtUser"));
    m_edit = Button(QStringLiteral("&Edit folder…"), "cmdEdit");
    QPushButton *docket = Button(QStringLiteral("&Docket…"), "cmdDocket");
    QPushButton *batch = Button(QStringLiteral("&Batch…"), "cmdBatch");
    QPushButton *locate = Button(QStringLiteral("&Locate…"), "cmdLocate");
    m_messages = new QListWidget;
    m_messages->setObjectName(QStringLiteral("lstMessages"));

    auto *caseRow = new QHBoxLayout;
    caseRow->addWidget(m_case, 1);
    caseRow->addWidget(m_edit);
    auto *form = new QFormLayout;
    auto *caseLabel = new QLabel(QStringLiteral("&Case number:"));
    caseLabel->setBuddy(m_case);
    form->addRow(caseLabel, caseRow);
    form->addRow(QString(), m_caseMessage);
    auto *userLabel = new QLabel(QStringLiteral("&User:"));
    userLabel->setBuddy(m_user);
    form->addRow(userLabel, m_user);
    auto *batchRow = new QHBoxLayout;
    batchRow->addWidget(docket);
    batchRow->addWidget(batch);
    batchRow->addWidget(locate);
    batchRow->addStretch(1);
    auto *messagesLabel = new QLabel(QStringLiteral("&Messages from the component:"));
    messagesLabel->setBuddy(m_messages);

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addLayout(form);
    layout->addLayout(batchRow);
    layout->addWidget(messagesLabel);
    layout->addWidget(m_messages, 1);
    setCentralWidget(central);
    resize(480, 360);

    connect(m_edit, &QPushButton::clicked, this, &HostWindow::EditCase);
    connect(m_case, &QLineEdit::returnPressed, this, &HostWindow::EditCase);
    ScanBox::Install(m_case); // a scanned label opens its case, whatever the box held
    connect(m_case, &QLineEdit::textEdited, m_caseMessage, &QLabel::hide);
    connect(m_user, &QLineEdit::textEdited, m_caseMessage, &QLabel::hide);
    connect(docket, &QPushButton::clicked, this, &HostWindow::UpdateBatch);
    connect(batch, &QPushButton::clicked, this, &HostWindow::EditBatch);
    connect(locate, &QPushButton::clicked, this, &HostWindow::Locate);

    // The component knows the host only by this number; it must be the one the channel uses.
    m_handle = static_cast<qint32>(winId());
    m_folder.SetParentHandle(m_handle);
    Listen();
}

QString HostWindow::ServerName() const
{
    return QStringLiteral("ZORVA.MailSlot.") + QString::number(m_handle);
}

HostWindow::~HostWindow()
{
    // The channel goes first, while the window can still take the last lines its senders'
    // disconnections deliver.
    delete m_server;
}

void HostWindow::SetCaseNumber(const QString &text)
{
    m_case->setText(text);
    m_caseMessage->hide();
}

void HostWindow::Listen()
{
    m_server = new QLocalServer(this);
    const QString name = ServerName();
    if (!m_server->listen(name) && m_server->serverError() == QAbstractSocket::AddressInUseError) {
        // A host that crashed leaves its socket file behind; only a live one answers.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (!probe.waitForConnected(500)) {
            QLocalServer::removeServer(name);
            m_server->listen(name);
        }
    }
    if (!m_server->isListening()) {
        Log(QStringLiteral("Not listening on %1: %2").arg(name, m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadLines(socket, false); });
            connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
                ReadLines(socket, true);
                socket->deleteLater();
            });
            // The sender may have written and gone before we got here.
            ReadLines(socket, socket->state() != QLocalSocket::ConnectedState);
        }
    });
}

void HostWindow::ReadLines(QLocalSocket *socket, bool flush)
{
    while (socket->canReadLine())
        Log(QString::fromUtf8(socket->readLine()).chopped(1));
    // A sender that went away mid-line still said something.
    if (flush && socket->bytesAvailable() > 0)
        Log(QString::fromUtf8(socket->readAll()));
}

void HostWindow::Log(const QString &line)
{
    QString text = line;
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    m_messages->addItem(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ") +
                        text);
    m_messages->scrollToBottom();
}

bool HostWindow::UserMissing()
{
    if (!m_user->text().trimmed().isEmpty())
        return false;
    // Every loan record carries the user; an empty one would be recorded as nobody.
    m_caseMessage->setText(QStringLiteral("Type the user name: every loan records who made it."));
    m_caseMessage->show();
    m_user->setFocus();
    return true;
}

void HostWindow::EditCase()
{
    const std::optional<CaseKey> key = CaseKey::Parse(m_case->text());
    if (!key) {
        m_caseMessage->setText(CaseNumberProblem(m_case->text()));
        m_caseMessage->show();
        m_case->setFocus();
        m_case->selectAll();
        return;
    }
    if (UserMissing())
        return;
    m_caseMessage->hide();
    m_folder.Edit(key->year, key->type, key->sequence, m_user->text().trimmed());
    m_case->setFocus();
    m_case->selectAll();
}

void HostWindow::UpdateBatch()
{
    if (!UserMissing())
        m_folder.UpdateBatch(m_user->text().trimmed());
}

void HostWindow::EditBatch()
{
    if (!UserMissing())
        m_folder.EditBatch(m_user->text().trimmed());
}

void HostWindow::Locate()
{
    if (!UserMissing())
        m_folder.Locate(m_user->text().trimmed());
}
