#pragma once

#include <QSqlDatabase>
#include <QString>

// The tables the component reads and writes, with the indexes its lookups need. Creating is
// idempotent: existing tables and rows are left alone.
namespace Schema {

// The logging component's table: one row per folder status change.
inline constexpr char LogTable[] = "MRLCRT.FILLOG";

// FILUDT (MMDDYYYY as a number) as the number yyyymmdd, so that loan dates compare and sort. Only
// exact divisions, so that it gives the same whole number on SQLite's integers and on decimals;
// the loan table is indexed on this very expression.
#define ZORVA_LOAN_DATE_KEY                                                                                \
    "(FILUDT % 10000 * 10000 + (FILUDT - FILUDT % 1000000) / 10000 + (FILUDT % 1000000 - FILUDT % 10000) / 10000)"
inline constexpr char LoanDateKey[] = ZORVA_LOAN_DATE_KEY;

bool Create(QSqlDatabase &db, QString *error);
// A court reset by its owner: the tables dropped (the log's rows are never deleted one by one,
// its triggers refuse that) and made anew, empty.
bool Recreate(QSqlDatabase &db, QString *error);

} // namespace Schema
