#pragma once

#include <QString>
#include <QVariantList>

// Every statement the component sends against the folder loan table, spelled exactly as sent
// (blanks included: the editor's delete has two blanks before "Where", the batch run's one).
namespace FolderStatements {

// 1: (year, type, sequence) - editor load and save, batch run.
inline constexpr char SelectLoan[] = "Select * From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=?";
// 2: (loanedTo, date "MMddyyyy", user, year, type, sequence) - editor insert, batch check-out.
inline constexpr char InsertLoan[] =
    "Insert Into MRLCRT.FILCHK (FILOTO, FILUDT, FILUSR,FILYER, FILTYP, FILSEQ) Values(?,?,?,?,?,?)";
// 3: (loanedTo, date, user, year, type, sequence) - editor update.
inline constexpr char UpdateLoan[] =
    "Update MRLCRT.FILCHK Set FILOTO=?, FILUDT=?, FILUSR=? Where FILYER=? And FILTYP=? And FILSEQ=?";
// 4: (year, type, sequence) - editor delete.
inline constexpr char DeleteLoanEditor[] = "Delete From MRLCRT.FILCHK  Where FILYER=? And FILTYP=? And FILSEQ=?";
// 5: (year, type, sequence) - batch check-in.
inline constexpr char DeleteLoanBatch[] = "Delete From MRLCRT.FILCHK Where FILYER=? And FILTYP=? And FILSEQ=?";
// 6: (year, type, sequence, loanedTo, date, user) - docket check-out of a folder not on loan.
inline constexpr char InsertLoanDocket[] =
    "Insert Into MRLCRT.FILCHK (FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR) Values(?,?,?,?,?,?)";
// 11: (typed prefix with a wildcard) - the party boxes' suggestion list.
inline constexpr char PartySuggestions[] = "Select FILOTO From MRLCRT.FILCHK Where FILOTO Like ? Order By FILOTO";

// The docket run's literal statements 7 and 9 are these prefixes followed by the key condition
// " Where FILYER=... And FILTYP='...' And FILSEQ=..." (hence two blanks before "Where").
inline constexpr char SelectLoanLiteralPrefix[] = "Select * From MRLCRT.FILCHK ";
inline constexpr char DeleteLoanLiteralPrefix[] = "Delete From MRLCRT.FILCHK ";

// " Where FILYER=2005 And FILTYP='CR' And FILSEQ=1234": numbers as plain digits, the type quoted.
QString KeyCondition(qint16 year, const QString &type, qint32 sequence);

// 8: the docket's literal update. quotedParty must already have its single quotes doubled.
QString UpdateLoanLiteral(const QString &quotedParty, const QString &dateDigits, const QString &user,
                          const QString &keyCondition);

// 10: (year, type, sequence) - batch case lookup in MASCRM or MASCIV.
QString CaseLookup(const QString &masterTable);

// The locator's and zorva-db's look-up of one loan: the type code in any letter case (another
// program may have stored 'cv'), still answered by the key index. Bound by AnyCaseKey.
inline constexpr char SelectLoanAnyCase[] =
    "Select * From MRLCRT.FILCHK Where FILYER=? And FILTYP In (?,?,?,?) And FILSEQ=?";
// The locator's holder search, answered by an index whatever the letter case: on SQLite FILOTO is
// NOCASE and its index serves the range from the name to the name and "!" (bound as "SMITH",
// "SMITH!": trailing blanks and control characters sort below "!", so "Smith " is in it and
// "SMITHS" is not); elsewhere the holder index is on Upper(RTrim(FILOTO)) itself (bound as "SMITH").
inline constexpr char SelectHolderRange[] =
    "Select FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR From MRLCRT.FILCHK Where FILOTO >= ? And FILOTO < ?";
inline constexpr char SelectHolder[] =
    "Select FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR From MRLCRT.FILCHK Where Upper(RTrim(FILOTO)) = ?";
// year, the type as CV, cv, Cv and cV, sequence.
QVariantList AnyCaseKey(qint16 year, const QString &type, qint32 sequence);

} // namespace FolderStatements
