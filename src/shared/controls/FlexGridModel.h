#pragma once

#include <QAbstractTableModel>

class FlexGrid;

// Data rows only: view row 0 is the grid's first row under the fixed rows.
class FlexGridModel : public QAbstractTableModel
{
public:
    explicit FlexGridModel(FlexGrid *grid);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }

private:
    FlexGrid *m_grid;
};
