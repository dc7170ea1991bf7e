#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QStringList>

// Compares the loans with the folder log and verifies the log's chains, case by case: what a
// clerk's program changed outside the component, or while logging was off, shows up here.
namespace CourtAudit {

// The kinds of finding, as the report names them.
inline constexpr char LoanNotLogged[] = "loan not in the log";
inline constexpr char ReturnNotLogged[] = "return not in the log";
inline constexpr char LoanOfNoCase[] = "loan of no case";
inline constexpr char BadLoanDate[] = "loan date wrong";
inline constexpr char BrokenChain[] = "chain broken";
inline constexpr char Unchained[] = "unchained";

struct Finding
{
    QString kind;
    QDateTime when; // UTC; invalid when the finding has no date (a loan date that is no date)
    QString shownWhen; // the log row's time in local time with its zone, or the loan's date
    QString caseNumber;
    QString detail; // court text already made visible
};

struct Report
{
    qint64 loans = 0;
    qint64 logRows = 0;
    QList<Finding> findings; // oldest first; undated first of all
};

// Reads the court (only reads) and fills the report with what happened on or after since (a
// null date: everything); today decides which loan dates lie in the future.
bool Run(QSqlDatabase &db, const QDate &since, const QDate &today, Report *report, QString *error);

// The report as lines to read: the counts by kind first, then each finding.
QStringList Lines(const Report &report);
// The findings as CSV rows (kind, case, when, detail), the counts first as rows without a case.
QList<QStringList> Rows(const Report &report);

} // namespace CourtAudit
