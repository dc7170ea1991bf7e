#include "records/CaseKey.h"

#include <gtest/gtest.h>

namespace {

QString Shown(const std::optional<CaseKey> &key)
{
    return key ? QStringLiteral("%1 %2 %3").arg(key->year).arg(key->type).arg(key->sequence) : QStringLiteral("refused");
}

// What a clerk types or pastes, and the key it makes.
TEST(CaseKeyParse, TypedForms)
{
    const char *const cases[][2] = {
        {"2009-CV-123", "2009 CV 123"}, {"2009 CV 123", "2009 CV 123"}, {"2009CV000123", "2009 CV 123"},
        {"  2009 - cv - 000123 ", "2009 CV 123"}, {"2009\tCV\t123", "2009 CV 123"}, {"2009-T-5", "2009 T 5"},
        {"2009T5", "2009 T 5"}, {"2009-J1-77", "2009 J1 77"}, {"1965-CF-999999", "1965 CF 999999"},
        // run together, the type is letters only: no guessing where a "J1" would end
        {"2009J1123", "2009 J 1123"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Shown(CaseKey::Parse(QString::fromUtf8(c[0]))), QLatin1String(c[1])) << c[0];
    for (const char *text : {"", "   ", "2009", "2009-CV", "CV-123", "09-CV-123", "20090-CV-1", "2009-CV-1234567",
                             "2009-CV-0", "0000-CV-1", "2009-CVX-1", "2009-1C-12", "2009--CV-1", "2009-CV-12a",
                             "2009-C'-1", "2009-CV-123\n2010-CV-1", "２００９-CV-1"})
        EXPECT_EQ(Shown(CaseKey::Parse(QString::fromUtf8(text))), "refused") << text;
}

// A key as the court's rows hold it, however the driver typed the values: whole numbers only;
// else why not.
TEST(CaseKeyFromRow, WholeKeysOnly)
{
    const QVariant null;
    // made: the key, or why there is none
    const struct { QVariant year, type, sequence; const char *made; } cases[] = {
        {2009, "CV", 123, "2009 CV 123"},
        {2009.0, "T ", 5.0, "2009 T  5"}, // a decimal column, a CHAR(2) type
        {"2009", "C'", "10", "2009 C' 10"}, // decimal text (high-precision numerics)
        {"2009.0", "CV", " 12 ", "2009 CV 12"},
        {"2009", "CV", "12a", "the sequence 12a is not a case sequence"},
        {9999, "CV", 2147483647, "9999 CV 2147483647"},
        {2009.7, "CV", 1, "the year 2009.7 is not a year"},
        {2009, "CV", 10.5, "the sequence 10.5 is not a case sequence"},
        {0, "CV", 1, "the year 0 is not a year"},
        {10000, "CV", 1, "the year 10000 is not a year"},
        {2009, "CV", 0, "the sequence 0 is not a case sequence"},
        {2009, "CV", 2147483648LL, "the sequence 2147483648 is not a case sequence"},
        {2009, "X' OR 1=1 OR 'a'=", 1, "the type \"X' OR 1=1 OR 'a'=\" is not a case type"},
        {2009, "CVX", 1, "the type \"CVX\" is not a case type"},
        {2009, "  ", 1, "the type is missing"},
        {null, "CV", 1, "the year is missing"},
        {2009, null, 1, "the type is missing"},
        {2009, "CV", null, "the sequence is missing"},
        {QVariant(QMetaType::fromType<int>()), "CV", 1, "the year is missing"}, // a server's typed NULL
    };
    for (const auto &c : cases) {
        QString why;
        const std::optional<CaseKey> key = CaseKey::FromRow(c.year, c.type, c.sequence, &why);
        EXPECT_EQ(key ? Shown(key) : why, QLatin1String(c.made)) << c.made;
    }
}

} // namespace
