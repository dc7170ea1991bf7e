#pragma once

#include "DocketSelection.h"

#include "shared/FormBase.h"

#include <QPointer>

class AlphaMericBox;
class Combo;
class DataObject;
class DatePicker;
class DocketRun;
class OptionButtonGroup;
class QLabel;
class QPushButton;

// The docket window: the clerk picks a hearing date and, optionally, a time range, a judge, a
// room and a branch, chooses whether the folders go out or come back, and runs it over every
// case heard on that docket. The window closes itself after a run.
class frmFolderDocket : public FormBase
{
    Q_OBJECT
public:
    explicit frmFolderDocket(QWidget *parent = nullptr);
    ~frmFolderDocket() override;

    void SetUserName(const QString &user) { m_user = user; }
    // Caption, lists and the remembered selection, before the window is first shown (a missing
    // reference table is reported here, not from inside the showing).
    void Load();

    // Escape asks to close, through the guard.
    void reject() override { close(); }

protected:
    void showEvent(QShowEvent *e) override;
    const QWidget *CloseIndicator() const override;
    void Form_Activate() override;
    void Form_Unload() override;

private:
    void BuildControls();

    void SetPartyState();
    bool RunAllowed();
    // Check-out to one judge needs a party: the box empty once blanks are trimmed.
    bool PartyMissing() const;
    void UpdateRunButton();
    bool ScreenHasErrors();
    DocketSelection Selection() const;

    void cmdRun_Click();
    void DataObject_Error(DataObject *source);

    QString m_user;
    bool m_loaded = false;

    DatePicker *dtpREQDAT = nullptr;
    AlphaMericBox *txtBEGTIM = nullptr;
    AlphaMericBox *txtENDTIM = nullptr;
    Combo *cboREQJDG = nullptr;
    Combo *cboREQROM = nullptr;
    AlphaMericBox *txtREQBRN = nullptr;
    OptionButtonGroup *optAction = nullptr;
    QLabel *lblREQOTO = nullptr;
    AlphaMericBox *txtREQOTO = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdRun = nullptr;
    QPointer<DocketRun> m_run; // lives only during a run, with its three data objects
};
