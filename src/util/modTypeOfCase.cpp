#include "modTypeOfCase.h"

#include <algorithm>
#include <iterator>

namespace modTypeOfCase {

qint16 TypeOfCase(QString CaseType)
{
    // The code cut or padded to exactly two characters, compared exactly ("cv" is civil); read in
    // place, as the docket asks once per hearing.
    const QChar first = CaseType.size() > 0 ? CaseType.at(0) : QLatin1Char(' ');
    const QChar second = CaseType.size() > 1 ? CaseType.at(1) : QLatin1Char(' ');
    static constexpr char criminal[][3] = {"OV", "CV", "CM", "CF", "CC", "T ", "TR", "DT", "CL"};
    return first == QLatin1Char('J') || std::any_of(std::begin(criminal), std::end(criminal), [&](const char *code) {
               return first == QLatin1Char(code[0]) && second == QLatin1Char(code[1]);
           });
}

QString MasterTableName(const QString &CaseType)
{
    // TypeOfCase gives 1 or 0, nothing else.
    return TypeOfCase(CaseType) == 1 ? QStringLiteral("MASCRM") : QStringLiteral("MASCIV");
}

} // namespace modTypeOfCase
