#include "frmFolderEdit.h"

#include "records/DataObject.h"
#include "records/FolderStatements.h"
#include "records/Transaction.h"
#include "shared/ComponentName.h"
#include "shared/SettingsStore.h"
#include "shared/Twips.h"
#include "shared/WriteRefusal.h"
#include "shared/controls/AlphaMericBox.h"
#include "shared/controls/DataLabel.h"
#include "shared/controls/MailSlot.h"
#include "shared/modFolderLogging.h"
#include "shared/modFormFunctions.h"
#include "shared/modScreenPos.h"
#include "util/modDateTimeFunctions.h"
#include "util/modFormatCaseNumber.h"

#include <QDate>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString DesignCaption = QStringLiteral("File Checkout");
const QString KeyLoggingAuto = QStringLiteral("mnuAppEditPreferencesLoggingAuto");
const QString KeyLoggingManual = QStringLiteral("mnuAppEditPreferencesLoggingManual");

QLabel *Caption(QWidget *parent, const char *name, const QString &text, const QRect &place)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

QPushButton *Button(QWidget *parent, const char *name, const QString &text, const QRect &place)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(place);
    // The window has no default button: Enter presses only the button that has the focus.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

frmFolderEdit::frmFolderEdit(QWidget *parent) : FormBase(parent)
{
    setObjectName(QStringLiteral("frmFolderEdit"));
    BuildControls();
    BuildMenus();
}

frmFolderEdit::~frmFolderEdit() = default;

void frmFolderEdit::BuildControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The design's size, not to be resized or maximised.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *client = new QWidget(this);
    client->setFixedSize(Twips::Size(4668, 3708));
    layout->addWidget(client);

    QLabel *loanedTo = Caption(client, "Label2", tr("Loaned to:"), Twips::Rect(120, 240, 1455, 345));
    txtFILOTO = new AlphaMericBox(client);
    loanedTo->setBuddy(txtFILOTO); // what a screen reader says for the box
    txtFILOTO->setObjectName(QStringLiteral("txtFILOTO"));
    txtFILOTO->setGeometry(Twips::Rect(1680, 240, 1635, 345));
    txtFILOTO->SetMaxLength(13);
    txtFILOTO->SetCaseType(AlphaMericBox::CaseUpper);
    txtFILOTO->SetRecordSource(QLatin1String(FolderStatements::PartySuggestions));
    txtFILOTO->SetMinCharsToActivate(2);
    connect(txtFILOTO, &AlphaMericBox::Edited, this, &frmFolderEdit::txtFILOTO_Edited);

    Caption(client, "Label10", tr("Loan date:"), Twips::Rect(120, 720, 1455, 345));
    lblFILUDT = new DataLabel(client);
    lblFILUDT->setObjectName(QStringLiteral("lblFILUDT"));
    lblFILUDT->setGeometry(Twips::Rect(1680, 720, 1395, 345));

    Caption(client, "Label3", tr("Loaned by:"), Twips::Rect(120, 1200, 1455, 345));
    lblFILUSR = new DataLabel(client);
    lblFILUSR->setObjectName(QStringLiteral("lblFILUSR"));
    lblFILUSR->setGeometry(Twips::Rect(1680, 1200, 1875, 345));

    lblStatus = Caption(client, "lblStatus", QString(), Twips::Rect(120, 1740, 3375, 345));

    cmdCancel = Button(client, "cmdCancel", tr("&Cancel"), Twips::Rect(120, 2280, 4455, 345));
    cmdSave = Button(client, "cmdSave", tr("&Save"), Twips::Rect(120, 2760, 4455, 345));
    cmdSave->setEnabled(false);
    cmdDelete = Button(client, "cmdDelete", tr("&Delete"), Twips::Rect(120, 3240, 4455, 345));
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdSave, &QPushButton::clicked, this, &frmFolderEdit::cmdSave_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmFolderEdit::cmdDelete_Click);

    setTabOrder(txtFILOTO, cmdDelete);
    setTabOrder(cmdDelete, cmdCancel);
    setTabOrder(cmdCancel, cmdSave);

    tmrUnload = new QTimer(this);
    tmrUnload->setObjectName(QStringLiteral("tmrUnload"));
    tmrUnload->setInterval(1);
    connect(tmrUnload, &QTimer::timeout, this, &frmFolderEdit::tmrUnload_Timer);

    mailslot = new MailSlot(this);
    mailslot->setObjectName(QStringLiteral("mailslot"));
}

void frmFolderEdit::BuildMenus()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);

    lblCaseNumber = new QLabel(bar);
    lblCaseNumber->setObjectName(QStringLiteral("lblCaseNumber"));
    lblCaseNumber->setTextFormat(Qt::PlainText); // the host's type code, never markup
    lblCaseNumber->setContentsMargins(0, 0, 6, 0);
    bar->setCornerWidget(lblCaseNumber, Qt::TopRightCorner);

    QMenu *file = bar->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuAppFile"));
    QAction *exit = file->addAction(tr("E&xit"));
    exit->setObjectName(QStringLiteral("mnuAppFileExit"));
    connect(exit, &QAction::triggered, cmdCancel, &QPushButton::click);

    QMenu *edit = bar->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuAppEdit"));
    QMenu *preferences = edit->addMenu(tr("&Preferences"));
    preferences->setObjectName(QStringLiteral("mnuAppEditPreferences"));
    QMenu *logging = preferences->addMenu(tr("&Logging"));
    logging->setObjectName(QStringLiteral("mnuAppEditPreferencesLogging"));
    mnuAppEditPreferencesLoggingAuto = logging->addAction(tr("&Auto"));
    mnuAppEditPreferencesLoggingAuto->setObjectName(KeyLoggingAuto);
    mnuAppEditPreferencesLoggingManual = logging->addAction(tr("&Manual"));
    mnuAppEditPreferencesLoggingManual->setObjectName(KeyLoggingManual);
    for (QAction *item : {mnuAppEditPreferencesLoggingAuto, mnuAppEditPreferencesLoggingManual})
        item->setCheckable(true);
    connect(mnuAppEditPreferencesLoggingAuto, &QAction::triggered, this,
            [this] { mnuLogging_Click(mnuAppEditPreferencesLoggingAuto, mnuAppEditPreferencesLoggingManual); });
    connect(mnuAppEditPreferencesLoggingManual, &QAction::triggered, this,
            [this] { mnuLogging_Click(mnuAppEditPreferencesLoggingManual, mnuAppEditPreferencesLoggingAuto); });
}

void frmFolderEdit::SetParentHandle(qint32 handle)
{
    if (!m_loaded)
        Form_Load();
    m_parentHandle = handle;
    mailslot->SetParentWindow(handle);
}

QString frmFolderEdit::SettingsSection() const { return objectName().mid(3); }

void frmFolderEdit::Form_Load()
{
    m_loaded = true;
    const QString caseNumber = modFormatCaseNumber::FormatCaseNumber(m_year, m_type, m_sequence, QString(), 0, true);
    setWindowTitle(QStringLiteral("PC/MEVS - ") + DesignCaption + QStringLiteral(" - ") + caseNumber);
    // The design-size window's title bar cuts the caption before the case number.
    lblCaseNumber->setText(caseNumber);

    adoFILCHK = new DataObject(this);
    connect(adoFILCHK, &DataObject::Error, this, &frmFolderEdit::adoFILCHK_Error);
    adoFILCHK->Execute(QLatin1String(FolderStatements::SelectLoan),
                       QVariantList{QVariant::fromValue(m_year), m_type, QVariant::fromValue(m_sequence)});
    ShowLoan(ReadLoan());

    // As a load that failed: the window closes after the box.
    if (!tmrUnload->isActive() && WriteRefusal::Told())
        tmrUnload->start();

    const QString app = ComponentName::ApplicationName();
    mnuAppEditPreferencesLoggingAuto->setChecked(
        SettingsStore::GetBoolSetting(app, SettingsSection(), KeyLoggingAuto, false));
    mnuAppEditPreferencesLoggingManual->setChecked(
        SettingsStore::GetBoolSetting(app, SettingsSection(), KeyLoggingManual, false));
}

frmFolderEdit::Loan frmFolderEdit::ReadLoan() const
{
    if (adoFILCHK->Eof())
        return {};
    return {true, adoFILCHK->Field(QStringLiteral("FILOTO")).toString(),
            adoFILCHK->Field(QStringLiteral("FILUDT")).toString(), adoFILCHK->Field(QStringLiteral("FILUSR")).toString()};
}

void frmFolderEdit::ShowLoan(const Loan &loan)
{
    m_shown = loan;
    cmdDelete->setEnabled(loan.onLoan);
    if (!loan.onLoan) {
        txtFILOTO->SetStoredText(QString());
        // The two labels preview what a save would record.
        lblFILUDT->SetCaption(QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
        lblFILUSR->SetCaption(m_user);
        lblStatus->setText(tr("This file is not currently on loan."));
        return;
    }
    // As the court holds it: a Delete logs it and a Save keeps what the clerk did not change.
    txtFILOTO->SetStoredText(loan.party);
    lblFILUSR->SetCaption(loan.user);
    // A stored date that is empty or no month/day/year date shows blank.
    lblFILUDT->SetCaption(modDateTimeFunctions::FormatLoanDate(loan.date));
    lblStatus->setText(tr("This file is currently on loan."));
}

bool frmFolderEdit::StillAsShown(Transaction &change, const QString &nothingDone)
{
    if (!change.Held(adoFILCHK)) {
        unsetCursor();
        return false; // told as a data error; the window is closing
    }
    bool failed = false;
    const QMetaObject::Connection watch = connect(adoFILCHK, &DataObject::Error, this, [&failed] { failed = true; });
    adoFILCHK->Execute(QLatin1String(FolderStatements::SelectLoan),
                       QVariantList{QVariant::fromValue(m_year), m_type, QVariant::fromValue(m_sequence)});
    disconnect(watch);
    if (failed) {
        // The data error has been told and the window is closing: the step runs on as before.
        change.Rollback();
        return true;
    }
    const Loan now = ReadLoan();
    if (now == m_shown)
        return true;
    // Another clerk (or program) changed the loan since it was shown: never overwrite or end a
    // loan this window did not show, nor log a change that did not happen.
    change.Rollback();
    unsetCursor();
    const QString state =
        now.onLoan ? tr("It is now on loan to %1 since %2, recorded by %3.")
                         .arg(now.party.trimmed(), modDateTimeFunctions::FormatLoanDate(now.date), now.user.trimmed())
                   : tr("It is not on loan now.");
    modFormFunctions::MsgBox(tr("This folder's loan was changed since this window showed it. ") + state + QLatin1Char('\n') +
                                 nothingDone,
                             tr("Folder Changed"), modFormFunctions::Buttons::OkOnly, modFormFunctions::Icon::Warning);
    ShowLoan(now);
    cmdSave->setEnabled(false);
    return false;
}

void frmFolderEdit::showEvent(QShowEvent *e)
{
    // A host that never sets the handle still gets a loaded window.
    if (!m_loaded)
        Form_Load();
    FormBase::showEvent(e);
}

const QWidget *frmFolderEdit::CloseIndicator() const { return cmdSave; }

void frmFolderEdit::Form_Activate()
{
    // After a data error during load the window hides instead of being placed, which ends the
    // modal showing; the timer then closes it.
    modScreenPos::RestoreFormPosition(this, tmrUnload->isActive(), true, true, false, false);
}

void frmFolderEdit::txtFILOTO_Edited() { cmdSave->setEnabled(true); }

bool frmFolderEdit::ScreenHasErrors() { return modFormFunctions::RequiredFieldMissing(txtFILOTO); }

void frmFolderEdit::cmdSave_Click()
{
    cmdSave->setEnabled(false);
    if (ScreenHasErrors())
        return;
    setCursor(Qt::WaitCursor);
    const QVariantList key{QVariant::fromValue(m_year), m_type, QVariant::fromValue(m_sequence)};
    const QVariantList write =
        QVariantList{txtFILOTO->Text(), QDate::currentDate().toString(QStringLiteral("MMddyyyy")), m_user} + key;

    Transaction change(m_year, m_type, m_sequence);
    if (!StillAsShown(change, tr("Nothing was saved.")))
        return;
    const bool found = !adoFILCHK->Eof();
    LoggedChange(
        change,
        [&] { adoFILCHK->Execute(QLatin1String(found ? FolderStatements::UpdateLoan : FolderStatements::InsertLoan), write); },
        true);
    mailslot->Send(QStringLiteral("SAVE"));
    unsetCursor();
    close();
}

void frmFolderEdit::cmdDelete_Click()
{
    setCursor(Qt::WaitCursor);
    Transaction change(m_year, m_type, m_sequence);
    if (!StillAsShown(change, tr("Nothing was checked in.")))
        return;
    LoggedChange(
        change,
        [this] {
            adoFILCHK->Execute(QLatin1String(FolderStatements::DeleteLoanEditor),
                               QVariantList{QVariant::fromValue(m_year), m_type, QVariant::fromValue(m_sequence)});
        },
        false);
    unsetCursor();
    close();
}

void frmFolderEdit::LoggedChange(Transaction &change, const std::function<void()> &statement, bool checkedOut)
{
    const bool logAuto = mnuAppEditPreferencesLoggingAuto->isChecked();
    const bool logManual = mnuAppEditPreferencesLoggingManual->isChecked();
    bool failed = false;
    const QMetaObject::Connection watch = connect(adoFILCHK, &DataObject::Error, this, [&failed] { failed = true; });
    statement();
    // A change whose statement failed is still logged, on its own: nothing of it is in the
    // transaction to keep.
    if (failed)
        change.Rollback();
    modFolderLogging::LogFolderChange(m_year, m_type, m_sequence, txtFILOTO->Text(), checkedOut, m_user, logAuto,
                                      logManual);
    disconnect(watch);
    change.Commit(adoFILCHK);
}

void frmFolderEdit::mnuLogging_Click(QAction *clicked, QAction *other)
{
    // The action has already flipped its own check mark; the two items exclude each other.
    if (clicked->isChecked())
        other->setChecked(false);
}

void frmFolderEdit::adoFILCHK_Error()
{
    unsetCursor();
    adoFILCHK->HandleError(this);
    tmrUnload->start();
}

void frmFolderEdit::tmrUnload_Timer()
{
    // At most one close-guard question at a time; the next tick asks again.
    if (!IsAskingToClose())
        close();
}

void frmFolderEdit::Form_Unload()
{
    tmrUnload->stop();
    modScreenPos::SaveFormPosition(this);
    const QString app = ComponentName::ApplicationName();
    SettingsStore::SaveBoolSetting(app, SettingsSection(), KeyLoggingAuto,
                                   mnuAppEditPreferencesLoggingAuto->isChecked());
    SettingsStore::SaveBoolSetting(app, SettingsSection(), KeyLoggingManual,
                                   mnuAppEditPreferencesLoggingManual->isChecked());
    if (adoFILCHK) {
        adoFILCHK->Close();
        delete adoFILCHK;
    }
}
