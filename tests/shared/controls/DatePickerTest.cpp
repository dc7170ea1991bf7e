#include "shared/controls/DatePicker.h"

#include "QtPrinters.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

// Readable dates in failure messages.
static void PrintTo(const QDate &date, std::ostream *os)
{
    *os << date.toString(Qt::ISODate).toStdString();
}

namespace {

TEST(DatePicker, ValueAsLongIsMonthDayYearAsOneNumber)
{
    const struct
    {
        QDate date;
        qint32 mmddyyyy;
    } cases[] = {
        {QDate(2005, 12, 31), 12312005}, {QDate(2026, 1, 5), 1052026},   {QDate(2009, 9, 9), 9092009},
        {QDate(2000, 10, 1), 10012000},  {QDate(2026, 12, 4), 12042026}, {QDate(1601, 1, 1), 1011601},
        {QDate(9999, 12, 31), 12319999},
    };
    for (const auto &c : cases) {
        DatePicker picker;
        picker.SetValue(c.date);
        EXPECT_EQ(picker.Value(), c.date);
        EXPECT_EQ(picker.ValueAsLong(), c.mmddyyyy);
    }
}

TEST(DatePicker, OnlyMonthDayYearIsTakenAsTheNumberFormat)
{
    const struct
    {
        QString format;
        bool accepted;
    } cases[] = {{"mmddyyyy", true}, {"MMDDYYYY", true}, {"yyyymmdd", false}, {"mm/dd/yyyy", false}, {"", false}};
    for (const auto &c : cases) {
        DatePicker picker;
        picker.SetValue(QDate(2005, 12, 31));
        EXPECT_EQ(picker.SetValueAsLongFormat(c.format), c.accepted) << c.format.toStdString();
        EXPECT_EQ(picker.ValueAsLong(), 12312005) << c.format.toStdString();
    }
}

TEST(DatePicker, ValuesOutsideTheLimitsOrInvalid)
{
    const struct
    {
        QDate set;
        QDate held;
    } cases[] = {
        {QDate(1500, 6, 1), QDate(2001, 1, 1)},
        {QDate(2031, 1, 1), QDate(2030, 12, 31)},
        {QDate(), QDate(2010, 5, 5)},
    };
    for (const auto &c : cases) {
        DatePicker picker;
        picker.SetMinDate(QDate(2001, 1, 1));
        picker.SetMaxDate(QDate(2030, 12, 31));
        picker.SetValue(QDate(2010, 5, 5));
        picker.SetValue(c.set);
        EXPECT_EQ(picker.Value(), c.held) << c.set.toString(Qt::ISODate).toStdString();
    }
}

TEST(DatePicker, ChangeOnlyWhenTheDateChanges)
{
    DatePicker picker;
    picker.SetValue(QDate(2005, 12, 31));
    QSignalSpy changes(&picker, &DatePicker::Change);
    picker.SetValue(QDate(2005, 12, 31));
    EXPECT_EQ(changes.count(), 0);
    picker.SetValue(QDate(2006, 1, 1));
    EXPECT_EQ(changes.count(), 1);
}

class DatePickerKeyboard : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_picker.SetValue(QDate(2000, 1, 1));
        m_picker.show();
        m_picker.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_picker));
        m_picker.setFocus();
    }

    DatePicker m_picker;
};

TEST_F(DatePickerKeyboard, TypedDigitsFillMonthDayAndYearHoweverTheFocusCame)
{
    enum class Arrival { FromCode, ByTab, HomeAfterTypingElsewhere };
    for (const Arrival arrival : {Arrival::FromCode, Arrival::ByTab, Arrival::HomeAfterTypingElsewhere}) {
        m_picker.SetValue(QDate(2000, 1, 1));
        m_picker.clearFocus();
        if (arrival == Arrival::ByTab) {
            m_picker.setFocus(Qt::TabFocusReason);
        } else {
            m_picker.setFocus();
            if (arrival == Arrival::HomeAfterTypingElsewhere) {
                QTest::keyClick(&m_picker, Qt::Key_End);
                QTest::keyClicks(&m_picker, QStringLiteral("1999"));
                QTest::keyClick(&m_picker, Qt::Key_Home);
            }
        }
        QSignalSpy changes(&m_picker, &DatePicker::Change);
        QTest::keyClicks(&m_picker, QStringLiteral("12312005"));
        EXPECT_EQ(m_picker.Value(), QDate(2005, 12, 31)) << static_cast<int>(arrival);
        EXPECT_EQ(m_picker.ValueAsLong(), 12312005) << static_cast<int>(arrival);
        EXPECT_GE(changes.count(), 1) << static_cast<int>(arrival);
    }
}

TEST_F(DatePickerKeyboard, NoDateWhileTheMonthIsErased)
{
    QSignalSpy changes(&m_picker, &DatePicker::Change);
    QTest::keyClick(&m_picker, Qt::Key_Delete);
    QTest::keyClick(&m_picker, Qt::Key_Delete);
    EXPECT_FALSE(m_picker.Value().isValid());
    EXPECT_EQ(m_picker.ValueAsLong(), 0);
    EXPECT_EQ(changes.count(), 1);

    QTest::keyClicks(&m_picker, QStringLiteral("07"));
    EXPECT_EQ(m_picker.Value(), QDate(2000, 7, 1));
    EXPECT_EQ(m_picker.ValueAsLong(), 7012000);
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(DatePickerKeyboard, CalendarOpensFromTheKeyboardAndPicksADate)
{
    const struct
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } openers[] = {{Qt::Key_F4, Qt::NoModifier}, {Qt::Key_Down, Qt::AltModifier}};
    QDate expected(2000, 1, 1);
    for (const auto &o : openers) {
        QTest::keyClick(&m_picker, o.key, o.modifiers);
        QWidget *calendar = m_picker.calendarWidget();
        ASSERT_TRUE(calendar->window()->isVisible());
        QSignalSpy changes(&m_picker, &DatePicker::Change);
        QWidget *days = calendar->findChild<QAbstractItemView *>();
        ASSERT_NE(days, nullptr);
        QTest::keyClick(days, Qt::Key_Right);
        QTest::keyClick(days, Qt::Key_Return);
        expected = expected.addDays(1);
        EXPECT_FALSE(calendar->window()->isVisible());
        EXPECT_EQ(m_picker.Value(), expected);
        EXPECT_EQ(changes.count(), 1);
    }
    EXPECT_EQ(m_picker.ValueAsLong(), 1032000);
}

} // namespace
