#include "util/modDateTimeFunctions.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Hearing times 1 to 799 are afternoon hours typed without the 12.
TEST(DateTimeFunctions, HearingTimeNormalised)
{
    const struct { qint16 typed, normalised; } cases[] = {
        {0, 0}, {1, 1201}, {59, 1259}, {130, 1330}, {759, 1959}, {799, 1999}, {800, 800}, {1259, 1259}, {1630, 1630}, {-5, -5}, {32767, 32767}};
    for (const auto &c : cases)
        EXPECT_EQ(modDateTimeFunctions::NormalizeHearingTime(c.typed), c.normalised) << c.typed;
}

// A loan date is stored as the number mmddyyyy; anything that is no such date shows blank.
TEST(DateTimeFunctions, LoanDateShown)
{
    const struct { QVariant stored; const char *shown; } cases[] = {
        {1052026, "01/05/2026"}, {12042026, "12/04/2026"}, {QString("2292024"), "02/29/2024"}, {QVariant(), ""},
        {0, ""},                 {13012026, ""},           {2292025, ""},                      {1052026.5, ""},
        {QString("1/05/2026"), ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(modDateTimeFunctions::FormatLoanDate(c.stored), QLatin1String(c.shown)) << c.stored.toString().toStdString();
}

} // namespace
