#pragma once

#include "Court.h"

#include <QSqlDatabase>
#include <QStringList>

// Seeding replaces every record of the demo's case numbers and adds the demo's cases beside
// the court's own: on a court in use that would overwrite clerks' work. This compares the court
// with the very rows seeding would write, so that seeding can refuse.
namespace DemoGuard {

// One line per table that differs from the demo's rows: how many of its rows are not the demo's,
// how many of the demo's are missing (or changed: a changed row is both), each with the first few
// rows named. Empty when the court holds exactly the demo's rows, or nothing at all. A demo row
// still counts as the demo's on a later day: dates are not compared.
bool Differences(QSqlDatabase &db, const Court::Rows &demo, QStringList *found, QString *error);

} // namespace DemoGuard
