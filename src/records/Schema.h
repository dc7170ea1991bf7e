#pragma once

#include <QSqlDatabase>
#include <QString>

// The tables the component reads and writes, with the indexes its lookups need. Creating is
// idempotent: existing tables and rows are left alone.
namespace Schema {

// The logging component's table: one row per folder status change.
inline constexpr char LogTable[] = "MRLCRT.FILLOG";

bool Create(QSqlDatabase &db, QString *error);

} // namespace Schema
