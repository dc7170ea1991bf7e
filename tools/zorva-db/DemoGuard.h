#pragma once

#include "Court.h"

#include <QSqlDatabase>
#include <QStringList>

// Seeding replaces every record of the demo's case numbers and adds the demo's cases beside
// the court's own: on a court in use that would overwrite clerks' loans and history. This finds
// what the court holds besides the demo's own rows, so that seeding can refuse.
namespace DemoGuard {

// One line per kind of record that is not the demo's (cases, loans, history), each with its
// count and the first few case numbers; empty when the court holds only demo rows. A demo row
// still counts as the demo's on a later day: dates are not compared.
bool Foreign(QSqlDatabase &db, const Court::Rows &demo, QStringList *found, QString *error);

} // namespace DemoGuard
