#include "TestWorld.h"
#include "records/ProcedureCall.h"
#include "records/ServerPrograms.h"

#include <gtest/gtest.h>

namespace {

TEST(ServerPrograms, ProgramNameFromTheCallText)
{
    const struct
    {
        const char *text, *name;
    } cases[] = {
        {"{{CALL /QSYS.LIB/MRLCRT.LIB/WINGETSTY.PGM(?,?)}}", "WINGETSTY"},
        {"{CALL /QSYS.LIB/MRLCRT.LIB/WINGETSTY.PGM(?)}", "WINGETSTY"},
        {"call mrlcrt.wingetsty(?)", "WINGETSTY"},
        {"CALL WINGETSTY ()", "WINGETSTY"},
        {"Select 1", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ServerPrograms::ProgramName(QLatin1String(c.text)), QLatin1String(c.name)) << c.text;
    EXPECT_TRUE(ServerPrograms::Find("wingetsty"));
    EXPECT_FALSE(ServerPrograms::Find("NOSUCHPGM"));
}

TEST(ProcedureCall, RefusedCallsRaiseError)
{
    TestWorld world;
    const struct
    {
        const char *text;
        int parameters;
        const char *mentions;
    } cases[] = {
        {"{{CALL /QSYS.LIB/MRLCRT.LIB/NOSUCH.PGM(?)}}", 1, "NOSUCH"},
        {"{{CALL /QSYS.LIB/MRLCRT.LIB/WINGETSTY.PGM(?,?)}}", 6, "2 parameter markers"},
        {"Select 1", 0, "not available"},
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
