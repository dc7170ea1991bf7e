#pragma once

#include "Court.h"

#include <QSqlDatabase>
#include <functional>

namespace CourtWriter {

// Writes the rows in one transaction: all of them or, on a failure, none. With replace, every
// row those cases already have (masters, hearings, loan, log) goes first, so that writing the
// same court again leaves the same tables. progress hears (rows done, rows in all) after each row.
bool Write(QSqlDatabase &db, const Court::Rows &rows, bool replace, QString *error,
           const std::function<void(qint64, qint64)> &progress = {});

} // namespace CourtWriter
