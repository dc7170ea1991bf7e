#include "frmFolderDocket.h"

#include "DocketRun.h"
#include "records/DataObject.h"
#include "records/FolderStatements.h"
#include "shared/ComponentName.h"
#include "shared/SettingsStore.h"
#include "shared/WriteRefusal.h"
#include "shared/controls/AlphaMericBox.h"
#include "shared/controls/Combo.h"
#include "shared/controls/DatePicker.h"
#include "shared/controls/OptionButtonGroup.h"
#include "shared/modFormFunctions.h"
#include "shared/modScreenPos.h"
#include "shared/modXMLTableFunctions.h"
#include "util/modDateTimeFunctions.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString All = QStringLiteral("*ALL");
const QString Out = QStringLiteral("*OUT");
// The editor's section holds the logging preference that every run follows.
const QString LoggingSection = QStringLiteral("FolderEdit");

AlphaMericBox *Box(const char *name, int caseType, int maxLength)
{
    auto *box = new AlphaMericBox;
    box->setObjectName(QLatin1String(name));
    box->SetCaseType(caseType);
    box->SetMaxLength(maxLength);
    return box;
}

QLabel *Label(const char *name, const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

} // namespace

frmFolderDocket::frmFolderDocket(QWidget *parent) : FormBase(parent)
{
    setObjectName(QStringLiteral("frmFolderDocket"));
    BuildControls();
}

frmFolderDocket::~frmFolderDocket() = default;

void frmFolderDocket::BuildControls()
{
    dtpREQDAT = new DatePicker;
    dtpREQDAT->setObjectName(QStringLiteral("dtpREQDAT"));
    dtpREQDAT->SetMinDate(QDate(1601, 1, 1));
    dtpREQDAT->SetMaxDate(QDate(9999, 12, 31));
    dtpREQDAT->SetValueAsLongFormat(QStringLiteral("mmddyyyy"));
    txtBEGTIM = Box("txtBEGTIM", AlphaMericBox::CaseUpper, 4);
    txtENDTIM = Box("txtENDTIM", AlphaMericBox::CaseUpper, 4);
    for (AlphaMericBox *time : {txtBEGTIM, txtENDTIM}) {
        time->SetDataType(AlphaMericBox::DataNumeric);
        time->SetAlignment(AlphaMericBox::AlignRight);
        time->setToolTip(tr("A time as hhmm, without AM or PM; 0 means no time limit.\n"
                            "1 to 799 are read as afternoon times: 130 is 1:30 PM."));
    }
    cboREQJDG = new Combo;
    cboREQJDG->setObjectName(QStringLiteral("cboREQJDG"));
    cboREQJDG->SetCols(2);
    cboREQJDG->SetHeaderCaptions({tr("Active"), tr("Judge")});
    cboREQJDG->SetKeyItems({QStringLiteral("Col0"), QStringLiteral("Col1")});
    cboREQJDG->SetHiddenItems({false, false});
    cboREQJDG->SetDataField(QStringLiteral("1"));
    cboREQJDG->SetDataFieldToDisplay(QStringLiteral("1"));
    cboREQROM = new Combo;
    cboREQROM->setObjectName(QStringLiteral("cboREQROM"));
    cboREQROM->SetColumnHeaders(false);
    txtREQBRN = Box("txtREQBRN", AlphaMericBox::CaseUpper, 1);

    auto *fraSelection = new QGroupBox(tr("Selection"));
    fraSelection->setObjectName(QStringLiteral("fraSelection"));
    auto *selection = new QFormLayout(fraSelection);
    selection->addRow(Label("lblREQDAT", tr("Hearing date:"), dtpREQDAT), dtpREQDAT);
    selection->addRow(Label("lblBEGTIM", tr("Begin time:"), txtBEGTIM), txtBEGTIM);
    selection->addRow(Label("lblENDTIM", tr("End time:"), txtENDTIM), txtENDTIM);
    selection->addRow(Label("lblPRMJDG", tr("Judge:"), cboREQJDG), cboREQJDG);
    selection->addRow(Label("lblPRMROM", tr("Courtroom:"), cboREQROM), cboREQROM);
    selection->addRow(Label("lblREQBRN", tr("Branch code:"), txtREQBRN), txtREQBRN);

    optAction = new OptionButtonGroup;
    optAction->setObjectName(QStringLiteral("optAction"));
    optAction->AddButton(tr("Check folders out"), Out);
    optAction->AddButton(tr("Check folders in"), QStringLiteral("*IN"));
    txtREQOTO = Box("txtREQOTO", AlphaMericBox::CaseUpper, 13);
    txtREQOTO->SetRecordSource(QLatin1String(FolderStatements::PartySuggestions));
    lblREQOTO = Label("lblREQOTO", tr("Check out to:"), txtREQOTO);
    lblREQOTO->setEnabled(false);
    auto *fraOutput = new QGroupBox(tr("Output"));
    fraOutput->setObjectName(QStringLiteral("fraOutput"));
    auto *output = new QFormLayout(fraOutput);
    output->addRow(optAction);
    output->addRow(lblREQOTO, txtREQOTO);

    cmdCancel = new QPushButton(tr("&Cancel"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdRun = new QPushButton(tr("&Run"));
    cmdRun->setObjectName(QStringLiteral("cmdRun"));
    cmdRun->setEnabled(false);
    for (QPushButton *button : {cmdCancel, cmdRun})
        button->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    // Wide enough for the caption to show whole in the title bar.
    setMinimumWidth(440);
    layout->addWidget(fraSelection);
    layout->addWidget(fraOutput);
    layout->addWidget(cmdCancel);
    layout->addWidget(cmdRun);

    setTabOrder(dtpREQDAT, txtBEGTIM);
    setTabOrder(txtBEGTIM, txtENDTIM);
    setTabOrder(txtENDTIM, cboREQJDG);
    setTabOrder(cboREQJDG, cboREQROM);
    setTabOrder(cboREQROM, txtREQBRN);
    setTabOrder(txtREQBRN, optAction->Button(0));
    setTabOrder(optAction->Button(0), optAction->Button(1));
    setTabOrder(optAction->Button(1), txtREQOTO);
    setTabOrder(txtREQOTO, cmdCancel);
    setTabOrder(cmdCancel, cmdRun);

    connect(cboREQJDG, &Combo::Change, this, [this] {
        SetPartyState();
        UpdateRunButton();
    });
    connect(optAction, &OptionButtonGroup::Click, this, [this] {
        SetPartyState();
        UpdateRunButton();
    });
    connect(dtpREQDAT, &DatePicker::Change, this, &frmFolderDocket::UpdateRunButton);
    connect(cboREQROM, &Combo::Change, this, &frmFolderDocket::UpdateRunButton);
    connect(txtREQOTO, &AlphaMericBox::Change, this, &frmFolderDocket::UpdateRunButton);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdRun, &QPushButton::clicked, this, &frmFolderDocket::cmdRun_Click);
}

void frmFolderDocket::showEvent(QShowEvent *e)
{
    if (!m_loaded)
        Load();
    FormBase::showEvent(e);
}

void frmFolderDocket::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    setWindowTitle(QStringLiteral("PC/MEVS - Update Folder Status for Docketed Cases"));
    modXMLTableFunctions::LoadList(cboREQJDG, QStringLiteral("ARYJDG.XML"), QStringLiteral("Y\t*ALL"));
    modXMLTableFunctions::LoadList(cboREQROM, QStringLiteral("ARYROM.XML"), All);

    const QString app = ComponentName::ApplicationName();
    const QString section = objectName().mid(3);
    dtpREQDAT->SetValue(SettingsStore::GetDateSetting(app, section, QStringLiteral("HearingDate"), QDate::currentDate()));
    txtBEGTIM->SetValue(SettingsStore::GetLongSetting(app, section, QStringLiteral("BeginTime"), 0));
    txtENDTIM->SetValue(SettingsStore::GetLongSetting(app, section, QStringLiteral("EndTime"), 0));
    cboREQJDG->SetValue(SettingsStore::GetSetting(app, section, QStringLiteral("Judge"), All));
    cboREQROM->SetValue(SettingsStore::GetSetting(app, section, QStringLiteral("Room"), All));
    txtREQBRN->SetText(SettingsStore::GetSetting(app, section, QStringLiteral("Branch"), QString()));
    SetPartyState();
    UpdateRunButton();
    // A user who may not change loans has nothing to run here: told, the window goes.
    if (WriteRefusal::Told()) {
        cmdRun->setEnabled(false);
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void frmFolderDocket::Form_Activate() { modScreenPos::RestoreFormPosition(this, false, true, true, true, false); }

const QWidget *frmFolderDocket::CloseIndicator() const { return cmdRun; }

void frmFolderDocket::SetPartyState()
{
    const bool applies = optAction->Value() == Out && cboREQJDG->Value() != All;
    txtREQOTO->setEnabled(applies);
    lblREQOTO->setEnabled(applies);
    // Why the box cannot be typed into while folders go out: there is no single party.
    const QString why = !applies && optAction->Value() == Out
                            ? tr("With the judge *ALL each folder goes to the judge of its own hearing.")
                            : QString();
    txtREQOTO->setToolTip(why);
    lblREQOTO->setToolTip(why);
    if (!applies)
        txtREQOTO->SetText(QString());
}

bool frmFolderDocket::PartyMissing() const
{
    return optAction->Value() == Out && cboREQJDG->Value() != All &&
           modFormFunctions::TrimBlanks(txtREQOTO->Text()).isEmpty();
}

void frmFolderDocket::UpdateRunButton() { cmdRun->setEnabled(RunAllowed()); }

bool frmFolderDocket::RunAllowed()
{
    bool allowed = dtpREQDAT->ValueAsLong() > 0 && cboREQROM->IsValid() && cboREQJDG->IsValid() &&
                   !optAction->Value().isEmpty();
    if (PartyMissing())
        allowed = false;
    cmdRun->setDefault(allowed);
    return allowed;
}

bool frmFolderDocket::ScreenHasErrors()
{
    using modFormFunctions::ShowFieldError;
    bool atEnd = false;
    const QString problem =
        modDateTimeFunctions::HearingTimeRangeProblem(txtBEGTIM->Value(), txtENDTIM->Value(), &atEnd);
    if (!problem.isEmpty()) {
        ShowFieldError(atEnd ? txtENDTIM : txtBEGTIM, problem);
        return true;
    }
    if (PartyMissing()) {
        ShowFieldError(txtREQOTO, tr("You must indicate the party to whom the folders are checked out."));
        return true;
    }
    return false;
}

DocketSelection frmFolderDocket::Selection() const
{
    DocketSelection s;
    s.hearingDate = dtpREQDAT->Value();
    s.beginTime = static_cast<qint32>(txtBEGTIM->Value());
    s.endTime = static_cast<qint32>(txtENDTIM->Value());
    s.judge = cboREQJDG->Value();
    s.room = cboREQROM->Value();
    s.branch = txtREQBRN->Text();
    s.action = optAction->Value();
    s.party = txtREQOTO->Text();
    return s;
}

void frmFolderDocket::cmdRun_Click()
{
    if (ScreenHasErrors())
        return;
    setCursor(Qt::WaitCursor);
    const DocketSelection selection = Selection();
    const QString app = ComponentName::ApplicationName();
    const QString section = objectName().mid(3);
    SettingsStore::SaveDateSetting(app, section, QStringLiteral("HearingDate"), selection.hearingDate);
    SettingsStore::SaveLongSetting(app, section, QStringLiteral("BeginTime"), selection.beginTime);
    SettingsStore::SaveLongSetting(app, section, QStringLiteral("EndTime"), selection.endTime);
    SettingsStore::SaveSetting(app, section, QStringLiteral("Judge"), selection.judge);
    SettingsStore::SaveSetting(app, section, QStringLiteral("Room"), selection.room);
    SettingsStore::SaveSetting(app, section, QStringLiteral("Branch"), selection.branch);
    const bool logAuto = SettingsStore::GetBoolSetting(app, LoggingSection, QStringLiteral("mnuAppEditPreferencesLoggingAuto"), false);
    const bool logManual =
        SettingsStore::GetBoolSetting(app, LoggingSection, QStringLiteral("mnuAppEditPreferencesLoggingManual"), false);

    m_run = new DocketRun(selection, m_user, logAuto, logManual, this);
    for (DataObject *data : {m_run->adoHRGDTA(), m_run->adoMASTER(), m_run->adoFILCHK()})
        connect(data, &DataObject::Error, this, [this, data] { DataObject_Error(data); });

    // A long docket shows its progress, and the window keeps painting.
    QProgressDialog progress(tr("Updating folder status..."), QString(), 0, 0, this);
    progress.setObjectName(QStringLiteral("prgRun"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    const int count = m_run->Run([&progress](qsizetype done, qsizetype total) {
        progress.setMaximum(static_cast<int>(total));
        progress.setValue(static_cast<int>(done));
    });
    progress.reset();
    const bool failed = !m_run || m_run->Failed();
    const QStringList leftOut = m_run ? m_run->LeftOut() : QStringList();
    if (m_run) {
        m_run->Close();
        delete m_run;
    }
    unsetCursor();
    if (failed)
        return; // the error has been reported and the window asked to close
    cmdRun->setEnabled(false);
    modFormFunctions::MsgBox(QString::number(count) + tr(" folder status change(s) have been made."),
                             tr("Batch Folder Update"));
    if (!leftOut.isEmpty())
        modFormFunctions::MsgBox(tr("%n hearing(s) could not be run, their rows hold no usable case number or judge:\n",
                                    nullptr, static_cast<int>(leftOut.size())) +
                                     modFormFunctions::ShortList(leftOut),
                                 tr("Batch Folder Update"), modFormFunctions::Buttons::OkOnly,
                                 modFormFunctions::Icon::Warning);
    close();
}

void frmFolderDocket::DataObject_Error(DataObject *source)
{
    unsetCursor();
    source->HandleError(this);
    close();
}

void frmFolderDocket::Form_Unload()
{
    modScreenPos::SaveFormPosition(this);
}
