#pragma once

#include <QString>

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

} // namespace FolderStatements
