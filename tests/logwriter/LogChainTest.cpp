#include "logwriter/LogChain.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

namespace {

// A row's digest is SHA-256 over "zorva-log-1" and each field's UTF-8 after a unit separator,
// the type without its trailing blanks, the previous digest last. Courts chained by earlier
// versions must keep verifying, so the bytes are spelled out here and hashed by Qt's own SHA-256.
TEST(LogChain, DigestIsSha256OfTheFieldsAsWritten)
{
    const struct { const char *name; LogChain::Row row; QString previous; QByteArray input; } cases[] = {
        {"the first row of a case", {"2026-01-05T09:30:00.000Z", 2009, "CV", 123, false, "CLERK1", "SMI", true}, {},
         "zorva-log-1\x1f" "2026-01-05T09:30:00.000Z\x1f" "2009\x1f" "CV\x1f" "123\x1f" "0\x1f" "CLERK1\x1f" "SMI\x1f" "1\x1f"},
        {"a type with a trailing blank, after a row", {"2026-01-05T09:30:00.000Z", 2026, "C ", 5, true, "ME", "JON", false},
         "ab12", "zorva-log-1\x1f" "2026-01-05T09:30:00.000Z\x1f" "2026\x1f" "C\x1f" "5\x1f" "1\x1f" "ME\x1f" "JON\x1f" "0\x1f" "ab12"},
        {"court text beyond ASCII", {"2026-01-05T09:30:00.000Z", 2009, "CV", 123, false, "CLERK1", QString::fromUtf8("MÜLLER €"), true},
         {}, "zorva-log-1\x1f" "2026-01-05T09:30:00.000Z\x1f" "2009\x1f" "CV\x1f" "123\x1f" "0\x1f" "CLERK1\x1f" "M\xc3\x9cLLER \xe2\x82\xac\x1f" "1\x1f"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LogChain::Digest(c.row, c.previous),
                  QString::fromLatin1(QCryptographicHash::hash(c.input, QCryptographicHash::Sha256).toHex()))
            << c.name;
}

} // namespace
