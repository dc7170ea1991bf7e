#pragma once

#include <QString>

class Combo;

// Reference tables as drop-down lists of a grid column. (The folders the tables live in are in
// modXMLTableFunctionsPaths.h.)
namespace modXMLTableFunctions {

// The box text for a table file that cannot be read: the fixed wording, then why, for whoever
// the clerk calls.
QString OpenFailureMessage(const QString &fileName, const QString &reason);

// "|" + FlexGrid::BuildComboList of the table's rows: a list that also takes typed text.
// sortOrder, when not empty, orders the rows first: comma-separated fields, each optionally
// followed by ASC or DESC. A file that cannot be read as a rowset is reported in a message box
// (OpenFailureMessage) and gives "|" alone.
QString XMLTableComboList(const QString &fileName, const QString &fieldList, const QString &keyField,
                          const QString &sortOrder);

// Fills a window's list from a reference table of the client tables folder, with firstRow (tab-
// separated columns) put first; a table that cannot be read is reported (OpenFailureMessage) and
// the list holds firstRow alone.
void LoadList(Combo *combo, const QString &tableFile, const QString &firstRow);

} // namespace modXMLTableFunctions
