#include "Litigants.h"

#include "util/modTypeOfCase.h"

#include <QStringList>

namespace Litigants {
namespace {

const QStringList Surnames{
    "ABLE",      "BAKER",   "CARTER",   "DALTON",    "EVANS",     "FISCHER",  "GRANT",      "HOLLOWAY",
    "IBARRA",    "JENSEN",  "KOWALSKI", "LINDQVIST", "MORENO",    "NAKAMURA", "O'BRIEN",    "PETERSEN",
    "QUINTERO",  "ROSSI",   "SULLIVAN", "THOMPSON",  "UNDERWOOD", "VASQUEZ",  "WASHINGTON", "YOUNG",
    "ZIMMERMAN", "ADEYEMI", "BRENNAN",  "CHOWDHURY", "DUBOIS",    "ESPOSITO", "FITZGERALD", "GUTIERREZ",
};
const QStringList GivenNames{
    "JOHN",   "MARY",  "ROBERT", "PATRICIA", "MICHAEL", "LINDA", "DAVID",       "ELIZABETH",
    "JAMES",  "SUSAN", "CARLOS", "MARIA",    "KEVIN",   "AISHA", "THOMAS",      "JENNIFER",
    "ANDREW", "GRACE", "OMAR",   "HANNAH",   "VICTOR",  "NANCY", "CHRISTOPHER", "DOROTHY",
};
const QStringList Companies{
    "FIRST COUNTY BANK",    "MIDLAND CREDIT LLC",    "ACME SUPPLY CO",           "VENHOLT MEDICAL CENTER",
    "RIVERSIDE APARTMENTS", "NORTHERN AUTO FINANCE", "PRAIRIE MUTUAL INSURANCE", "CITY UTILITIES",
};
const QStringList Lawyers{
    "HOLLOWAY, MARGARET", "PRICE, GORDON",  "ESTRADA, LUCIA", "WEBB, NATHAN",
    "OKAFOR, CHINEDU",    "LARSEN, INGRID", "MURPHY, SEAN",   "KLEIN, RUTH",
};

template <typename List> const auto &Pick(const List &list, QRandomGenerator &rng)
{
    return list.at(static_cast<qsizetype>(rng.bounded(static_cast<quint32>(list.size()))));
}

bool Chance(QRandomGenerator &rng, quint32 percent)
{
    return rng.bounded(100u) < percent;
}

QString LawyerOrNone(QRandomGenerator &rng, quint32 percent)
{
    return Chance(rng, percent) ? Pick(Lawyers, rng) : QString();
}

Court::Litigant Party(const QString &type, qint16 number, const QString &name, const QString &attorney)
{
    return {type, number, name.left(NameLength), attorney.left(NameLength)};
}

} // namespace

QString PersonName(QRandomGenerator &rng)
{
    return (Pick(Surnames, rng) + QStringLiteral(", ") + Pick(GivenNames, rng)).left(NameLength);
}

QList<Court::Litigant> ForCase(const QString &caseType, QRandomGenerator &rng)
{
    const QString PL = QStringLiteral("PL");
    const QString DF = QStringLiteral("DF");
    QList<Court::Litigant> parties;

    if (modTypeOfCase::TypeOfCase(caseType) == 1) {
        const bool city =
            caseType == QLatin1String("OV") || (caseType == QLatin1String("TR") && Chance(rng, 30));
        parties << Party(PL, 1, city ? QStringLiteral("CITY OF VENHOLT") : QStringLiteral("STATE"),
                         city ? QStringLiteral("CITY ATTORNEY") : QStringLiteral("DISTRICT ATTORNEY"));
        const int defendants = Chance(rng, 10) ? 2 : 1;
        for (int i = 1; i <= defendants; ++i) {
            const QString attorney =
                Chance(rng, 45) ? QStringLiteral("PUBLIC DEFENDER") : LawyerOrNone(rng, 60);
            parties << Party(DF, static_cast<qint16>(i), PersonName(rng), attorney);
        }
        return parties;
    }

    if (caseType == QLatin1String("PR")) {
        parties << Party(PL, 1, QStringLiteral("ESTATE OF ") + PersonName(rng), LawyerOrNone(rng, 90));
        parties << Party(DF, 1, PersonName(rng), QString());
        return parties;
    }
    if (caseType == QLatin1String("DR")) {
        parties << Party(PL, 1, PersonName(rng), LawyerOrNone(rng, 80));
        parties << Party(DF, 1, PersonName(rng), LawyerOrNone(rng, 70));
        return parties;
    }
    // Civil actions, small claims and evictions: often a business against a person.
    const bool small = caseType == QLatin1String("SC");
    const int plaintiffs = Chance(rng, 10) ? 2 : 1;
    for (int i = 1; i <= plaintiffs; ++i) {
        const QString name = Chance(rng, 50) ? Pick(Companies, rng) : PersonName(rng);
        parties << Party(PL, static_cast<qint16>(i), name, LawyerOrNone(rng, small ? 15 : 85));
    }
    const int defendants = Chance(rng, 20) ? 2 : 1;
    for (int i = 1; i <= defendants; ++i)
        parties << Party(DF, static_cast<qint16>(i), PersonName(rng), LawyerOrNone(rng, small ? 5 : 60));
    return parties;
}

} // namespace Litigants
