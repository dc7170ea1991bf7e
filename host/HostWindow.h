#pragma once

#include <QMainWindow>

#include "clsFolder.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QLocalServer;
class QLocalSocket;
class QPushButton;

// The demo host: a clerk types a case number and opens the folder loan editor, or opens the
// docket and batch windows, and watches what the component sends back on the message channel.
class HostWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit HostWindow(QWidget *parent = nullptr);
    ~HostWindow() override;

    // The handle given to the component; the message channel is named after it.
    qint32 Handle() const { return m_handle; }
    QString ServerName() const;

    void SetCaseNumber(const QString &text);

public slots:
    // Opens the editor for the case in the case box, or says under the box why it cannot.
    void EditCase();
    void UpdateBatch();
    void EditBatch();
    void Locate();

private:
    void Listen();
    void ReadLines(QLocalSocket *socket, bool flush);
    void Log(const QString &line);
    bool UserMissing();

    qint32 m_handle = 0;
    clsFolder m_folder;

    QLineEdit *m_case = nullptr;
    QLabel *m_caseMessage = nullptr;
    QLineEdit *m_user = nullptr;
    QPushButton *m_edit = nullptr;
    QListWidget *m_messages = nullptr;
    QLocalServer *m_server = nullptr;
};
