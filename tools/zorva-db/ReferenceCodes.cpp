#include "ReferenceCodes.h"

namespace ReferenceCodes {

const QList<CaseType> &CaseTypes()
{
    static const QList<CaseType> types{
        {QStringLiteral("CF"), 40}, {QStringLiteral("CM"), 50}, {QStringLiteral("TR"), 55},
        {QStringLiteral("CV"), 15}, {QStringLiteral("DT"), 20}, {QStringLiteral("JU"), 12},
        {QStringLiteral("OV"), 10}, {QStringLiteral("CA"), 40}, {QStringLiteral("SC"), 35},
        {QStringLiteral("DR"), 30}, {QStringLiteral("PR"), 15}, {QStringLiteral("EV"), 12},
    };
    return types;
}

const QStringList &SittingJudges()
{
    static const QStringList judges{QStringLiteral("SMI"), QStringLiteral("JON"), QStringLiteral("GAR"),
                                    QStringLiteral("ALV")};
    return judges;
}

const QStringList &Rooms()
{
    static const QStringList rooms{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                   QStringLiteral("4A"), QStringLiteral("CTR")};
    return rooms;
}

QString HomeRoom(const QString &judge, const QString &caseType)
{
    if (caseType == QLatin1String("TR") || caseType == QLatin1String("DT") || caseType == QLatin1String("OV"))
        return QStringLiteral("CTR");
    const qsizetype i = SittingJudges().indexOf(judge);
    return Rooms().at(i < 0 ? 0 : i % (Rooms().size() - 1));
}

const QStringList &Branches()
{
    static const QStringList branches{QStringLiteral("N"), QStringLiteral("S"), QStringLiteral("E"),
                                      QStringLiteral("W")};
    return branches;
}

const QList<qint16> &HearingTimes()
{
    static const QList<qint16> times{830, 900, 930, 1030, 1100, 1330, 1400, 1500, 1530};
    return times;
}

const QStringList &LoanParties()
{
    static const QStringList parties{QStringLiteral("DA OFFICE"), QStringLiteral("PUBLIC DEF"),
                                     QStringLiteral("RECORDS ROOM"), QStringLiteral("APPEALS CT"),
                                     QStringLiteral("PROBATION")};
    return parties;
}

const QStringList &Clerks()
{
    static const QStringList clerks{QStringLiteral("CLERK1"), QStringLiteral("CLERK2"),
                                    QStringLiteral("MJONES"), QStringLiteral("TBAKER")};
    return clerks;
}

} // namespace ReferenceCodes
