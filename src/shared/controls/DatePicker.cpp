#include "shared/controls/DatePicker.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

DatePicker::DatePicker(QWidget *parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    setDateRange(QDate(1601, 1, 1), QDate(9999, 12, 31));
    setDate(QDate::currentDate());
    m_reported = Value();

    connect(this, &QDateEdit::dateChanged, this, &DatePicker::Reevaluate);
    connect(lineEdit(), &QLineEdit::textChanged, this, &DatePicker::Reevaluate);
}

bool DatePicker::SetValueAsLongFormat(const QString &format)
{
    // The court's dates are month, day and year; no window asks for another order.
    return format.compare(m_longFormat, Qt::CaseInsensitive) == 0;
}

QDate DatePicker::Value() const
{
    QString text = lineEdit()->text();
    int pos = lineEdit()->cursorPosition();
    if (validate(text, pos) != QValidator::Acceptable)
        return {};
    return date();
}

void DatePicker::SetValue(const QDate &date)
{
    if (date.isValid())
        setDate(date);
}

qint32 DatePicker::ValueAsLong() const
{
    const QDate date = Value();
    return date.isValid() ? date.month() * 1000000 + date.day() * 10000 + date.year() : 0;
}

void DatePicker::ShowCalendar()
{
    if (isReadOnly() || !isEnabled())
        return;
    // QDateEdit opens its calendar only from a press on its arrow: hand it one.
    QStyleOptionComboBox option;
    option.initFrom(this);
    option.editable = true;
    option.subControls = QStyle::SC_All;
    const QPoint arrow =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this).center();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(arrow), mapToGlobal(QPointF(arrow)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QDateEdit::mousePressEvent(&press);
}

void DatePicker::keyPressEvent(QKeyEvent *event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (event->key() == Qt::Key_F4 || (alt && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up))) {
        ShowCalendar();
        event->accept();
        return;
    }
    // A digit typed with the cursor in front of a full part would be refused; a selected part
    // is replaced by what is typed.
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    if (plain && (event->key() == Qt::Key_Home || event->key() == Qt::Key_End)) {
        setSelectedSection(sectionAt(event->key() == Qt::Key_Home ? 0 : sectionCount() - 1));
        event->accept();
        return;
    }
    QDateEdit::keyPressEvent(event);
}

void DatePicker::Reevaluate()
{
    const QDate now = Value();
    if (now == m_reported)
        return;
    m_reported = now;
    emit Change();
}
