#include "DocketComponent.h"

#include "BenchCourt.h"
#include "forms/folder_docket/DocketRun.h"

#include <stdexcept>

namespace {

DocketSelection Selection(const char *action, const char *branch)
{
    DocketSelection s;
    s.hearingDate = QDate::fromString(QString::number(BenchCourt::Day), QStringLiteral("yyyyMMdd"));
    s.action = QLatin1String(action);
    s.branch = QLatin1String(branch);
    return s;
}

} // namespace

int RunDocketComponent(const char *action, const char *branch, bool logged)
{
    DocketRun run(Selection(action, branch), QStringLiteral("CLERK1"), logged, false);
    const int count = run.Run();
    run.Close();
    if (run.Failed() || count == 0)
        throw std::runtime_error("the component's run failed or changed nothing");
    return count;
}
