#pragma once

#include "platform/ProgramFiles.h"

#include <QString>

// Where the reference table files live: the product's folder under the machine's Program Files
// folder, and its client tables folder, to which a table's file name is simply appended.
namespace modXMLTableFunctions {

// "C:\Program Files\Venholt Dedezirive, Ltd" on Windows, "/opt/Venholt Dedezirive, Ltd" elsewhere
// by default; no separator at the end.
QString ProductFolder();
// ProductFolder() + "\Common Files\Tables\Client\" (with "/" elsewhere), ending in the separator.
QString ClientTablesFolder();

// The same rules for a given Program Files folder and path style.
QString ProductFolder(const QString &programFilesFolder, Platform::PathStyle style);
QString ClientTablesFolder(const QString &productFolder, Platform::PathStyle style);

} // namespace modXMLTableFunctions
