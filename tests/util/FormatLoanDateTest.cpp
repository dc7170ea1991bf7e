#include "QtPrinters.h"
#include "util/modDateTimeFunctions.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatLoanDate, StoredNumbersAndTexts)
{
    const struct
    {
        QVariant stored;
        const char *shown;
    } cases[] = {
        // a month below 10 comes back without its leading zero
        {QVariant(1052026), "01/05/2026"},
        {QVariant(12042026), "12/04/2026"},
        {QVariant(qlonglong(10312025)), "10/31/2025"},
        {QVariant(1.052026e6), "01/05/2026"},
        {QVariant(QStringLiteral("01052026")), "01/05/2026"},
        {QVariant(QStringLiteral("2292024")), "02/29/2024"},
        // not a date: shown blank rather than wrong
        {QVariant(), ""},
        {QVariant(0), ""},
        {QVariant(-1052026), ""},
        {QVariant(13012026), ""},
        {QVariant(2292025), ""},
        {QVariant(52026), ""},
        {QVariant(105202612), ""},
        {QVariant(1052026.5), ""},
        {QVariant(QStringLiteral("")), ""},
        {QVariant(QStringLiteral("1/05/2026")), ""},
        {QVariant(QStringLiteral("abc")), ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(modDateTimeFunctions::FormatLoanDate(c.stored), QLatin1String(c.shown)) << c.stored.toString().toStdString();
}

} // namespace
