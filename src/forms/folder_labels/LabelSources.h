#pragma once

#include "records/CaseKey.h"

#include <QList>

class FlexGrid;
class QAbstractItemModel;

// The cases a window lists, for labels: what the clerk sees is what is labelled.
namespace LabelSources {

// The rows' "Case" column of a locator list; a row whose case number is not one is passed over.
QList<CaseKey> FromList(const QAbstractItemModel &list);
// The batch grid's rows with a whole case number the court holds (not "INVALID LITIGANT").
QList<CaseKey> FromBatchGrid(const FlexGrid &grid);

} // namespace LabelSources
