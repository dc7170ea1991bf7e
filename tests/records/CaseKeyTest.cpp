#include "records/CaseKey.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(CaseKeyParse, AcceptedForms)
{
    const struct
    {
        const char *text;
        qint16 year;
        const char *type;
        qint32 sequence;
    } cases[] = {
        {"2009-CV-123", 2009, "CV", 123},
        {"2009 CV 123", 2009, "CV", 123},
        {"2009CV000123", 2009, "CV", 123},
        {"  2009 - cv - 000123 ", 2009, "CV", 123},
        {"2009\tCV\t123", 2009, "CV", 123},
        {"2009-T-5", 2009, "T", 5},
        {"2009T5", 2009, "T", 5},
        {"2009-J1-77", 2009, "J1", 77},
        {"1965-CF-999999", 1965, "CF", 999999},
        // run together, the type is letters only: no guessing where a "J1" would end
        {"2009J1123", 2009, "J", 1123},
    };
    for (const auto &c : cases) {
        const std::optional<CaseKey> key = CaseKey::Parse(QString::fromLatin1(c.text));
        ASSERT_TRUE(key.has_value()) << c.text;
        EXPECT_EQ(key->year, c.year) << c.text;
        EXPECT_EQ(key->type, QLatin1String(c.type)) << c.text;
        EXPECT_EQ(key->sequence, c.sequence) << c.text;
    }
}

TEST(CaseKeyParse, RefusedForms)
{
    for (const char *text : {"", "   ", "2009", "2009-CV", "CV-123", "09-CV-123", "20090-CV-1", "2009-CV-1234567",
                             "2009-CV-0", "0000-CV-1", "2009-CVX-1", "2009-1C-12", "2009--CV-1",
                             "2009-CV-12a", "2009-C'-1", "2009-CV-123\n2010-CV-1", "２００９-CV-1"}) {
        EXPECT_FALSE(CaseKey::Parse(QString::fromUtf8(text)).has_value()) << text;
    }
}

// A key as the court's rows hold it, however the driver typed the values: whole numbers only.
TEST(CaseKeyFromRow, WholeKeysOnly)
{
    const QVariant null;
    const struct
    {
        QVariant year, type, sequence;
        const char *why; // "" when the key is taken
    } cases[] = {
        {2009, "CV", 123, ""},
        {2009.0, "T ", 5.0, ""},            // a decimal column, a CHAR(2) type
        {"2009", "C'", "10", ""},            // decimal text (high-precision numerics)
        {9999, "CV", 2147483647, ""},
        {2009.7, "CV", 1, "the year 2009.7 is not a year"},
        {2009, "CV", 10.5, "the sequence 10.5 is not a case sequence"},
        {"2009.7", "CV", 1, "the year 2009.7 is not a year"},
        {"12AB", "CV", 1, "the year 12AB is not a year"},
        {0, "CV", 1, "the year 0 is not a year"},
        {10000, "CV", 1, "the year 10000 is not a year"},
        {99999, "CV", 1, "the year 99999 is not a year"},
        {2009, "CV", 0, "the sequence 0 is not a case sequence"},
        {2009, "CV", 2147483648LL, "the sequence 2147483648 is not a case sequence"},
        {2009, "CV", -1, "the sequence -1 is not a case sequence"},
        {2009, "X' OR 1=1 OR 'a'=", 1, "is not a case type"},
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
        const QString row = c.year.toString() + '/' + c.type.toString() + '/' + c.sequence.toString();
        if (*c.why == 0) {
            ASSERT_TRUE(key.has_value()) << row.toStdString() << ": " << why.toStdString();
            EXPECT_EQ(key->year, c.year.toInt()) << row.toStdString();
            EXPECT_EQ(key->type, c.type.toString()) << row.toStdString();
            EXPECT_EQ(key->sequence, c.sequence.toLongLong()) << row.toStdString();
        } else {
            EXPECT_FALSE(key.has_value()) << row.toStdString();
            EXPECT_TRUE(why.contains(QLatin1String(c.why))) << row.toStdString() << ": " << why.toStdString();
        }
    }
}

} // namespace
