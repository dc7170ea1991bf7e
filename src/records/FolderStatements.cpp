#include "FolderStatements.h"

#include <QStringBuilder>
#include <charconv>

namespace FolderStatements {

namespace {

// A whole number's digits, written into out.
QLatin1String Digits(char *out, size_t room, qint32 n)
{
    return QLatin1String(out, std::to_chars(out, out + room, n).ptr - out);
}

} // namespace

QVariantList AnyCaseKey(qint16 year, const QString &type, qint32 sequence)
{
    const QString upper = type.toUpper(), lower = type.toLower();
    const QString mixed = upper.left(1) + lower.mid(1), other = lower.left(1) + upper.mid(1);
    return {year, upper, lower, mixed, other, sequence};
}

QString KeyCondition(qint16 year, const QString &type, qint32 sequence)
{
    // The type comes from the court's own rows: its quotes are doubled like any text in a literal.
    // Built in one allocation, the numbers written on the stack: a docket run builds one per folder.
    char yearDigits[8], sequenceDigits[16];
    const QString quotedType =
        type.contains(QLatin1Char('\'')) ? QString(type).replace(QLatin1Char('\''), QLatin1String("''")) : type;
    return QStringLiteral(" Where FILYER=") % Digits(yearDigits, sizeof yearDigits, year) %
           QStringLiteral(" And FILTYP='") % quotedType % QStringLiteral("' And FILSEQ=") %
           Digits(sequenceDigits, sizeof sequenceDigits, sequence);
}

QString UpdateLoanLiteral(const QString &quotedParty, const QString &dateDigits, const QString &user,
                          const QString &keyCondition)
{
    return QStringLiteral("Update MRLCRT.FILCHK Set FILOTO= '") + quotedParty + QStringLiteral("', FILUDT= ") +
           dateDigits + QStringLiteral(", FILUSR= '") + user + QStringLiteral("'") + keyCondition;
}

QString CaseLookup(const QString &masterTable)
{
    return QStringLiteral("Select MASYER,MASTYP,MASSEQ,MASLTP,MASLIT,IfNull(FILOTO,'') As FILOTO From MRLCRT.") +
           masterTable +
           QStringLiteral(" Left Join MRLCRT.FILCHK On FILYER=MASYER And FILTYP=MASTYP And FILSEQ=MASSEQ"
                          " Where MASYER=? And MASTYP=? And MASSEQ=? Order By MASLTP,MASLIT");
}

} // namespace FolderStatements
