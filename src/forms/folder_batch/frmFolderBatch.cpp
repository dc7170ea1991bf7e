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
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>

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
    resize(Twips::Size(7452, 6948));

    fraOutput = new QGroupBox(tr("Output"), this);
    fraOutput->setObjectName(QStringLiteral("fraOutput"));
    fraOutput->setGeometry(Twips::Rect(120, 120, 7215, 1875));

    optAction = new OptionButtonGroup(fraOutput);
    optAction->setObjectName(QStringLiteral("optAction"));
    optAction->AddButton(tr("Check folders out"), Out);
    optAction->AddButton(tr("Check folders in"), In);
    optAction->setGeometry(Twips::Rect(360, 480, 2175, 840 + 345 - 480));

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
                   {WRKOTO, tr("Checked Out"), 960}};
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
    grd->setCol(grd->Col() + 1);
    if (grd->Col() <= Col(WRKSEQ))
        grd->EditCell();
}

void frmFolderBatch::grd_ChangeEdit()
{
    const int col = grd->Col();
    if ((col == Col(WRKYER) || col == Col(WRKTYP) || col == Col(WRKSEQ)) &&
        !grd->TextMatrix(grd->Row(), Col(WRKNAM)).isEmpty())
        grd->setTextMatrix(grd->Row(), Col(WRKNAM), QString());
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
    if (col >= Col(WRKYER) && col <= Col(WRKSEQ) && grd->ValueMatrix(row, Col(WRKYER)) > 0 &&
        grd->TextMatrix(row, Col(WRKTYP)) > QLatin1String("  ") && grd->ValueMatrix(row, Col(WRKSEQ)) > 0)
        LookupCaseRow(row);
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
    if (found.found) {
        grd->setTextMatrix(row, Col(WRKNAM), found.title);
        grd->setTextMatrix(row, Col(WRKOTO), found.holder);
        if (row == grd->Rows() - 1) {
            AddEntryRow();
            grd->setRow(grd->Rows() - 1);
        }
        cmdRun->setEnabled(true);
    } else {
        grd->setTextMatrix(row, Col(WRKNAM), InvalidLitigant);
    }
    unsetCursor();
}

bool frmFolderBatch::InputHasErrors()
{
    using modFormFunctions::ShowFieldError;
    if (optAction->Value() == Out && txtCheckOutTo->Text().trimmed().isEmpty()) {
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
    // A long list shows its progress, and the window keeps painting.
    QProgressDialog progress(tr("Updating folder status..."), QString(), 0, 0, this);
    progress.setObjectName(QStringLiteral("prgRun"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    const int count = run.Run(
        rows,
        [grid, first](qsizetype index) {
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
    grd->setTextMatrix(row, Col(WRKNAM), QString());
    grd->setTextMatrix(row, Col(WRKYER), QString::number(key.year));
    grd->setTextMatrix(row, Col(WRKTYP), key.type);
    grd->setTextMatrix(row, Col(WRKSEQ), QString::number(key.sequence));
    grd_AfterEdit(row, Col(WRKSEQ));
}

bool frmFolderBatch::ScannedEnter()
{
    const int row = grd->Row();
    const bool separated = m_scan.contains(QLatin1Char('-')) || m_scan.contains(QLatin1Char(' '));
    const QString scanned = m_scan;
    const bool usable = !m_scanBroken && m_scanRow == row && row >= grd->FixedRows() && separated;
    m_scan.clear();
    m_scanRow = -1;
    if (!usable)
        return false;
    const std::optional<CaseKey> key = CaseKey::Parse(scanned.trimmed());
    if (!key)
        return false;
    CancelCellEdit();
    EnterCase(row, *key);
    if (!IsUnloaded())
        grd->setCol(Col(WRKYER)); // the next scan goes into the year
    return true;
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

bool frmFolderBatch::eventFilter(QObject *watched, QEvent *e)
{
    if ((e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride) || IsUnloaded() || !grd)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || (widget != grd && !grd->isAncestorOf(widget)) || widget != QApplication::focusWidget())
        return false;
    auto *key = static_cast<QKeyEvent *>(e);
    if (key->matches(QKeySequence::Paste)) {
        // Keep the cell editor's own paste out: a list goes into rows, not into one cell.
        if (e->type() == QEvent::KeyPress)
            PasteCases(QGuiApplication::clipboard()->text());
        e->accept();
        return true;
    }
    if (e->type() == QEvent::KeyPress && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
        return ScannedEnter();
    return false;
}

// ---- closing ----

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
