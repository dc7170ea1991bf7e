#include "TestWorld.h"
#include "records/ProcedureCall.h"

#include <gtest/gtest.h>

namespace {

// A call is refused, with one Error naming why, when its markers and parameters disagree or no
// server program answers to its name.
TEST(ProcedureCall, RefusedCallsRaiseError)
{
    TestWorld world;
    const struct { const char *text; int parameters; const char *mentions; } cases[] = {
        {"{{CALL /QSYS.LIB/MRLCRT.LIB/NOSUCH.PGM(?)}}", 1, "\"NOSUCH\" is not available"},
        {"{{CALL /QSYS.LIB/MRLCRT.LIB/WINGETSTY.PGM(?,?)}}", 6, "has 2 parameter markers but 6 parameters"},
        {"Select 1", 0, "\"\" is not available"},
    };
    for (const auto &c : cases) {
        ProcedureCall call;
        QStringList errors;
        QObject::connect(&call, &ProcedureCall::Error, [&](qint32, const QString &d) { errors << d; });
        call.SetCommandText(QLatin1String(c.text));
        for (int i = 0; i < c.parameters; ++i)
            call.AddParameter(QStringLiteral("P%1").arg(i), ProcedureCall::adChar, ProcedureCall::adParamInput, 2, 0);
        call.Execute({});
        ASSERT_EQ(errors.size(), 1) << c.text;
        EXPECT_TRUE(errors.first().contains(QLatin1String(c.mentions))) << errors.first().toStdString();
    }
}

} // namespace
