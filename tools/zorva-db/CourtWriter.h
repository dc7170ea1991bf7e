#pragma once

#include "Court.h"

#include <QSqlDatabase>

namespace CourtWriter {

// Writes the rows in one transaction: all of them or, on a failure, none. With replace, every
// row those cases already have (masters, hearings, loan, log) goes first, so that writing the
// same court again leaves the same tables.
bool Write(QSqlDatabase &db, const Court::Rows &rows, bool replace, QString *error);

} // namespace CourtWriter
