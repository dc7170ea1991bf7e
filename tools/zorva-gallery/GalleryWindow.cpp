#include "GalleryWindow.h"

#include "records/FolderStatements.h"
#include "shared/controls/AlphaMericBox.h"
#include "shared/controls/Combo.h"
#include "shared/controls/DataLabel.h"
#include "shared/controls/DatePicker.h"
#include "shared/controls/FlexGrid.h"
#include "shared/controls/MailSlot.h"
#include "shared/controls/OptionButtonGroup.h"
#include "shared/modSetGridDefaultColor.h"
#include "shared/modXMLTableFunctions.h"

#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPushButton>
#include <QRadioButton>
#include <QTime>
#include <QVBoxLayout>

namespace {

const QString All = QStringLiteral("*ALL");

// The batch window's grid columns.
enum GridColumn { ColYear, ColType, ColSequence, ColTitle, ColHolder, ColumnCount };

QString Quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

GalleryWindow::GalleryWindow(const QString &dataFolder, const QString &courtProblem, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmGallery"));
    setWindowTitle(QStringLiteral("ZORVA control gallery"));

    auto *layout = new QVBoxLayout(this);
    m_rows = new QGridLayout;
    m_rows->setColumnStretch(1, 1);
    m_rows->setColumnMinimumWidth(2, 330);
    m_rows->setHorizontalSpacing(16);
    layout->addLayout(m_rows);

    txtParty = new AlphaMericBox;
    txtParty->setObjectName(QStringLiteral("txtParty"));
    txtParty->SetCaseType(AlphaMericBox::CaseUpper);
    txtParty->SetMaxLength(13);
    txtParty->SetRecordSource(QLatin1String(FolderStatements::PartySuggestions));
    txtParty->SetMinCharsToActivate(1);
    QLabel *partyReadout = Readout("lblPartyValue");
    partyReadout->setText(courtProblem.isEmpty() ? QStringLiteral("upper case; type S for earlier holders")
                                                 : QStringLiteral("no suggestions: ") + courtProblem);
    AddRow(QStringLiteral("AlphaMericBox"), txtParty, partyReadout);

    txtNumber = new AlphaMericBox;
    txtNumber->setObjectName(QStringLiteral("txtNumber"));
    txtNumber->SetDataType(AlphaMericBox::DataNumeric);
    txtNumber->SetAlignment(AlphaMericBox::AlignRight);
    txtNumber->SetMaxLength(4);
    QLabel *numberReadout = Readout("lblNumberValue");
    connect(txtNumber, &AlphaMericBox::Change, numberReadout, [this, numberReadout] {
        numberReadout->setText(QStringLiteral("digits only; Value() = %1").arg(txtNumber->Value()));
    });
    txtNumber->SetValue(930);
    AddRow(QStringLiteral("AlphaMericBox"), txtNumber, numberReadout);

    lblStyle = new DataLabel;
    lblStyle->setObjectName(QStringLiteral("lblStyle"));
    lblStyle->SetCaption(QStringLiteral("ABLE VS BAKER <b>& CO</b>"));
    QLabel *styleReadout = Readout("lblStyleValue");
    styleReadout->setText(QStringLiteral("read-only; markup shown as typed"));
    AddRow(QStringLiteral("DataLabel"), lblStyle, styleReadout);

    dtpDate = new DatePicker;
    dtpDate->setObjectName(QStringLiteral("dtpDate"));
    QLabel *dateReadout = Readout("lblDateValue");
    const auto showDate = [this, dateReadout] {
        dateReadout->setText(QStringLiteral("ValueAsLong() = %1").arg(dtpDate->ValueAsLong()));
    };
    connect(dtpDate, &DatePicker::Change, dateReadout, showDate);
    showDate();
    AddRow(QStringLiteral("DatePicker"), dtpDate, dateReadout);

    optAction = new OptionButtonGroup;
    optAction->setObjectName(QStringLiteral("optAction"));
    optAction->AddButton(QStringLiteral("Check folders out"), QStringLiteral("*OUT"));
    optAction->AddButton(QStringLiteral("Check folders in"), QStringLiteral("*IN"));
    QLabel *actionReadout = Readout("lblActionValue");
    const auto showAction = [this, actionReadout] {
        actionReadout->setText(QStringLiteral("Value() = ") + Quoted(optAction->Value()));
    };
    connect(optAction, &OptionButtonGroup::Click, actionReadout, showAction);
    optAction->Button(0)->setChecked(true);
    showAction();
    AddRow(QStringLiteral("OptionButtonGroup"), optAction, actionReadout);

    cboJudge = new Combo;
    cboJudge->setObjectName(QStringLiteral("cboJudge"));
    cboJudge->SetCols(2);
    cboJudge->SetHeaderCaptions({QStringLiteral("Active"), QStringLiteral("Judge")});
    cboJudge->SetKeyItems({QStringLiteral("Col0"), QStringLiteral("Col1")});
    cboJudge->SetDataField(QStringLiteral("1"));
    cboJudge->SetDataFieldToDisplay(QStringLiteral("1"));
    QLabel *judgeReadout = Readout("lblJudgeValue");
    LoadCombo(cboJudge, dataFolder + QStringLiteral("/ARYJDG.XML"), QStringLiteral("Y\t") + All);
    const auto showJudge = [this, judgeReadout] {
        judgeReadout->setText(QStringLiteral("two columns; Value() = ") + Quoted(cboJudge->Value()));
    };
    connect(cboJudge, &Combo::Change, judgeReadout, showJudge);
    cboJudge->SetValue(All);
    showJudge();
    AddRow(QStringLiteral("Combo"), cboJudge, judgeReadout);

    cboRoom = new Combo;
    cboRoom->setObjectName(QStringLiteral("cboRoom"));
    cboRoom->SetColumnHeaders(false);
    QLabel *roomReadout = Readout("lblRoomValue");
    LoadCombo(cboRoom, dataFolder + QStringLiteral("/ARYROM.XML"), All);
    const auto showRoom = [this, roomReadout] {
        roomReadout->setText(QStringLiteral("one column; Value() = ") + Quoted(cboRoom->Value()));
    };
    connect(cboRoom, &Combo::Change, roomReadout, showRoom);
    cboRoom->SetValue(QStringLiteral("CTR"));
    showRoom();
    AddRow(QStringLiteral("Combo"), cboRoom, roomReadout);

    // The gallery plays the host too: it listens on its own handle, as the host does, and can
    // stop listening to show a message dropped.
    mailslot = new MailSlot(this);
    mailslot->setObjectName(QStringLiteral("mailslot"));
    mailslot->SetParentWindow(static_cast<qint32>(winId()));
    mailslot->SetTimeout(500);
    m_server = new QLocalServer(this);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    const QString line = QString::fromUtf8(socket->readLine()).trimmed();
                    lblDelivery->setText(lblDelivery->text() + QStringLiteral("; got ") + Quoted(line) +
                                         QStringLiteral(" at ") +
                                         QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
                }
            });
        }
    });
    auto *mail = new QWidget;
    auto *mailRow = new QHBoxLayout(mail);
    mailRow->setContentsMargins(0, 0, 0, 0);
    cmdSend = new QPushButton(QStringLiteral("Send \"SAVE\""));
    cmdSend->setObjectName(QStringLiteral("cmdSend"));
    cmdSend->setAutoDefault(false);
    chkListen = new QCheckBox(QStringLiteral("Listen on ") + mailslot->ServerName());
    chkListen->setObjectName(QStringLiteral("chkListen"));
    mailRow->addWidget(cmdSend);
    mailRow->addWidget(chkListen, 1);
    lblDelivery = Readout("lblDelivery");
    lblDelivery->setText(QStringLiteral("nothing sent yet"));
    connect(chkListen, &QCheckBox::toggled, this, &GalleryWindow::SetListening);
    connect(cmdSend, &QPushButton::clicked, this, &GalleryWindow::SendMessage);
    chkListen->setChecked(true);
    AddRow(QStringLiteral("MailSlot"), mail, lblDelivery);

    grd = BuildGrid(dataFolder);
    auto *gridTitle = new QLabel(QStringLiteral("FlexGrid"));
    gridTitle->setObjectName(QStringLiteral("lblClassFlexGrid"));
    QFont bold = gridTitle->font();
    bold.setBold(true);
    gridTitle->setFont(bold);
    auto *gridNote = new QLabel(QStringLiteral("the batch window's look: year and type lists, locked navy "
                                               "title and holder cells, the court's grid colours"));
    gridNote->setObjectName(QStringLiteral("lblGridNote"));
    gridNote->setWordWrap(true);
    layout->addSpacing(8);
    layout->addWidget(gridTitle);
    layout->addWidget(gridNote);
    layout->addWidget(grd, 1);

    if (!m_problems.isEmpty()) {
        auto *problems = new QLabel(m_problems.trimmed());
        problems->setObjectName(QStringLiteral("lblProblems"));
        problems->setStyleSheet(QStringLiteral("color: #a00000"));
        problems->setWordWrap(true);
        layout->addWidget(problems);
    }
    resize(940, 560);
}

void GalleryWindow::AddRow(const QString &className, QWidget *control, QWidget *readout)
{
    const int row = m_rows->rowCount();
    auto *name = new QLabel(className);
    name->setObjectName(QStringLiteral("lblClass") + QString::number(row));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    name->setBuddy(control);
    m_rows->addWidget(name, row, 0, Qt::AlignLeft | Qt::AlignVCenter);
    m_rows->addWidget(control, row, 1);
    m_rows->addWidget(readout, row, 2);
}

QLabel *GalleryWindow::Readout(const char *name)
{
    auto *label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

void GalleryWindow::LoadCombo(Combo *combo, const QString &path, const QString &allRow)
{
    QString error;
    if (!combo->LoadFromFile(path, &error))
        m_problems += QDir::toNativeSeparators(path) + QStringLiteral(": ") + error + QLatin1Char('\n');
    combo->InsertRow(allRow, 1);
}

FlexGrid *GalleryWindow::BuildGrid(const QString &dataFolder)
{
    using namespace modSetGridDefaultColor;
    auto *grid = new FlexGrid;
    grid->setObjectName(QStringLiteral("grd"));
    grid->setCols(ColumnCount);
    grid->setFixedRows(1);
    grid->setRows(1);
    const QStringList keys{QStringLiteral("FILYER"), QStringLiteral("FILTYP"), QStringLiteral("FILSEQ"),
                           QStringLiteral("TITLE"), QStringLiteral("FILOTO")};
    const QStringList headers{QStringLiteral("Case"), QString(), QString(), QStringLiteral("Title"),
                              QStringLiteral("Checked Out")};
    const int widths[ColumnCount] = {900, 900, 1000, 5200, 2400};
    for (int col = 0; col < ColumnCount; ++col) {
        grid->setColKey(col, keys[col]);
        grid->setTextMatrix(0, col, headers[col]);
        grid->setColWidth(col, widths[col]);
    }

    QStringList years;
    for (int year = QDate::currentDate().year(); year >= 1965; --year)
        years << QString::number(year);
    grid->setColComboList(grid->ColIndex(QStringLiteral("FILYER")), years.join(QLatin1Char('|')));
    grid->setColComboList(grid->ColIndex(QStringLiteral("FILTYP")),
                          modXMLTableFunctions::XMLTableComboList(dataFolder + QStringLiteral("/ARYTYP.XML"),
                                                                  QStringLiteral("TYPCTP,TYPDSC"),
                                                                  QStringLiteral("TYPCTP"), QString()));

    grid->setEditable(FlexGrid::EditKeyboardMouse);
    SetGridDefaultColor(*grid, true);
    const QStringList rows{
        QStringLiteral("2009\tCV\t123\tABLE VS BAKER\tSMITH"),
        QStringLiteral("2018\tCF\t311\tSTATE VS DOE\tPROSECUTOR"),
        QStringLiteral("2019\tCA\t42\tCARTER VS DUNN\t"),
        QStringLiteral("2020\tTR\t905\tSTATE VS EVANS\tSHERIFF"),
        QString(),
    };
    grid->setRows(grid->FixedRows() + int(rows.size()));
    for (int row = 0; row < rows.size(); ++row)
        for (int col = 0; col < grid->Cols(); ++col)
            grid->setTextMatrix(grid->FixedRows() + row, col, rows[row].section(QLatin1Char('\t'), col, col));
    // The program fills title and holder: the clerk types the case only.
    for (int row = grid->FixedRows(); row < grid->Rows(); ++row)
        for (const int col : {int(ColTitle), int(ColHolder)})
            grid->setCellForeColor(row, col, LockedForeColor);
    connect(grid, &FlexGrid::BeforeEdit, grid,
            [grid](int row, int col, bool &cancel) { CancelIfLocked(*grid, row, col, cancel); });
    grid->setRow(grid->FixedRows());
    grid->setCol(ColYear);
    return grid;
}

void GalleryWindow::SetListening(bool listen)
{
    if (!listen) {
        m_server->close();
        return;
    }
    const QString name = mailslot->ServerName();
    if (!m_server->listen(name) && m_server->serverError() == QAbstractSocket::AddressInUseError) {
        // A socket file left by a program that crashed refuses the name; a live owner answers.
        QLocalSocket probe;
        probe.connectToServer(name);
        if (!probe.waitForConnected(500)) {
            QLocalServer::removeServer(name);
            m_server->listen(name);
        }
    }
    if (!m_server->isListening())
        lblDelivery->setText(QStringLiteral("cannot listen: ") + m_server->errorString());
}

void GalleryWindow::SendMessage()
{
    const bool delivered = mailslot->Send(QStringLiteral("SAVE"));
    lblDelivery->setText(delivered ? QStringLiteral("Send() = true")
                                   : QStringLiteral("Send() = false: no listener, dropped"));
}
