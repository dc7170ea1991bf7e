#pragma once

#include "Court.h"

#include <QSqlDatabase>
#include <functional>

namespace CourtWriter {

// Writes the rows in one transaction: all of them or, on a failure, none. The log rows are
// chained per case as the log writer chains them, on cases that have no log rows yet. progress
// hears (rows done, rows in all) after each row.
bool Write(QSqlDatabase &db, const Court::Rows &rows, QString *error,
           const std::function<void(qint64, qint64)> &progress = {});

} // namespace CourtWriter
