#include "frmFolderBatch.h"

#include "BatchLookup.h"
#include "BatchRun.h"
#include "PastedCases.h"
#include "modEliminateKeystroke.h"
#include "records/CaseKey.h"
#include "records/DataObject.h"
#include "records/FolderStatements.h"
#include "shared/ComponentName.h"
#include "shared/SettingsStore.h"
#include "shared/Twips.h"
#include "shared/WriteRefusal.h"
#include "shared/controls/AlphaMericBox.h"
#include "shared/controls/FlexGrid.h"
#include "shared/controls/OptionButtonGroup.h"
#include "shared/modFormFunctions.h"
#include "shared/modScreenPos.h"
#include "shared/modSetGridDefaultColor.h"
#include "shared/modXMLTableFunctions.h"
#include "shared/modXMLTableFunctionsPaths.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

namespace {

const QString Out = QStringLiteral("*OUT");
const QString In = QStringLiteral("*IN");
const QString InvalidLitigant = QStringLiteral("INVALID LITIGANT");
// The editor's section holds the logging preference that every run follows.
const QString LoggingSection = QStringLiteral("FolderEdit");

constexpr char WRKYER[] = "WRKYER";
constexpr char WRKTYP[] = "WRKTYP";
constexpr char WRKSEQ[] = "WRKSEQ";
constexpr char WRKNAM[] = "WRKNAM";
constexpr char WRKOTO[] = "WRKOTO";

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

// The refused lines of a paste, the first twenty each cut to 80 characters, then how many more:
// a box listing thousands, or one endless line, would not fit any screen, its OK button out of
// reach.
QString RefusalList(const QStringList &refused)
{
    constexpr qsizetype Shown = 20, Width = 80;
    QStringList cut;
    for (const QString &line : refused.mid(0, Shown))
        cut << (line.size() > Width ? line.left(Width - 1) + QChar(0x2026) : line);
    cut << refused.mid(Shown); // counted, never shown
    return modFormFunctions::ShortList(cut, Shown);
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
    // Enter belongs to the grid (it commits a cell), never to a button.
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
        m_scan.clear();
        m_scanRow = row;
        m_scanBroken = false;
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
    // The raw characters, for a case number typed or scanned with its separators.
    if (row != m_scanRow) {
        m_scanRow = row;
        m_scan.clear();
        m_scanBroken = false;
    }
    if (key == 8)
        m_scanBroken = true;
    else if (key >= 0x20)
        m_scan += QChar(char16_t(key));

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

// ---- paste and scanner ----

void frmFolderBatch::CancelCellEdit()
{
    if (!grd->IsEditing())
        return;
    // Escape in the editor drops its text, which the case about to be entered replaces.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(grd, &escape);
}

void frmFolderBatch::EnterCase(int row, const CaseKey &key)
{
    SetTitle(row, QString());
    grd->setTextMatrix(row, Col(WRKYER), QString::number(key.year));
    grd->setTextMatrix(row, Col(WRKTYP), key.type);
    grd->setTextMatrix(row, Col(WRKSEQ), QString::number(key.sequence));
    grd_AfterEdit(row, Col(WRKSEQ));
}

bool frmFolderBatch::ScannedEnter()
{
    const int row = grd->Row();
    const QString scanned = m_scan;
    const bool usable = !m_scanBroken && m_scanRow == row && row >= grd->FixedRows();
    m_scan.clear();
    m_scanRow = -1;
    if (!usable)
        return false;
    // Whichever form the case number came in, run together included: the cells were filled as
    // it was typed, and Enter takes it as a whole, so the next scan finds the cursor in a year.
    const std::optional<CaseKey> key = CaseKey::Parse(scanned.trimmed());
    if (!key)
        return false;
    EnterWhole(row, *key);
    return true;
}

void frmFolderBatch::EnterWhole(int row, const CaseKey &key)
{
    CancelCellEdit();
    EnterCase(row, key);
    if (IsUnloaded())
        return;
    if (row == grd->Rows() - 1) {
        // A case the court does not hold keeps its marked row; the next one gets a row of its own.
        if (grd->TextMatrix(row, Col(WRKNAM)) == InvalidLitigant)
            AddEntryRow();
        grd->setRow(grd->Rows() - 1);
    }
    grd->setCol(Col(WRKYER));
}

void frmFolderBatch::Paste(const QString &text)
{
    // One line into a cell being edited goes into that cell; a list, or a paste on a cell that is
    // not being edited, goes into rows of its own.
    if (grd->IsEditing() && !text.trimmed().contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\t')))
        PasteIntoCell(text.trimmed());
    else
        PasteCases(text);
}

void frmFolderBatch::PasteIntoCell(const QString &text)
{
    const int row = grd->Row(), col = grd->Col();
    const PastedCases whole = ReadPastedCases(text);
    if (whole.cases.size() == 1) {
        EnterWhole(row, whole.cases.first());
        return;
    }
    // As if typed: through the column's key filter, up to the cell's length.
    QString typed;
    for (const QChar ch : text) {
        int key = ch.unicode();
        if (col == Col(WRKYER) || col == Col(WRKSEQ))
            key = modEliminateKeystroke::NumericKeyFilter(static_cast<qint16>(key));
        else if (col == Col(WRKTYP))
            key = modEliminateKeystroke::UpperCaseKeyFilter(static_cast<qint16>(key), false);
        if (key >= 0x20)
            typed += QChar(char16_t(key));
    }
    QString cell = grd->EditText();
    const int start = grd->EditSelStart();
    cell.remove(start, grd->EditSelLength());
    cell.insert(start, typed);
    grd->setEditText(cell); // the editor keeps the cell's length
    grd->setEditSelStart(std::min(start + static_cast<int>(typed.size()), static_cast<int>(grd->EditText().size())));
    m_scanRow = row;
    m_scanBroken = true; // what Enter then finds is no longer one typed case number
}

void frmFolderBatch::PasteCases(const QString &text)
{
    const PastedCases pasted = ReadPastedCases(text);
    const QList<CaseKey> &cases = pasted.cases;
    CancelCellEdit();
    for (qsizetype i = 0; i < cases.size() && !IsUnloaded(); ++i) {
        const int row = grd->Rows() - 1;
        EnterCase(row, cases.at(i));
        if (IsUnloaded())
            return;
        // A case the court does not hold keeps its row; the next one gets a row of its own.
        if (grd->Rows() - 1 == row && i + 1 < cases.size())
            AddEntryRow();
    }
    grd->setRow(grd->Rows() - 1);
    grd->setCol(Col(WRKYER));
    if (!pasted.refused.isEmpty())
        modFormFunctions::MsgBox(tr("These lines are not case numbers and were left out:\n") + RefusalList(pasted.refused),
                                 tr("Batch Folder Update"));
}

// ---- rows the clerk removes, the grid's menu, and why a row was left ----

void frmFolderBatch::DeleteRow(int row)
{
    if (row < grd->FixedRows() || row >= grd->Rows() - 1)
        return; // the entry row stays
    CancelCellEdit();
    grd->RemoveItem(row);
    m_why.removeAt(row - grd->FixedRows());
    if (grd->Rows() == grd->FixedRows() + 1)
        cmdRun->setEnabled(false); // nothing left to run
}

void frmFolderBatch::ShowContextMenu(QWidget *target, QContextMenuEvent *e)
{
    auto *view = grd->findChild<QTableView *>();
    if (e->reason() == QContextMenuEvent::Mouse && target == view->viewport()) {
        const QModelIndex at = view->indexAt(e->pos());
        if (at.isValid())
            grd->setRow(at.row() + grd->FixedRows());
    }
    auto *line = grd->IsEditing() ? qobject_cast<QLineEdit *>(target) : nullptr;
    QMenu *menu = line ? line->createStandardContextMenu() : new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuGrid"));
    QAction *paste = nullptr;
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction *item : menu->actions())
        if (line && item->text().section(QLatin1Char('\t'), 0, 0) == pasteText)
            paste = item;
    if (paste)
        paste->disconnect(); // the editor's own paste would pass the cell's filters by
    else
        paste = menu->addAction(tr("&Paste"));
    paste->setObjectName(QStringLiteral("mnuPaste"));
    connect(paste, &QAction::triggered, this, [this] { Paste(QGuiApplication::clipboard()->text()); });
    menu->addSeparator();
    QAction *remove = menu->addAction(tr("&Delete Row") + QStringLiteral("\tCtrl+Del"));
    remove->setObjectName(QStringLiteral("mnuDeleteRow"));
    remove->setEnabled(grd->Row() >= grd->FixedRows() && grd->Row() < grd->Rows() - 1);
    connect(remove, &QAction::triggered, this, [this] { DeleteRow(grd->Row()); });
    menu->exec(e->globalPos());
    delete menu;
}

bool frmFolderBatch::ShowWhy(QObject *watched, QEvent *e)
{
    auto *view = grd->findChild<QTableView *>();
    if (watched != view->viewport())
        return false;
    auto *help = static_cast<QHelpEvent *>(e);
    const QModelIndex at = view->indexAt(help->pos());
    const QString why = at.isValid() ? m_why.value(at.row()) : QString();
    if (why.isEmpty())
        return false; // the grid's own tip
    QToolTip::showText(help->globalPos(), why, view->viewport());
    return true;
}

bool frmFolderBatch::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type type = e->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::ContextMenu &&
         type != QEvent::ToolTip) ||
        IsUnloaded() || !grd)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || (widget != grd && !grd->isAncestorOf(widget)))
        return false;
    if (type == QEvent::ToolTip)
        return ShowWhy(watched, e);
    if (type == QEvent::ContextMenu) {
        ShowContextMenu(widget, static_cast<QContextMenuEvent *>(e));
        return true;
    }
    if (widget != QApplication::focusWidget())
        return false;
    auto *key = static_cast<QKeyEvent *>(e);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool deleteRow = key->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier;
    if (key->matches(QKeySequence::Paste) || deleteRow) {
        // Taken before the editor's own paste and delete-word.
        if (type == QEvent::KeyPress && deleteRow)
            DeleteRow(grd->Row());
        else if (type == QEvent::KeyPress)
            Paste(QGuiApplication::clipboard()->text());
        e->accept();
        return true;
    }
    if (type != QEvent::KeyPress)
        return false;
    if (key->key() == Qt::Key_Tab && modifiers == Qt::NoModifier && grd->Col() >= Col(WRKSEQ)) {
        // From the last cell a clerk types into, Tab leaves the grid; the cell is committed first.
        if (grd->IsEditing())
            grd->setCol(Col(WRKYER));
        if (!IsUnloaded())
            cmdCancel->setFocus(Qt::TabFocusReason);
        return true;
    }
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier)
        return ScannedEnter();
    return false;
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
