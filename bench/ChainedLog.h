#pragma once

#include <QString>

// A large court for the audit and the locator: `cases` cases, each with a master row, a loan to
// SMI, and `rowsPerCase` log rows chained as the component chains them, the last an "out" to
// SMI, so that an audit reads and verifies every row and finds nothing. The log is written in
// time order, a day's row of every case and then the next day's, as a court's log grows: a
// case's rows lie apart in the table. SQLite through the data layer in one transaction; a
// server through COPY.
namespace ChainedLog {

void WriteSqlite(int cases, int rowsPerCase);
void WritePostgres(const QString &url, int cases, int rowsPerCase);

} // namespace ChainedLog
