#pragma once

#include "shared/FormBase.h"

#include "LocateLists.h"

#include <functional>

class AgeChart;
class AlphaMericBox;
class LaterSteps;
class Combo;
class DatePicker;
class LocateQueries;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTabWidget;
class QTableView;

// The folder locator: where a case's folder is and where it has been, what one holder has, which
// folders a docket needs pulled, and which have been out too long. It reads the court and writes
// nothing; a loan is changed only through the editor it opens. Modeless; the clerk closes it.
class frmFolderLocate : public FormBase
{
    Q_OBJECT
public:
    enum View { CaseView, HolderView, PullView, OverdueView };

    explicit frmFolderLocate(QWidget *parent = nullptr);
    ~frmFolderLocate() override;

    // Opens the loan editor for a case; the component hands in its own Edit.
    void SetEditor(std::function<void(const CaseKey &)> edit) { m_edit = std::move(edit); }
    void Load();

    void reject() override { close(); }

protected:
    void showEvent(QShowEvent *e) override;
    const QWidget *CloseIndicator() const override;
    void Form_Activate() override;
    void Form_Unload() override;

private:
    QWidget *BuildCasePage();
    QWidget *BuildHolderPage();
    QWidget *BuildPullPage();
    QWidget *BuildOverduePage();
    QTableView *Grid(const char *name, View view);
    void Fill(View view, const LocateLists::List &shown);

    void FindCase();
    void ShowCase(CaseKey key, bool all); // a copy: the shown case is forgotten first
    void FindHolder();
    void FindPull();
    void FindOverdue(bool all = false);
    // The pull list's next page, or its next titles; true when the list is whole.
    bool PullMore();
    void cmdEdit_Click();
    void cmdShowAll_Click();
    void cmdPrint_Click();
    void cmdPdf_Click();
    void cmdCsv_Click();
    void cmdLabels_Click();
    void ReportNotSaved(const QString &path, const QString &error);
    void DataObject_Error();
    View Current() const;

    std::function<void(const CaseKey &)> m_edit;
    LocateQueries *m_queries = nullptr;
    LaterSteps *m_later = nullptr;
    DocketSelection m_pullSelection;
    QList<LocateQueries::Pull> m_pulls; // the pull list shown, titled up to m_titled
    qsizetype m_pullsRead = -1;         // the hearings read so far; -1 when the day is read
    qsizetype m_titled = 0;
    bool m_loaded = false;
    std::optional<CaseKey> m_shownCase;
    bool m_wholeHistory = false; // the case view shows every entry, not the latest
    QStandardItemModel *m_lists[4] = {};
    QTableView *m_grids[4] = {};
    QString m_headings[4];

    QTabWidget *tabViews = nullptr;
    AlphaMericBox *txtCASNUM = nullptr;
    QLabel *lblLocation = nullptr;
    QPushButton *cmdEdit = nullptr;
    QPushButton *cmdShowAll = nullptr;
    AlphaMericBox *txtREQOTO = nullptr;
    DatePicker *dtpREQDAT = nullptr;
    AlphaMericBox *txtBEGTIM = nullptr;
    AlphaMericBox *txtENDTIM = nullptr;
    Combo *cboREQJDG = nullptr;
    Combo *cboREQROM = nullptr;
    AlphaMericBox *txtREQBRN = nullptr;
    AlphaMericBox *txtDAYS = nullptr;
    AgeChart *picAges = nullptr;
    QLabel *lblAges = nullptr;
    QPushButton *cmdAllOverdue = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdPdf = nullptr;
    QPushButton *cmdCsv = nullptr;
    QPushButton *cmdLabels = nullptr;
    QPushButton *cmdClose = nullptr;
    QWidget *m_nothingPending = nullptr;
};
