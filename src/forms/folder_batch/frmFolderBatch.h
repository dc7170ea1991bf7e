#pragma once

#include "shared/FormBase.h"
#include "shared/controls/ScannerInput.h"

#include <QPointer>
#include <QString>
#include <QStringList>

class AlphaMericBox;
class DataObject;
class FlexGrid;
class OptionButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QContextMenuEvent;
struct CaseKey;

// The batch window: the clerk types (or pastes, or scans) case numbers into a grid, sees each
// case's title and holder, and checks the listed folders out to one party or back in. It is
// modeless and stays open after a run, keeping the rows whose folders could not be changed.
//
// Scanning: a scanner that types a case number and Enter ("2009-CV-123", "2009 CV 123" or
// "2009CV000123") into the entry row fills that row as if the three cells had been typed. The
// characters are collected as typed, before the cells' key filters, and read as a whole when Enter
// comes at a scanner's pace; a clerk's own typing follows the grid's rules.
class frmFolderBatch : public FormBase
{
    Q_OBJECT
public:
    explicit frmFolderBatch(QWidget *parent = nullptr);
    ~frmFolderBatch() override;

    void SetUserName(const QString &user) { m_user = user; }
    // Caption, data objects, grid and lists, before the window is first shown.
    void Load();

    // Escape asks to close, through the guard; a list not yet run is not dropped by a stray Escape.
    void reject() override;

    // Fills one row per case number of text (one a line, or three tab-separated cells), as if
    // typed at the entry row; lines that are not case numbers are reported once.
    void PasteCases(const QString &text);

protected:
    void showEvent(QShowEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    const QWidget *CloseIndicator() const override;
    void Form_Activate() override;
    void Form_Unload() override;

private:
    void BuildControls();
    void AddEntryRow();
    void SetPartyState();
    void LookupCaseRow(int row);
    bool InputHasErrors();
    void cmdRun_Click();
    void DataObject_Error(DataObject *source);

    // The grid's six notifications.
    void grd_BeforeRowColChange(int oldRow, int oldCol, int newRow, int newCol, bool &cancel);
    void grd_BeforeEdit(int row, int col, bool &cancel);
    void grd_KeyPressEdit(int row, int col, int &key);
    void grd_KeyUpEdit(int row, int col, int keyCode, int shift);
    void grd_ChangeEdit();
    void grd_AfterEdit(int row, int col);

    int Col(const char *key) const;
    bool IsComplete(int row) const;
    void SetTitle(int row, const QString &title);
    bool HasUnrunRows() const;
    void FitColumns();
    void DeleteRow(int row);
    void Paste(const QString &text);
    void PasteIntoCell(const QString &text);
    void EnterWhole(int row, const CaseKey &key);
    void ShowContextMenu(QWidget *target, QContextMenuEvent *e);
    bool ShowWhy(QObject *watched, QEvent *e);
    void CancelCellEdit();
    void EnterCase(int row, const CaseKey &key);
    bool ScannedEnter(qint64 msecs);

    QString m_user;
    bool m_loaded = false;

    QGroupBox *fraOutput = nullptr;
    OptionButtonGroup *optAction = nullptr;
    QLabel *lblCheckOutTo = nullptr;
    AlphaMericBox *txtCheckOutTo = nullptr;
    FlexGrid *grd = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdRun = nullptr;
    QPointer<DataObject> adoFILCHK;
    QPointer<DataObject> adoMASTER;

    // What has been typed into the case cells of one row, unfiltered, and at what pace.
    ScannerInput m_scanner;
    int m_scanRow = -1;
    qint64 m_keyTime = 0; // when the key being handled was made
    bool m_advancing = false; // the cursor moves on by itself from a full cell
    // Why each data row was left by the last run (empty once the row changes), by row - FixedRows.
    QStringList m_why;
};
