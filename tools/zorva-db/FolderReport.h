#pragma once

#include "records/CaseKey.h"

#include <QStringList>

// What the court database says about one case's folder, one line per fact, its court text made
// visible. Both return false,
// with *error, when the database cannot be read.
namespace FolderReport {

// "2009-CV-000123: on loan to SMI since 01/05/2026, recorded by CLERK1", or "...: not on loan".
bool Status(const CaseKey &key, QString *line, QString *error);

// The folder's log entries, oldest first, after a heading line; or one line saying there are none.
// Without `all` only the latest LocateQueries::RecentHistory, after a line counting the earlier ones.
bool History(const CaseKey &key, QStringList *lines, QString *error, bool all = false);

} // namespace FolderReport
