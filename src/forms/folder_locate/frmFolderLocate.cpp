#include "frmFolderLocate.h"

#include "AgeChart.h"
#include "LaterSteps.h"
#include "LocateLists.h"
#include "LocateQueries.h"
#include "LocateReport.h"
#include "forms/folder_labels/LabelSources.h"
#include "forms/folder_labels/frmFolderLabels.h"
#include "records/Connection.h"
#include "records/DataObject.h"
#include "records/FolderStatements.h"
#include "shared/ComponentName.h"
#include "shared/SettingsStore.h"
#include "shared/controls/AlphaMericBox.h"
#include "shared/controls/Combo.h"
#include "shared/controls/DatePicker.h"
#include "shared/controls/ScanBox.h"
#include "shared/modFormFunctions.h"
#include "shared/modScreenPos.h"
#include "shared/modXMLTableFunctions.h"
#include "util/modDateTimeFunctions.h"
#include "util/modFormatCaseNumber.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString All = QStringLiteral("*ALL");
const QString DaysKey = QStringLiteral("OverdueDays");
// A court's whole overdue list can run to tens of thousands: the first list holds the folders out
// longest, quickly; "List all" brings the rest.
constexpr int OverduePage = 500;
constexpr int DefaultDays = 30;
// The pull list's first hearings are shown at once, the first screen of them titled; the rest of
// the day is read, then titled in steps of a few milliseconds, while the clerk reads (the style
// program runs once a hearing).
constexpr int FirstScreen = 100;
constexpr int FirstTitles = 50;
constexpr int PullPage = 20000;
constexpr int TitleStepMs = 20;
constexpr int TitleColumn = 4;

AlphaMericBox *Box(const char *name, int maxLength, bool digits = false)
{
    auto *box = new AlphaMericBox;
    box->setObjectName(QLatin1String(name));
    box->SetCaseType(AlphaMericBox::CaseUpper);
    box->SetMaxLength(maxLength);
    if (digits) {
        box->SetDataType(AlphaMericBox::DataNumeric);
        box->SetAlignment(AlphaMericBox::AlignRight);
    }
    return box;
}

} // namespace

frmFolderLocate::frmFolderLocate(QWidget *parent) : FormBase(parent)
{
    setObjectName(QStringLiteral("frmFolderLocate"));
    m_queries = new LocateQueries(this);
    m_later = new LaterSteps(this);
    connect(m_queries->adoFILCHK(), &DataObject::Error, this, &frmFolderLocate::DataObject_Error);

    tabViews = new QTabWidget;
    tabViews->setObjectName(QStringLiteral("tabViews"));
    tabViews->addTab(BuildCasePage(), tr("&Case"));
    tabViews->addTab(BuildHolderPage(), tr("&Holder"));
    tabViews->addTab(BuildPullPage(), tr("&Pull list"));
    tabViews->addTab(BuildOverduePage(), tr("&Overdue"));

    cmdPrint = modFormFunctions::NamedButton("cmdPrint", tr("Pr&int…"));
    cmdPdf = modFormFunctions::NamedButton("cmdPdf", tr("Export P&DF…"));
    cmdCsv = modFormFunctions::NamedButton("cmdCsv", tr("Export C&SV…"));
    cmdLabels = modFormFunctions::NamedButton("cmdLabels", tr("Print la&bels…"));
    cmdClose = modFormFunctions::NamedButton("cmdClose", tr("C&lose"));
    // The window holds nothing that a close could lose: the guard's indicator stays off.
    m_nothingPending = new QWidget(this);
    m_nothingPending->setEnabled(false);
    m_nothingPending->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdPdf);
    buttons->addWidget(cmdCsv);
    buttons->addWidget(cmdLabels);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabViews, 1);
    layout->addLayout(buttons);
    resize(900, 520);

    connect(cmdPrint, &QPushButton::clicked, this, &frmFolderLocate::cmdPrint_Click);
    connect(cmdPdf, &QPushButton::clicked, this, &frmFolderLocate::cmdPdf_Click);
    connect(cmdCsv, &QPushButton::clicked, this, &frmFolderLocate::cmdCsv_Click);
    connect(cmdLabels, &QPushButton::clicked, this, &frmFolderLocate::cmdLabels_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

frmFolderLocate::~frmFolderLocate() = default;

QTableView *frmFolderLocate::Grid(const char *name, View view)
{
    const QStringList columns = LocateLists::Columns(static_cast<LocateLists::View>(view));
    m_lists[view] = new QStandardItemModel(0, static_cast<int>(columns.size()), this);
    m_lists[view]->setHorizontalHeaderLabels(columns);
    auto *grid = new QTableView;
    grid->setObjectName(QLatin1String(name));
    // What a screen reader says when the list takes the focus.
    static const QString spoken[] = {tr("Custody history"), tr("Folders out to the holder"), tr("Pull list"),
                                     tr("Folders out longest")};
    grid->setAccessibleName(spoken[view]);
    grid->setModel(m_lists[view]);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setWordWrap(false);
    m_grids[view] = grid;
    return grid;
}

QWidget *frmFolderLocate::BuildCasePage()
{
    txtCASNUM = Box("txtCASNUM", 16);
    txtCASNUM->setPlaceholderText(QStringLiteral("2009-CV-123"));
    auto *find = modFormFunctions::NamedButton("cmdFindCase", tr("&Find"));
    cmdEdit = modFormFunctions::NamedButton("cmdEdit", tr("&Edit loan…"));
    cmdEdit->setEnabled(false);
    cmdShowAll = modFormFunctions::NamedButton("cmdShowAll", tr("Show &all"));
    cmdShowAll->setAccessibleName(tr("Show all custody history"));
    cmdShowAll->setToolTip(
        tr("The list holds the %1 latest entries; this lists every one.").arg(LocateQueries::RecentHistory));
    cmdShowAll->setEnabled(false);
    lblLocation = new QLabel;
    lblLocation->setObjectName(QStringLiteral("lblLocation"));
    // It shows holders and users as the court holds them: never as markup.
    lblLocation->setTextFormat(Qt::PlainText);
    lblLocation->setWordWrap(true);
    lblLocation->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *page = new QWidget;
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(tr("Case &number:"));
    label->setBuddy(txtCASNUM);
    row->addWidget(label);
    row->addWidget(txtCASNUM, 1);
    row->addWidget(find);
    row->addWidget(cmdEdit);
    row->addWidget(cmdShowAll);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addWidget(lblLocation);
    layout->addWidget(Grid("grdCase", CaseView), 1);

    // A scanner ends the number with Enter.
    connect(txtCASNUM, &QLineEdit::returnPressed, this, &frmFolderLocate::FindCase);
    ScanBox::Install(txtCASNUM); // a scanned label finds its case, whatever the box held
    connect(find, &QPushButton::clicked, this, &frmFolderLocate::FindCase);
    connect(cmdEdit, &QPushButton::clicked, this, &frmFolderLocate::cmdEdit_Click);
    connect(cmdShowAll, &QPushButton::clicked, this, &frmFolderLocate::cmdShowAll_Click);
    return page;
}

QWidget *frmFolderLocate::BuildHolderPage()
{
    txtREQOTO = Box("txtREQOTO", 13);
    txtREQOTO->SetRecordSource(QLatin1String(FolderStatements::PartySuggestions), QLatin1String(Connection::ReadRole));
    auto *find = modFormFunctions::NamedButton("cmdFindHolder", tr("&Find"));
    auto *page = new QWidget;
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(tr("Hol&der:"));
    label->setBuddy(txtREQOTO);
    row->addWidget(label);
    row->addWidget(txtREQOTO, 1);
    row->addWidget(find);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addWidget(Grid("grdHolder", HolderView), 1);
    connect(txtREQOTO, &QLineEdit::returnPressed, this, &frmFolderLocate::FindHolder);
    connect(find, &QPushButton::clicked, this, &frmFolderLocate::FindHolder);
    return page;
}

QWidget *frmFolderLocate::BuildPullPage()
{
    dtpREQDAT = new DatePicker;
    dtpREQDAT->setObjectName(QStringLiteral("dtpREQDAT"));
    dtpREQDAT->SetMinDate(QDate(1601, 1, 1));
    dtpREQDAT->SetMaxDate(QDate(9999, 12, 31));
    txtBEGTIM = Box("txtBEGTIM", 4, true);
    txtENDTIM = Box("txtENDTIM", 4, true);
    cboREQJDG = new Combo;
    cboREQJDG->setObjectName(QStringLiteral("cboREQJDG"));
    cboREQJDG->SetCols(2);
    cboREQJDG->SetHeaderCaptions({tr("Active"), tr("Judge")});
    cboREQJDG->SetKeyItems({QStringLiteral("Col0"), QStringLiteral("Col1")});
    cboREQJDG->SetDataField(QStringLiteral("1"));
    cboREQJDG->SetDataFieldToDisplay(QStringLiteral("1"));
    cboREQROM = new Combo;
    cboREQROM->setObjectName(QStringLiteral("cboREQROM"));
    cboREQROM->SetColumnHeaders(false);
    txtREQBRN = Box("txtREQBRN", 1);
    auto *find = modFormFunctions::NamedButton("cmdFindPull", tr("&List"));

    auto *selection = new QFormLayout;
    selection->addRow(tr("Hearing date:"), dtpREQDAT);
    auto *times = new QHBoxLayout;
    times->addWidget(txtBEGTIM);
    times->addWidget(new QLabel(tr("to")));
    times->addWidget(txtENDTIM);
    selection->addRow(tr("Times:"), times);
    selection->addRow(tr("Judge:"), cboREQJDG);
    selection->addRow(tr("Courtroom:"), cboREQROM);
    selection->addRow(tr("Branch code:"), txtREQBRN);
    selection->addRow(QString(), find);
    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(selection);
    layout->addWidget(Grid("grdPull", PullView), 1);
    connect(find, &QPushButton::clicked, this, &frmFolderLocate::FindPull);
    return page;
}

QWidget *frmFolderLocate::BuildOverduePage()
{
    txtDAYS = Box("txtDAYS", 4, true);
    auto *find = modFormFunctions::NamedButton("cmdFindOverdue", tr("&List"));
    cmdAllOverdue = modFormFunctions::NamedButton("cmdAllOverdue", tr("List &all"));
    cmdAllOverdue->setToolTip(tr("The list holds the %1 folders out longest; this lists every one.").arg(OverduePage));
    cmdAllOverdue->hide();
    picAges = new AgeChart;
    picAges->setObjectName(QStringLiteral("picAges"));
    lblAges = new QLabel;
    lblAges->setObjectName(QStringLiteral("lblAges"));
    lblAges->setTextFormat(Qt::PlainText);
    auto *page = new QWidget;
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(tr("Out &longer than"));
    label->setBuddy(txtDAYS);
    row->addWidget(label);
    row->addWidget(txtDAYS);
    row->addWidget(new QLabel(tr("days")));
    row->addWidget(find);
    row->addWidget(cmdAllOverdue);
    row->addStretch(1);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(row);
    layout->addWidget(picAges);
    layout->addWidget(lblAges);
    layout->addWidget(Grid("grdOverdue", OverdueView), 1);
    connect(txtDAYS, &QLineEdit::returnPressed, this, [this] { FindOverdue(); });
    connect(find, &QPushButton::clicked, this, [this] { FindOverdue(); });
    connect(cmdAllOverdue, &QPushButton::clicked, this, [this] { FindOverdue(true); });
    return page;
}

void frmFolderLocate::showEvent(QShowEvent *e)
{
    if (!m_loaded)
        Load();
    FormBase::showEvent(e);
}

void frmFolderLocate::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    setWindowTitle(QStringLiteral("PC/MEVS - Folder Locator"));
    // The docket window's lists, with its "*ALL" rows.
    modXMLTableFunctions::LoadList(cboREQJDG, QStringLiteral("ARYJDG.XML"), QStringLiteral("Y\t*ALL"));
    modXMLTableFunctions::LoadList(cboREQROM, QStringLiteral("ARYROM.XML"), All);
    cboREQJDG->SetValue(All);
    cboREQROM->SetValue(All);
    // The pull list is made the day before.
    dtpREQDAT->SetValue(QDate::currentDate().addDays(1));
    txtDAYS->SetValue(SettingsStore::GetLongSetting(ComponentName::ApplicationName(), objectName().mid(3), DaysKey,
                                                    DefaultDays));
}

void frmFolderLocate::Form_Activate() { modScreenPos::RestoreFormPosition(this, false, true, true, true, false); }

const QWidget *frmFolderLocate::CloseIndicator() const { return m_nothingPending; }

void frmFolderLocate::Form_Unload() { modScreenPos::SaveFormPosition(this); }

frmFolderLocate::View frmFolderLocate::Current() const { return static_cast<View>(tabViews->currentIndex()); }

void frmFolderLocate::Fill(View view, const LocateLists::List &shown)
{
    const QList<QStringList> &rows = shown.rows;
    const QString &heading = shown.heading;
    QStandardItemModel *list = m_lists[view];
    list->removeRows(0, list->rowCount());
    m_grids[view]->clearSpans();
    for (const QStringList &row : rows) {
        QList<QStandardItem *> items;
        for (const QString &cell : row)
            items << new QStandardItem(cell);
        list->appendRow(items);
    }
    m_headings[view] = heading;
    // Case numbers and titles read whole, not wrapped.
    m_grids[view]->resizeColumnsToContents();
}

void frmFolderLocate::FindCase()
{
    const QString typed = txtCASNUM->Text().trimmed();
    const std::optional<CaseKey> key = CaseKey::Parse(typed);
    m_shownCase.reset();
    cmdEdit->setEnabled(false);
    cmdShowAll->setEnabled(false);
    if (!key) {
        lblLocation->setText(tr("\"%1\" is not a case number; type it as 2009-CV-123, 2009 CV 123 or 2009CV000123.")
                                 .arg(typed));
        Fill(CaseView, {});
        txtCASNUM->selectAll();
        return;
    }
    ShowCase(*key, false); // a case looked up shows its latest entries first
    txtCASNUM->selectAll();
}

void frmFolderLocate::ShowCase(CaseKey key, bool all)
{
    m_shownCase.reset();
    cmdEdit->setEnabled(false);
    cmdShowAll->setEnabled(false);
    LocateQueries::Location where;
    if (!m_queries->WhereIs(key, &where, all))
        return;
    lblLocation->setText(LocateLists::LocationLine(where));
    Fill(CaseView, LocateLists::Case(where));
    if (where.earlier > 0) {
        // The last row says what the list leaves out; it is no entry, so it cannot be selected.
        auto *note = new QStandardItem(LocateLists::Earlier(where.earlier));
        note->setFlags(Qt::ItemIsEnabled);
        QFont italic = note->font();
        italic.setItalic(true);
        note->setFont(italic);
        m_lists[CaseView]->appendRow(note);
        m_grids[CaseView]->setSpan(m_lists[CaseView]->rowCount() - 1, 0, 1, m_lists[CaseView]->columnCount());
    }
    m_shownCase = key;
    m_wholeHistory = all;
    cmdEdit->setEnabled(static_cast<bool>(m_edit));
    cmdShowAll->setEnabled(where.earlier > 0);
}

void frmFolderLocate::cmdShowAll_Click()
{
    if (!m_shownCase)
        return;
    // The case shown, even if the box has been typed into since.
    ShowCase(*m_shownCase, true);
    // The button has gone grey under the focus: the list is what the clerk wants next.
    if (m_shownCase)
        m_grids[CaseView]->setFocus();
}

void frmFolderLocate::cmdEdit_Click()
{
    if (!m_shownCase || !m_edit)
        return;
    const CaseKey key = *m_shownCase;
    m_edit(key);
    // What the editor changed shows at once, as much of the history as was shown.
    if (!IsUnloaded())
        ShowCase(key, m_wholeHistory);
}

void frmFolderLocate::FindHolder()
{
    const QString holder = txtREQOTO->Text().trimmed();
    if (holder.isEmpty()) {
        modFormFunctions::ShowFieldError(txtREQOTO, tr("Type the party whose folders you are looking for."));
        return;
    }
    QList<LocateQueries::Loan> loans;
    if (!m_queries->HeldBy(holder, &loans))
        return;
    Fill(HolderView, LocateLists::Holder(holder.toUpper(), loans));
}

void frmFolderLocate::FindPull()
{
    const qint64 b = txtBEGTIM->Value(), e = txtENDTIM->Value();
    bool atEnd = false;
    const QString problem = modDateTimeFunctions::HearingTimeRangeProblem(b, e, &atEnd);
    if (!problem.isEmpty()) {
        modFormFunctions::ShowFieldError(atEnd ? txtENDTIM : txtBEGTIM, problem);
        return;
    }
    DocketSelection s;
    s.hearingDate = dtpREQDAT->Value();
    s.beginTime = static_cast<qint32>(b);
    s.endTime = static_cast<qint32>(e);
    s.judge = cboREQJDG->Value();
    s.room = cboREQROM->Value();
    s.branch = txtREQBRN->Text();
    m_later->Cancel(PullView);
    m_pulls.clear();
    m_titled = 0;
    m_pullSelection = s;
    // The first screen with its titles at once; the rest of the day and its titles follow
    // while the clerk reads.
    qsizetype read = 0;
    if (!m_queries->PullPage(s, 0, FirstScreen, &m_pulls, &read))
        return;
    m_pullsRead = read < FirstScreen ? -1 : read;
    for (; m_titled < std::min<qsizetype>(FirstTitles, m_pulls.size()); ++m_titled)
        if (!m_queries->Title(m_pulls[m_titled]))
            return;
    Fill(PullView, LocateLists::Pull(s, m_pulls));
    if (m_pullsRead >= 0 || m_titled < m_pulls.size())
        m_later->Start(PullView, [this] { return PullMore(); });
}

bool frmFolderLocate::PullMore()
{
    QStandardItemModel *list = m_lists[PullView];
    if (m_pullsRead >= 0) {
        QList<LocateQueries::Pull> rest;
        qsizetype read = 0;
        if (!m_queries->PullPage(m_pullSelection, m_pullsRead, PullPage, &rest, &read))
            return true;
        m_pullsRead = read < PullPage ? -1 : m_pullsRead + read;
        for (const QStringList &row : LocateLists::Pull(m_pullSelection, rest).rows) {
            QList<QStandardItem *> items;
            for (const QString &cell : row)
                items << new QStandardItem(cell);
            list->appendRow(items);
        }
        m_pulls += std::move(rest);
        m_headings[PullView] = LocateLists::PullHeading(m_pullSelection, m_pulls.size());
        return false;
    }
    QElapsedTimer spent;
    spent.start();
    for (; m_titled < m_pulls.size() && spent.elapsed() < TitleStepMs; ++m_titled) {
        if (!m_queries->Title(m_pulls[m_titled]))
            return true; // reported; the titles read so far stay
        list->item(static_cast<int>(m_titled), TitleColumn)->setText(m_pulls[m_titled].title);
    }
    if (m_titled < m_pulls.size())
        return false;
    m_grids[PullView]->resizeColumnsToContents();
    return true;
}

void frmFolderLocate::FindOverdue(bool all)
{
    const qint64 days = txtDAYS->Value();
    if (txtDAYS->Text().trimmed().isEmpty() || days < 0) {
        modFormFunctions::ShowFieldError(txtDAYS, tr("Type the number of days a folder may be out."));
        return;
    }
    SettingsStore::SaveLongSetting(ComponentName::ApplicationName(), objectName().mid(3), DaysKey, static_cast<qint32>(days));
    m_later->Cancel(OverdueView);
    QList<LocateQueries::HolderGroup> groups;
    bool more = false;
    if (!m_queries->Overdue(static_cast<int>(days), &groups, all ? 0 : OverduePage, &more))
        return;
    const QString cut =
        more ? tr("\nOnly the %1 folders out longest are listed; List all shows every one.").arg(OverduePage) : QString();
    Fill(OverdueView, LocateLists::Overdue(static_cast<int>(days), groups, {}, more));
    cmdAllOverdue->setVisible(more);
    // The age summary counts every loan: it follows the list rather than holding it back.
    picAges->SetCounts({});
    lblAges->setText(tr("Folders out by age - counting...") + cut);
    const qsizetype listed = m_lists[OverdueView]->rowCount();
    m_later->Start(OverdueView, [this, days, listed, more, cut] {
        LocateQueries::Ages ages{};
        if (!m_queries->AgeSummary(&ages))
            return true;
        picAges->SetCounts(ages);
        lblAges->setText(QStringLiteral("Folders out by age - ") + LocateLists::AgesLine(ages) + cut);
        m_headings[OverdueView] = LocateLists::OverdueHeading(static_cast<int>(days), listed, more, ages);
        return true;
    });
}

void frmFolderLocate::ReportNotSaved(const QString &path, const QString &error)
{
    modFormFunctions::MsgBox(tr("The list was not saved to %1: %2").arg(path, error), tr("Export"),
                             modFormFunctions::Buttons::OkOnly, modFormFunctions::Icon::Warning);
}

void frmFolderLocate::cmdPrint_Click()
{
    const View view = Current();
    m_later->Finish(view);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("dlgPrintPreview"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this, view](QPrinter *device) { LocateReport::Print(m_headings[view], *m_lists[view], device); });
    preview.exec();
}

void frmFolderLocate::cmdPdf_Click()
{
    const View view = Current();
    m_later->Finish(view);
    const QString path = QFileDialog::getSaveFileName(this, tr("Export PDF"), QString(), tr("PDF files (*.pdf)"));
    QString error;
    if (!path.isEmpty() && !LocateReport::WritePdf(path, m_headings[view], *m_lists[view], &error))
        ReportNotSaved(path, error);
}

void frmFolderLocate::cmdCsv_Click()
{
    const View view = Current();
    m_later->Finish(view);
    const QString path = QFileDialog::getSaveFileName(this, tr("Export CSV"), QString(), tr("CSV files (*.csv)"));
    QString error;
    if (!path.isEmpty() && !LocateReport::WriteCsv(path, *m_lists[view], &error))
        ReportNotSaved(path, error);
}

void frmFolderLocate::cmdLabels_Click()
{
    // The case view lists the case's history: its label is the case's own.
    const View view = Current();
    QList<CaseKey> keys;
    if (view != CaseView)
        keys = LabelSources::FromList(*m_lists[view]);
    else if (m_shownCase)
        keys << *m_shownCase;
    frmFolderLabels::PrintLabels(this, keys);
}

void frmFolderLocate::DataObject_Error()
{
    // The locator changes nothing: after the report the clerk may simply ask again.
    unsetCursor();
    m_queries->adoFILCHK()->HandleError(this);
}
