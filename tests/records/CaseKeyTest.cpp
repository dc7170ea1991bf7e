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

} // namespace
