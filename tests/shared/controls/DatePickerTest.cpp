#include "shared/controls/DatePicker.h"

#include <gtest/gtest.h>

namespace {

// The hearing date as the number the docket stores (mmddyyyy), within the picker's limits.
TEST(DatePicker, ValueAsLongIsMonthDayYear)
{
    const struct { QDate set; qint32 mmddyyyy; } cases[] = {
        {QDate(2005, 12, 31), 12312005}, {QDate(2026, 1, 5), 1052026}, {QDate(2009, 9, 9), 9092009},
        {QDate(2010, 10, 1), 10012010},  {QDate(1500, 6, 1), 1012001}, {QDate(2031, 1, 1), 12312030},
        {QDate(), 5052010}, // no date: the value stays
    };
    for (const auto &c : cases) {
        DatePicker picker;
        picker.SetMinDate(QDate(2001, 1, 1));
        picker.SetMaxDate(QDate(2030, 12, 31));
        picker.SetValue(QDate(2010, 5, 5));
        picker.SetValue(c.set);
        EXPECT_EQ(picker.ValueAsLong(), c.mmddyyyy) << c.set.toString(Qt::ISODate).toStdString();
    }
}

} // namespace
