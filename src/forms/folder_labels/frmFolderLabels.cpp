#include "frmFolderLabels.h"

#include "labels/LabelCases.h"
#include "labels/LabelSettings.h"
#include "shared/ComponentName.h"
#include "shared/SettingsStore.h"
#include "shared/modFormFunctions.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("Print labels");
const QString Section = QStringLiteral("FolderLabels");
const QString LayoutKey = QStringLiteral("Layout");

} // namespace

frmFolderLabels::frmFolderLabels(const QList<FolderLabel> &labels, QWidget *parent) : QDialog(parent), m_labels(labels)
{
    setObjectName(QStringLiteral("frmFolderLabels"));
    setWindowTitle(QStringLiteral("PC/MEVS - ") + Title);

    optSheet = new QRadioButton(tr("&Sheet of 30 (3 x 10, 2 5/8 x 1 in)"));
    optSheet->setObjectName(QStringLiteral("optSheet"));
    optRoll = new QRadioButton(tr("&Roll, one label (2 1/4 x 1 1/4 in)"));
    optRoll->setObjectName(QStringLiteral("optRoll"));
    spnStart = new QSpinBox;
    spnStart->setObjectName(QStringLiteral("spnStart"));
    spnStart->setRange(1, LabelLayout::Of(LabelLayout::Sheet).PerPage());
    spnStart->setToolTip(tr("The first free label of a part-used sheet, counted across then down."));
    lblCount = new QLabel;
    lblCount->setObjectName(QStringLiteral("lblCount"));
    cmdPreview = modFormFunctions::NamedButton("cmdPreview", tr("Pre&view…"));
    cmdPrint = modFormFunctions::NamedButton("cmdPrint", tr("&Print…"));
    cmdPdf = modFormFunctions::NamedButton("cmdPdf", tr("Save P&DF…"));
    cmdClose = modFormFunctions::NamedButton("cmdClose", tr("C&lose"));

    auto *form = new QFormLayout;
    auto *layouts = new QVBoxLayout;
    layouts->addWidget(optSheet);
    layouts->addWidget(optRoll);
    form->addRow(tr("Labels:"), layouts);
    auto *startLabel = new QLabel(tr("S&tart at label:"));
    startLabel->setBuddy(spnStart);
    form->addRow(startLabel, spnStart);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdPreview);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdPdf);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblCount);
    layout->addLayout(form);
    layout->addLayout(buttons);

    const bool roll = SettingsStore::GetSetting(ComponentName::ApplicationName(), Section, LayoutKey) ==
                      LabelLayout::Of(LabelLayout::Roll).Name();
    (roll ? optRoll : optSheet)->setChecked(true);
    SetLayoutState();

    connect(optSheet, &QRadioButton::toggled, this, &frmFolderLabels::SetLayoutState);
    connect(spnStart, &QSpinBox::valueChanged, this, &frmFolderLabels::SetLayoutState);
    connect(cmdPreview, &QPushButton::clicked, this, &frmFolderLabels::cmdPreview_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmFolderLabels::cmdPrint_Click);
    connect(cmdPdf, &QPushButton::clicked, this, &frmFolderLabels::cmdPdf_Click);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void frmFolderLabels::PrintLabels(QWidget *parent, const QList<CaseKey> &keys)
{
    if (keys.isEmpty()) {
        modFormFunctions::MsgBox(tr("There are no cases listed to print labels for."), Title);
        return;
    }
    QList<FolderLabel> labels;
    QString error;
    if (parent)
        parent->setCursor(Qt::WaitCursor);
    const bool titled = LabelCases::Titled(keys, &labels, &error);
    if (parent)
        parent->unsetCursor();
    if (!titled) {
        modFormFunctions::MsgBox(error, QStringLiteral("Data Error"), modFormFunctions::Buttons::OkOnly,
                                 modFormFunctions::Icon::Critical);
        return;
    }
    frmFolderLabels dialog(labels, parent);
    dialog.exec();
}

LabelLayout frmFolderLabels::Layout() const
{
    return LabelLayout::Of(optRoll->isChecked() ? LabelLayout::Roll : LabelLayout::Sheet);
}

LabelPrinter frmFolderLabels::Printer() const
{
    return LabelPrinter(Layout(), optRoll->isChecked() ? 1 : spnStart->value(), LabelSettings::CourtName());
}

void frmFolderLabels::SetLayoutState()
{
    const bool sheet = optSheet->isChecked();
    spnStart->setEnabled(sheet);
    const int count = static_cast<int>(m_labels.size());
    const int pages = Printer().PageCount(count);
    lblCount->setText(sheet ? tr("%n label(s) for the cases listed, on %1 sheet(s).", nullptr, count).arg(pages)
                            : tr("%n label(s) for the cases listed.", nullptr, count));
    SettingsStore::SaveSetting(ComponentName::ApplicationName(), Section, LayoutKey, Layout().Name());
}

void frmFolderLabels::Prepare(QPrinter *printer) const
{
    // The labels are placed on the paper itself, not inside the printer's margins.
    printer->setFullPage(true);
    printer->setPageLayout(QPageLayout(Layout().PageSize(), QPageLayout::Portrait, QMarginsF()));
}

void frmFolderLabels::cmdPreview_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    Prepare(&printer);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName(QStringLiteral("dlgPrintPreview"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *device) {
        Prepare(device);
        Printer().Print(device, m_labels);
    });
    preview.exec();
}

void frmFolderLabels::cmdPrint_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    Prepare(&printer);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("dlgPrint"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    Prepare(&printer);
    QString error;
    if (!Printer().Print(&printer, m_labels, &error))
        modFormFunctions::MsgBox(tr("The labels were not printed: %1").arg(error), Title,
                                 modFormFunctions::Buttons::OkOnly, modFormFunctions::Icon::Warning);
}

void frmFolderLabels::cmdPdf_Click()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save labels as PDF"), QString(), tr("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    const LabelPrinter printer = Printer();
    QString error;
    if (!printer.WritePdf(path, m_labels, LabelPrinter::DefaultPdfDpi(Layout()), &error))
        modFormFunctions::MsgBox(tr("The labels were not saved to %1: %2").arg(path, error), Title,
                                 modFormFunctions::Buttons::OkOnly, modFormFunctions::Icon::Warning);
}
