#include "LabelSources.h"

#include "shared/controls/FlexGrid.h"

#include <QAbstractItemModel>

namespace LabelSources {

QList<CaseKey> FromList(const QAbstractItemModel &list)
{
    int column = -1;
    for (int c = 0; c < list.columnCount(); ++c)
        if (list.headerData(c, Qt::Horizontal).toString() == QLatin1String("Case"))
            column = c;
    QList<CaseKey> keys;
    for (int row = 0; column >= 0 && row < list.rowCount(); ++row)
        if (const std::optional<CaseKey> key = CaseKey::Parse(list.index(row, column).data().toString()))
            keys << *key;
    return keys;
}

QList<CaseKey> FromBatchGrid(const FlexGrid &grid)
{
    const int year = grid.ColIndex(QStringLiteral("WRKYER")), type = grid.ColIndex(QStringLiteral("WRKTYP"));
    const int sequence = grid.ColIndex(QStringLiteral("WRKSEQ")), title = grid.ColIndex(QStringLiteral("WRKNAM"));
    QList<CaseKey> keys;
    for (int row = grid.FixedRows(); row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, title) == QLatin1String("INVALID LITIGANT"))
            continue;
        const QString number = QStringList{grid.TextMatrix(row, year), grid.TextMatrix(row, type).trimmed(),
                                           grid.TextMatrix(row, sequence)}
                                   .join(QLatin1Char('-'));
        if (const std::optional<CaseKey> key = CaseKey::Parse(number))
            keys << *key;
    }
    return keys;
}

} // namespace LabelSources
