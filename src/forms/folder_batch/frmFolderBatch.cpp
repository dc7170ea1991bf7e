#include "frmFolderBatch.h"

#include "BatchGrid.h"
#include "BatchLookup.h"
#include "BatchRun.h"
#include "modEliminateKeystroke.h"
#include "records/DataObject.h"
#include "records/FolderStatements.h"
#include "shared/ComponentName.h"
#include "shared/SettingsStore.h"
#include "shared/Twips.h"
#include "shared/WriteRefusal.h"
#include "shared/controls/AlphaMericBox.h"
#include "shared/controls/FlexGrid.h"
#include "shared/controls/OptionButtonGroup.h"
#include "shared/controls/ScannerInput.h"
#include "shared/modFormFunctions.h"
#include "shared/modScreenPos.h"
#include "shared/modSetGridDefaultColor.h"
#include "shared/modXMLTableFunctions.h"
#include "shared/modXMLTableFunctionsPaths.h"

#include <QApplication>
#include <QDate>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>

#include <algorithm>

using namespace BatchGrid;

namespace {

const QString Out = QStringLiteral("*OUT");
const QString In = QStringLiteral("*IN");
// The editor's section holds the logging preference that every run follows.
const QString LoggingSection = QStringLiteral("FolderEdit");

// The window's inner area and the grid's place in it, as designed; the grid takes any more room.
constexpr int DesignWidth = 7452, DesignHeight = 6948;
constexpr int HolderWidth = 960;
// A title that is not a case of the court stands out in red.
constexpr qint32 ErrorForeColor = 0x0000FF;

// The party box's emptiness test trims blanks only: a tab or a line break is text.
QString TrimBlanks(const QString &text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

} // namespace

frmFolderBatch::frmFolderBatch(QWidget *parent) : FormBase(parent)
{
    setObjectName(QStringLiteral("frmFolderBatch"));
    BuildControls();
    // Paste and the scanner's Enter reach the grid's editor before the grid sees them.
    qApp->installEventFilter(this);
}

frmFolderBatch::~frmFolderBatch() = default;

void frmFolderBatch::BuildControls()
{
    resize(Twips::Size(DesignWidth, DesignHeight));

    fraOutput = new QGroupBox(tr("Output"), this);
    fraOutput->setObjectName(QStringLiteral("fraOutput"));
    fraOutput->setGeometry(Twips::Rect(120, 120, 7215, 1875));

    optAction = new OptionButtonGroup(fraOutput);
    optAction->setObjectName(QStringLiteral("optAction"));
    optAction->AddButton(tr("Check folders out"), Out);
    optAction->AddButton(tr("Check folders in"), In);
    // Each button has its own place in the frame; the group only reads them as one value.
    for (int i = 0; i < optAction->Count(); ++i) {
        QRadioButton *button = optAction->Button(i);
        button->setParent(fraOutput);
        button->setGeometry(Twips::Rect(360, i == 0 ? 480 : 840, 2175, 345));
        button->show();
    }
    optAction->hide();

    txtCheckOutTo = new AlphaMericBox(fraOutput);
    txtCheckOutTo->setObjectName(QStringLiteral("txtCheckOutTo"));
    txtCheckOutTo->SetCaseType(AlphaMericBox::CaseUpper);
    txtCheckOutTo->SetMaxLength(13);
    txtCheckOutTo->SetRecordSource(QLatin1String(FolderStatements::PartySuggestions));
    txtCheckOutTo->setGeometry(Twips::Rect(2400, 1320, 1695, 345));

    lblCheckOutTo = new QLabel(tr("Check out to:"), fraOutput);
    lblCheckOutTo->setObjectName(QStringLiteral("lblCheckOutTo"));
    lblCheckOutTo->setBuddy(txtCheckOutTo);
    // Wider than designed: today's fonts need more than the 1095 twips the caption once took.
    lblCheckOutTo->setGeometry(Twips::Rect(405, 1320, 1905, 345));
    lblCheckOutTo->setEnabled(false);

    grd = new FlexGrid(this);
    grd->SetAccessibleName(tr("Case numbers"));
    grd->setObjectName(QStringLiteral("grd"));
    grd->setToolTip(tr("Enter the case numbers to which you wish to copy in this grid."));
    grd->setGeometry(Twips::Rect(120, 2160, 7215, 3735));
    grd->setFixedRows(1);
    grd->setCols(5);
    grd->setRows(1);
    grd->setEditable(FlexGrid::EditKeyboardMouse);
    const struct
    {
        const char *key;
        QString header;
        int width;
    } columns[] = {{WRKYER, tr("Case"), 645},
                   {WRKTYP, QString(), 555},
                   {WRKSEQ, QString(), 825},
                   {WRKNAM, tr("Title"), 3000},
                   {WRKOTO, tr("Checked Out"), HolderWidth}};
    for (int c = 0; c < 5; ++c) {
        grd->setColKey(c, QLatin1String(columns[c].key));
        grd->setTextMatrix(0, c, columns[c].header);
        grd->setColWidth(c, columns[c].width);
    }

    cmdCancel = new QPushButton(tr("&Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(Twips::Rect(120, 6000, 7215, 345));
    cmdRun = new QPushButton(tr("&Run"), this);
    cmdRun->setObjectName(QStringLiteral("cmdRun"));
    cmdRun->setGeometry(Twips::Rect(120, 6480, 7215, 345));
    cmdRun->setToolTip(tr("Click this button to execute the copy request"));
    cmdRun->setEnabled(false);
    // Enter in the grid commits a cell and reaches no button; a focused button takes it itself.
    for (QPushButton *button : {cmdCancel, cmdRun})
        button->setAutoDefault(false);

    setTabOrder(optAction->Button(0), optAction->Button(1));
    setTabOrder(optAction->Button(1), txtCheckOutTo);
    setTabOrder(txtCheckOutTo, grd);
    setTabOrder(grd, cmdCancel);
    setTabOrder(cmdCancel, cmdRun);

    connect(optAction, &OptionButtonGroup::Click, this, [this] { SetPartyState(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdRun, &QPushButton::clicked, this, &frmFolderBatch::cmdRun_Click);
    connect(grd, &FlexGrid::BeforeRowColChange, this, &frmFolderBatch::grd_BeforeRowColChange);
    connect(grd, &FlexGrid::BeforeEdit, this, &frmFolderBatch::grd_BeforeEdit);
    connect(grd, &FlexGrid::KeyPressEdit, this, &frmFolderBatch::grd_KeyPressEdit);
    connect(grd, &FlexGrid::KeyUpEdit, this, &frmFolderBatch::grd_KeyUpEdit);
    connect(grd, &FlexGrid::ChangeEdit, this, &frmFolderBatch::grd_ChangeEdit);
    connect(grd, &FlexGrid::AfterEdit, this, &frmFolderBatch::grd_AfterEdit);
}

int frmFolderBatch::Col(const char *key) const { return grd->ColIndex(QLatin1String(key)); }

namespace {

// The grid's width for its cells, a vertical scroll bar always allowed for.
int CellsWidth(const FlexGrid *grid)
{
    const auto *view = grid->findChild<QTableView *>();
    return grid->width() - 2 * view->frameWidth() - grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

// What the "Checked Out" column needs at today's font: its header, or a party of full length.
int HolderNeeds(const FlexGrid *grid, const QString &header)
{
    const QFontMetrics metrics = grid->fontMetrics();
    const int text = std::max(metrics.horizontalAdvance(header), metrics.horizontalAdvance(QString(13, QLatin1Char('D'))));
    return std::max(HolderWidth, (text + 2 * metrics.averageCharWidth()) * Twips::PerPixel);
}

} // namespace

void frmFolderBatch::resizeEvent(QResizeEvent *e)
{
    FormBase::resizeEvent(e);
    // Beyond its minimum the window's room goes to the grid; the buttons stay under it.
    const int dx = std::max(0, width() - Twips::Size(DesignWidth, DesignHeight).width());
    const int dy = std::max(0, height() - Twips::Size(DesignWidth, DesignHeight).height());
    fraOutput->setGeometry(Twips::Rect(120, 120, 7215, 1875).adjusted(0, 0, dx, 0));
    grd->setGeometry(Twips::Rect(120, 2160, 7215, 3735).adjusted(0, 0, dx, dy));
    cmdCancel->setGeometry(Twips::Rect(120, 6000, 7215, 345).translated(0, dy).adjusted(0, 0, dx, 0));
    cmdRun->setGeometry(Twips::Rect(120, 6480, 7215, 345).translated(0, dy).adjusted(0, 0, dx, 0));
    FitColumns();
}

void frmFolderBatch::FitColumns()
{
    // Every column keeps its design width; the last one takes what is left of the grid.
    int others = 0;
    for (int c = 0; c < grd->Cols(); ++c)
        others += c == Col(WRKOTO) ? 0 : grd->ColWidth(c);
    const int holder = HolderNeeds(grd, grd->TextMatrix(0, Col(WRKOTO)));
    grd->setColWidth(Col(WRKOTO), std::max(holder, CellsWidth(grd) * Twips::PerPixel - others));
}

void frmFolderBatch::showEvent(QShowEvent *e)
{
    if (!m_loaded)
        Load();
    FormBase::showEvent(e);
}

void frmFolderBatch::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    setWindowTitle(QStringLiteral("PC/MEVS") + QStringLiteral(" - ") + QStringLiteral("Batch Folder Update"));
    adoFILCHK = new DataObject(this);
    adoMASTER = new DataObject(this);
    for (DataObject *data : {adoFILCHK.data(), adoMASTER.data()})
        connect(data, &DataObject::Error, this, [this, data] { DataObject_Error(data); });

    modSetGridDefaultColor::SetGridDefaultColor(*grd, false);
    grd->setRows(grd->FixedRows());

    QString years;
    for (int year = QDate::currentDate().year(); year >= 1965; --year)
        years += QLatin1Char('|') + QString::number(year);
    grd->setColComboList(Col(WRKYER), years);
    grd->setColComboList(Col(WRKTYP),
                         modXMLTableFunctions::XMLTableComboList(modXMLTableFunctions::ClientTablesFolder() +
                                                                     QStringLiteral("ARYTYP.XML"),
                                                                 QStringLiteral("TYPCTP"), QStringLiteral("TYPCTP"),
                                                                 QString()));
    AddEntryRow();
    // A user who may not change loans has nothing to run here: told, the window goes.
    if (WriteRefusal::Told())
        QTimer::singleShot(0, this, &QWidget::close);

    // A window too narrow for the holder's column at today's font is widened by what it lacks,
    // and never made smaller than that: Cancel and Run stay on screen.
    int others = 0;
    for (int c = 0; c < grd->Cols(); ++c)
        others += c == Col(WRKOTO) ? 0 : grd->ColWidth(c);
    const int lacking = HolderNeeds(grd, grd->TextMatrix(0, Col(WRKOTO))) - (CellsWidth(grd) * Twips::PerPixel - others);
    const QSize design = Twips::Size(DesignWidth, DesignHeight);
    setMinimumSize(design.width() + std::max(0, lacking / Twips::PerPixel + 1), design.height());
    resize(std::max(width(), minimumWidth()), std::max(height(), minimumHeight()));
}

void frmFolderBatch::Form_Activate()
{
    if (!IsUnloaded())
        modScreenPos::RestoreFormPosition(this, false, true, true, true, false);
}

const QWidget *frmFolderBatch::CloseIndicator() const { return cmdRun; }

void frmFolderBatch::AddEntryRow()
{
    grd->setRows(grd->Rows() + 1);
    const int row = grd->Rows() - 1;
    m_why.resize(row - grd->FixedRows() + 1);
    grd->setCellForeColor(row, Col(WRKNAM), modSetGridDefaultColor::LockedForeColor);
    grd->setCellForeColor(row, Col(WRKOTO), modSetGridDefaultColor::LockedForeColor);
}

void frmFolderBatch::SetPartyState()
{
    const bool out = optAction->Value() == Out;
    txtCheckOutTo->setEnabled(out);
    if (!out)
        txtCheckOutTo->SetText(QString());
    lblCheckOutTo->setEnabled(txtCheckOutTo->isEnabled());
}

// ---- typing into the grid ----

void frmFolderBatch::grd_BeforeRowColChange(int, int, int, int newCol, bool &cancel)
{
    // The title is never typed into: the cursor goes back to the case's year.
    if (newCol == Col(WRKNAM)) {
        grd->setCol(Col(WRKYER));
        cancel = true;
    }
}

void frmFolderBatch::grd_BeforeEdit(int row, int col, bool &cancel)
{
    if (modSetGridDefaultColor::CancelIfLocked(*grd, row, col, cancel))
        return;
    // An edit the clerk starts (not the cursor moving on from a full cell) begins a new reading:
    // what was typed into the row before is no part of a case number typed now.
    if (!m_advancing) {
        m_scanner.Clear();
        m_scanRow = row;
    }
    if (col == Col(WRKYER))
        grd->setEditMaxLength(4);
    else if (col == Col(WRKTYP))
        grd->setEditMaxLength(2);
    else if (col == Col(WRKSEQ))
        grd->setEditMaxLength(6);
}

void frmFolderBatch::grd_KeyPressEdit(int row, int col, int &key)
{
    // The raw characters and when they came, for a scanner's case number with its separators.
    if (row != m_scanRow) {
        m_scanRow = row;
        m_scanner.Clear();
    }
    if (key == 8)
        m_scanner.Clear();
    else if (key >= 0x20)
        m_scanner.Key(QChar(char16_t(key)), m_keyTime);

    if (col == Col(WRKYER) || col == Col(WRKSEQ))
        key = modEliminateKeystroke::NumericKeyFilter(static_cast<qint16>(key));
    else if (col == Col(WRKTYP))
        key = modEliminateKeystroke::UpperCaseKeyFilter(static_cast<qint16>(key), false);
}

void frmFolderBatch::grd_KeyUpEdit(int, int, int, int)
{
    const int max = grd->EditMaxLength();
    if (max <= 0 || grd->EditSelLength() != 0 || grd->EditText().size() != max)
        return;
    if (grd->Col() == grd->Cols() - 1)
        return;
    m_advancing = true;
    grd->setCol(grd->Col() + 1);
    if (grd->Col() <= Col(WRKSEQ))
        grd->EditCell();
    m_advancing = false;
}

void frmFolderBatch::grd_ChangeEdit()
{
    const int col = grd->Col();
    if (col != Col(WRKYER) && col != Col(WRKTYP) && col != Col(WRKSEQ))
        return;
    if (!grd->TextMatrix(grd->Row(), Col(WRKNAM)).isEmpty())
        SetTitle(grd->Row(), QString());
    if (grd->Row() - grd->FixedRows() < m_why.size())
        m_why[grd->Row() - grd->FixedRows()].clear(); // the last run's verdict was on another case
}

void frmFolderBatch::grd_AfterEdit(int row, int col)
{
    if (col == Col(WRKYER) && grd->TextMatrix(row, col).size() == 2) {
        const qint32 v = static_cast<qint32>(grd->ValueMatrix(row, col));
        if (v > 50)
            grd->setTextMatrix(row, col, QString::number(v + 1900));
        else if (v >= 0)
            grd->setTextMatrix(row, col, QString::number(v + 2000));
    }
    if (col >= Col(WRKYER) && col <= Col(WRKSEQ) && IsComplete(row))
        LookupCaseRow(row);
}

bool frmFolderBatch::IsComplete(int row) const
{
    return grd->ValueMatrix(row, Col(WRKYER)) > 0 && grd->TextMatrix(row, Col(WRKTYP)) > QLatin1String("  ") &&
           grd->ValueMatrix(row, Col(WRKSEQ)) > 0;
}

void frmFolderBatch::SetTitle(int row, const QString &title)
{
    grd->setTextMatrix(row, Col(WRKNAM), title);
    // The title cell can never be current, so its colour is free to tell a refused row.
    grd->setCellForeColor(row, Col(WRKNAM), title == InvalidLitigant ? ErrorForeColor : modSetGridDefaultColor::LockedForeColor);
}

// ---- lookup and validation ----

void frmFolderBatch::LookupCaseRow(int row)
{
    if (!adoMASTER)
        return;
    setCursor(Qt::WaitCursor);
    BatchLookup lookup(adoMASTER);
    const BatchLookup::Result found =
        lookup.Lookup(grd->ValueMatrix(row, Col(WRKYER)), grd->TextMatrix(row, Col(WRKTYP)),
                      grd->TextMatrix(row, Col(WRKSEQ)), grd->ValueMatrix(row, Col(WRKSEQ)));
    if (lookup.Failed() || IsUnloaded()) {
        unsetCursor();
        return; // reported, and the window is on its way out
    }
    if (row - grd->FixedRows() < m_why.size())
        m_why[row - grd->FixedRows()].clear();
    if (found.found) {
        SetTitle(row, found.title);
        grd->setTextMatrix(row, Col(WRKOTO), found.holder);
        if (row == grd->Rows() - 1) {
            AddEntryRow();
            grd->setRow(grd->Rows() - 1);
        }
        cmdRun->setEnabled(true);
    } else {
        SetTitle(row, InvalidLitigant);
    }
    unsetCursor();
}

bool frmFolderBatch::InputHasErrors()
{
    using modFormFunctions::ShowFieldError;
    if (optAction->Value() == Out && TrimBlanks(txtCheckOutTo->Text()).isEmpty()) {
        ShowFieldError(txtCheckOutTo, tr("You must indicate the party to whom the folders are checked out."));
        return true;
    }
    for (int row = grd->FixedRows(); row < grd->Rows(); ++row) {
        if (grd->TextMatrix(row, Col(WRKNAM)) == InvalidLitigant) {
            ShowFieldError(grd, tr("Invalid case number."));
            cmdRun->setEnabled(false);
            return true;
        }
    }
    // A row edited into an incomplete case number after its lookup would be written as a loan of
    // a case the court does not have: refused the same way, and marked.
    for (int row = grd->FixedRows(); row < grd->Rows() - 1; ++row) {
        if (!IsComplete(row)) {
            SetTitle(row, InvalidLitigant);
            ShowFieldError(grd, tr("Invalid case number."));
            cmdRun->setEnabled(false);
            return true;
        }
    }
    return false;
}

// ---- the run ----

void frmFolderBatch::cmdRun_Click()
{
    if (InputHasErrors())
        return;
    setCursor(Qt::WaitCursor);
    const QString app = ComponentName::ApplicationName();
    BatchRun::Settings settings;
    settings.action = optAction->Value();
    settings.party = txtCheckOutTo->Text();
    settings.user = m_user;
    settings.logAuto =
        SettingsStore::GetBoolSetting(app, LoggingSection, QStringLiteral("mnuAppEditPreferencesLoggingAuto"), false);
    settings.logManual =
        SettingsStore::GetBoolSetting(app, LoggingSection, QStringLiteral("mnuAppEditPreferencesLoggingManual"), false);

    QList<BatchRun::Row> rows;
    for (int row = grd->FixedRows(); row < grd->Rows() - 1; ++row)
        rows.append({grd->ValueMatrix(row, Col(WRKYER)), grd->TextMatrix(row, Col(WRKTYP)),
                     grd->ValueMatrix(row, Col(WRKSEQ)), grd->TextMatrix(row, Col(WRKOTO))});
    BatchRun run(adoFILCHK, settings);
    const int first = grd->FixedRows();
    QPointer<FlexGrid> grid = grd;
    QList<bool> changed(rows.size(), false);
    // A long list shows its progress, and the window keeps painting.
    QProgressDialog progress(tr("Updating folder status..."), QString(), 0, 0, this);
    progress.setObjectName(QStringLiteral("prgRun"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    const int count = run.Run(
        rows,
        [grid, first, &changed](qsizetype index) {
            changed[index] = true;
            if (grid)
                grid->RemoveItem(first + static_cast<int>(index));
        },
        [&progress](qsizetype done, qsizetype total) {
            progress.setMaximum(static_cast<int>(total));
            progress.setValue(static_cast<int>(done));
        });
    progress.reset();
    if (run.Failed() || IsUnloaded()) {
        unsetCursor();
        return; // reported, and the window is on its way out
    }
    // Each row left says why, the entry row last.
    const QString entryWhy = m_why.value(m_why.size() - 1);
    m_why.clear();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (!changed.at(i))
            m_why << run.Why(i);
    }
    m_why << entryWhy;
    cmdRun->setEnabled(false);
    unsetCursor();
    if (grd->Rows() > grd->FixedRows() + 1)
        modFormFunctions::ShowFieldError(
            grd, tr("One or more folder status changes could not be changed due to existing folder status."));
    else
        modFormFunctions::MsgBox(QString::number(count) + tr(" folder status change(s) have been made."),
                                 tr("Batch Folder Update"));
}

// ---- closing ----

bool frmFolderBatch::HasUnrunRows() const
{
    for (int row = grd->FixedRows(); row < grd->Rows(); ++row) {
        for (const char *key : {WRKYER, WRKTYP, WRKSEQ}) {
            if (!grd->TextMatrix(row, Col(key)).trimmed().isEmpty())
                return true;
        }
    }
    return false;
}

void frmFolderBatch::reject()
{
    // A stray Escape must not drop a list, even with Run off (after a run, or a refused one).
    if (!cmdRun->isEnabled() && HasUnrunRows() &&
        modFormFunctions::MsgBox(tr("Discard changes?"), tr("Exit"), modFormFunctions::Buttons::YesNo) !=
            modFormFunctions::Answer::Yes)
        return;
    close();
}

void frmFolderBatch::DataObject_Error(DataObject *source)
{
    unsetCursor();
    source->HandleError(this);
    close();
}

void frmFolderBatch::Form_Unload()
{
    modScreenPos::SaveFormPosition(this);
    // A data error closes the window from inside the failing object's Error signal, with the
    // run still using it: the objects go once that is over, and the run sees its failure.
    for (QPointer<DataObject> *data : {&adoFILCHK, &adoMASTER}) {
        if (*data) {
            (*data)->Close();
            (*data)->deleteLater();
        }
    }
}
