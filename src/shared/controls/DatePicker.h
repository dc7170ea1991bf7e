#pragma once

#include <QDate>
#include <QDateEdit>
#include <QString>

// A date box with a calendar pop-up (F4, Alt+Down or the arrow button) that also gives its date
// as a whole number, by default in the form mmddyyyy (31 December 2005 is 12312005).
//
// It starts on today's date, shown as MM/dd/yyyy, limited to 1 January 1601 .. 31 December 9999.
// While the user is part-way through typing a date that is not yet a whole valid date, there is
// no date: Value() is null and ValueAsLong() is 0. Leaving the box puts back the last whole date.
// Typing always starts on a whole part: Home selects the month, End the year, as Tab does.
class DatePicker : public QDateEdit
{
    Q_OBJECT
public:
    explicit DatePicker(QWidget *parent = nullptr);

    void SetMinDate(const QDate &date) { setMinimumDate(date); }
    void SetMaxDate(const QDate &date) { setMaximumDate(date); }

    // Only "mmddyyyy" (any letter case) is taken; false for any other text.
    bool SetValueAsLongFormat(const QString &format);

    QDate Value() const;
    // A date outside the limits is brought to the nearest limit; an invalid date is ignored.
    void SetValue(const QDate &date);
    // The date's digits in the format read as one number; 0 when there is no date.
    qint32 ValueAsLong() const;

    void ShowCalendar();

signals:
    // The date changed, by the user or by code, or it came or went while being typed.
    void Change();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Reevaluate();

    QString m_longFormat = QStringLiteral("mmddyyyy");
    QDate m_reported;
};
