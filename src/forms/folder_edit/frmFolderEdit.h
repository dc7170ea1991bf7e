#pragma once

#include <functional>

#include "shared/FormBase.h"

#include <QPointer>
#include <QTimer>

class AlphaMericBox;
class DataLabel;
class DataObject;
class MailSlot;
class QAction;
class QLabel;
class QPushButton;
class Transaction;

// The folder loan editor: shows whether one case's folder is on loan and lets the clerk record,
// change or end the loan. Every action ends by closing the window; a save is announced to the
// host with "SAVE".
class frmFolderEdit : public FormBase
{
    Q_OBJECT
public:
    explicit frmFolderEdit(QWidget *parent = nullptr);
    ~frmFolderEdit() override;

    // Plain inputs: handing them over does not load the window.
    void SetCaseYear(qint16 year) { m_year = year; }
    void SetCaseType(const QString &type) { m_type = type; }
    void SetCaseSequence(qint32 sequence) { m_sequence = sequence; }
    void SetUserName(const QString &user) { m_user = user; }

    // Writing the handle touches the message channel, which loads the window first.
    qint32 ParentHandle() const { return m_parentHandle; }
    void SetParentHandle(qint32 handle);

    // True, after telling the clerk, when the loaned-to box is blank.
    bool ScreenHasErrors();

    // Escape presses nothing here; every close goes through close() and its guard.
    void reject() override {}

protected:
    void showEvent(QShowEvent *e) override;
    const QWidget *CloseIndicator() const override;
    void Form_Activate() override;
    void Form_Unload() override;

private:
    // A loan as the court holds it: what the window showed, or what a look-up found.
    struct Loan
    {
        bool onLoan = false;
        QString party, date, user;
        bool operator==(const Loan &) const = default;
    };

    void BuildControls();
    void BuildMenus();
    void Form_Load();
    // The loan adoFILCHK stands on (none at its end).
    Loan ReadLoan() const;
    void ShowLoan(const Loan &loan);
    // Looks the loan up again inside the change's transaction; true when it is as shown. Else
    // nothing is changed: the clerk is told what the folder's state is now, and sees it.
    bool StillAsShown(Transaction &change, const QString &nothingDone);

    void cmdSave_Click();
    void cmdDelete_Click();
    // Runs the save's or delete's statement and logs it, both in the change's transaction.
    void LoggedChange(Transaction &change, const std::function<void()> &statement, bool checkedOut);
    void txtFILOTO_Edited();
    void mnuLogging_Click(QAction *clicked, QAction *other);
    void adoFILCHK_Error();
    void tmrUnload_Timer();

    QString SettingsSection() const;

    qint16 m_year = 0;
    QString m_type;
    qint32 m_sequence = 0;
    QString m_user;
    qint32 m_parentHandle = 0;

    bool m_loaded = false;
    Loan m_shown;

    AlphaMericBox *txtFILOTO = nullptr;
    DataLabel *lblFILUDT = nullptr;
    DataLabel *lblFILUSR = nullptr;
    QLabel *lblStatus = nullptr;
    QLabel *lblCaseNumber = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdDelete = nullptr;
    QAction *mnuAppEditPreferencesLoggingAuto = nullptr;
    QAction *mnuAppEditPreferencesLoggingManual = nullptr;
    QTimer *tmrUnload = nullptr;
    MailSlot *mailslot = nullptr;
    QPointer<DataObject> adoFILCHK;
};
