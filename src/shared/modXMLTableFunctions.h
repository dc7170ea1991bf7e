#pragma once

#include <QString>

// Reference tables as drop-down lists of a grid column. (The folders the tables live in are in
// modXMLTableFunctionsPaths.h.)
namespace modXMLTableFunctions {

// "|" + FlexGrid::BuildComboList of the table's rows: a list that also takes typed text.
// sortOrder, when not empty, orders the rows first: comma-separated fields, each optionally
// followed by ASC or DESC. A file that cannot be read as a rowset is reported in a message box
// and gives "|" alone.
QString XMLTableComboList(const QString &fileName, const QString &fieldList, const QString &keyField,
                          const QString &sortOrder);

} // namespace modXMLTableFunctions
