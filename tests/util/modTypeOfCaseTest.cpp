#include "util/modTypeOfCase.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// 1: criminal, its master MASCRM; 0: civil, MASCIV. The code is cut to two characters and
// compared exactly, with no upper-casing or trimming.
TEST(TypeOfCase, ClassAndMasterTable)
{
    const struct { const char *codes; qint16 type; } cases[] = {
        {"OV|CV|CM|CF|CC|TR|DT|CL", 1}, // the fixed criminal list, CV among them
        {"T|T |J|JV|J9|J |TRD|JUVENILE|CVX", 1}, // "T" alone, every J code, cut to two
        {"T1|TX|j|cv|tr|j1| T| J|XCV||  |CR|CA|DR|C|O", 0},
    };
    for (const auto &c : cases) {
        for (const QString &code : QString(c.codes).split('|')) {
            EXPECT_EQ(modTypeOfCase::TypeOfCase(code), c.type) << '"' << code.toStdString() << '"';
            EXPECT_EQ(modTypeOfCase::MasterTableName(code), c.type == 1 ? "MASCRM" : "MASCIV") << code.toStdString();
        }
    }
}

} // namespace
