#include "FolderStatements.h"

#include <QStringBuilder>

namespace FolderStatements {

QString KeyCondition(qint16 year, const QString &type, qint32 sequence)
{
    // The type comes from the court's own rows: its quotes are doubled like any text in a literal.
    // Built in one allocation: a docket run builds one per folder.
    return QStringLiteral(" Where FILYER=") % QString::number(year) % QStringLiteral(" And FILTYP='") %
           QString(type).replace(QLatin1Char('\''), QLatin1String("''")) % QStringLiteral("' And FILSEQ=") %
           QString::number(sequence);
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
