#include "BareWindows.h"

#include "shared/Twips.h"

#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace BareWindows {

namespace {

QLabel *Label(QWidget *parent, const QString &text, const QRect &place, bool framed = false)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(place);
    if (framed)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

QPushButton *Button(QWidget *parent, const QString &text, const QRect &place, bool enabled = true)
{
    auto *button = new QPushButton(text, parent);
    button->setGeometry(place);
    button->setAutoDefault(false);
    button->setEnabled(enabled);
    return button;
}

QLineEdit *Box(QWidget *parent, int maxLength)
{
    auto *box = new QLineEdit(parent);
    box->setMaxLength(maxLength);
    return box;
}

QComboBox *List(const QStringList &entries)
{
    auto *list = new QComboBox;
    list->addItems(entries);
    return list;
}

} // namespace

QDialog *Editor()
{
    auto *d = new QDialog;
    d->setObjectName(QStringLiteral("bareFolderEdit"));
    d->setWindowTitle(QStringLiteral("PC/MEVS - File Checkout - 2026-CF-100000"));
    auto *layout = new QVBoxLayout(d);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto *client = new QWidget(d);
    client->setFixedSize(Twips::Size(4668, 3708));
    layout->addWidget(client);

    Label(client, QStringLiteral("Loaned to:"), Twips::Rect(120, 240, 1455, 345));
    Box(client, 13)->setGeometry(Twips::Rect(1680, 240, 1635, 345));
    Label(client, QStringLiteral("Loan date:"), Twips::Rect(120, 720, 1455, 345));
    Label(client, QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")), Twips::Rect(1680, 720, 1395, 345), true);
    Label(client, QStringLiteral("Loaned by:"), Twips::Rect(120, 1200, 1455, 345));
    Label(client, QStringLiteral("CLERK1"), Twips::Rect(1680, 1200, 1875, 345), true);
    Label(client, QStringLiteral("This file is not currently on loan."), Twips::Rect(120, 1740, 3375, 345));
    QPushButton *cancel = Button(client, QStringLiteral("&Cancel"), Twips::Rect(120, 2280, 4455, 345));
    Button(client, QStringLiteral("&Save"), Twips::Rect(120, 2760, 4455, 345), false);
    Button(client, QStringLiteral("&Delete"), Twips::Rect(120, 3240, 4455, 345), false);
    QObject::connect(cancel, &QPushButton::clicked, d, &QWidget::close);

    auto *bar = new QMenuBar(d);
    layout->setMenuBar(bar);
    bar->setCornerWidget(new QLabel(QStringLiteral("2026-CF-100000"), bar), Qt::TopRightCorner);
    bar->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("E&xit"));
    QMenu *logging = bar->addMenu(QStringLiteral("&Edit"))->addMenu(QStringLiteral("&Preferences"))->addMenu(QStringLiteral("&Logging"));
    for (const char *item : {"&Auto", "&Manual"})
        logging->addAction(QLatin1String(item))->setCheckable(true);
    return d;
}

QDialog *Docket()
{
    auto *d = new QDialog;
    d->setObjectName(QStringLiteral("bareFolderDocket"));
    d->setWindowTitle(QStringLiteral("PC/MEVS - Update Folder Status for Docketed Cases"));
    auto *date = new QDateEdit(QDate::currentDate());
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    auto *selection = new QGroupBox(QStringLiteral("Selection"));
    auto *rows = new QFormLayout(selection);
    rows->addRow(new QLabel(QStringLiteral("Hearing date:")), date);
    rows->addRow(new QLabel(QStringLiteral("Begin time:")), Box(nullptr, 4));
    rows->addRow(new QLabel(QStringLiteral("End time:")), Box(nullptr, 4));
    rows->addRow(new QLabel(QStringLiteral("Judge:")), List({"*ALL", "Y   ALV", "Y   GAR", "Y   JON", "Y   SMI", "N   BRK"}));
    rows->addRow(new QLabel(QStringLiteral("Courtroom:")), List({"*ALL", "1", "2", "3", "4A", "CTR"}));
    rows->addRow(new QLabel(QStringLiteral("Branch code:")), Box(nullptr, 1));

    // The option group: a widget of its own holding the two buttons.
    auto *options = new QWidget;
    auto *stack = new QVBoxLayout(options);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(new QRadioButton(QStringLiteral("Check folders out")));
    stack->addWidget(new QRadioButton(QStringLiteral("Check folders in")));
    auto *output = new QGroupBox(QStringLiteral("Output"));
    auto *outputRows = new QFormLayout(output);
    outputRows->addRow(options);
    auto *party = new QLabel(QStringLiteral("Check out to:"));
    party->setEnabled(false);
    outputRows->addRow(party, Box(nullptr, 13));

    auto *layout = new QVBoxLayout(d);
    d->setMinimumWidth(440);
    layout->addWidget(selection);
    layout->addWidget(output);
    layout->addWidget(Button(nullptr, QStringLiteral("&Cancel"), {}));
    layout->addWidget(Button(nullptr, QStringLiteral("&Run"), {}, false));
    return d;
}

QDialog *Batch()
{
    auto *d = new QDialog;
    d->setObjectName(QStringLiteral("bareFolderBatch"));
    d->setWindowTitle(QStringLiteral("PC/MEVS - Batch Folder Update"));
    d->resize(Twips::Size(7452, 6948));

    auto *output = new QGroupBox(QStringLiteral("Output"), d);
    output->setGeometry(Twips::Rect(120, 120, 7215, 1875));
    auto *options = new QWidget(output); // the option group, hidden: its buttons sit in the frame
    new QVBoxLayout(options);
    options->hide();
    int top = 480;
    for (const char *caption : {"Check folders out", "Check folders in"}) {
        auto *button = new QRadioButton(QLatin1String(caption), output);
        button->setGeometry(Twips::Rect(360, top, 2175, 345));
        top += 360;
    }
    Box(output, 13)->setGeometry(Twips::Rect(2400, 1320, 1695, 345));
    Label(output, QStringLiteral("Check out to:"), Twips::Rect(405, 1320, 1905, 345))->setEnabled(false);

    auto *grid = new QWidget(d);
    grid->setGeometry(Twips::Rect(120, 2160, 7215, 3735));
    auto *gridLayout = new QVBoxLayout(grid);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    auto *table = new QTableWidget(1, 5, grid);
    gridLayout->addWidget(table);
    table->setHorizontalHeaderLabels({QStringLiteral("Case"), QString(), QString(), QStringLiteral("Title"),
                                      QStringLiteral("Checked Out")});
    const int widths[] = {645, 555, 825, 3000, 960};
    for (int c = 0; c < 5; ++c)
        table->setColumnWidth(c, widths[c] / Twips::PerPixel);

    Button(d, QStringLiteral("&Cancel"), Twips::Rect(120, 6000, 7215, 345));
    Button(d, QStringLiteral("&Run"), Twips::Rect(120, 6480, 7215, 345), false);
    return d;
}

} // namespace BareWindows
