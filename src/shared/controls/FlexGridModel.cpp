#include "FlexGrid.h"

#include "FlexGridModel.h"
#include "FlexGridView.h"

#include <QScrollBar>
#include <algorithm>

// The grid's data: its shape, columns, rows and cells, and the colours it is drawn in.

namespace {

// Pixels to twips and back; a twip value that is no whole number of pixels rounds to the nearest.
int ToTwips(int px)
{
    return px * FlexGrid::TwipsPerPixel;
}
int ToPx(int twips)
{
    return (twips + FlexGrid::TwipsPerPixel / 2) / FlexGrid::TwipsPerPixel;
}

} // namespace

// ---- checks and lookups

bool FlexGrid::validRow(int row) const
{
    return row >= 0 && row < Rows();
}
bool FlexGrid::validCol(int col) const
{
    return col >= 0 && col < Cols();
}

bool FlexGrid::validCell(int row, int col) const
{
    return validRow(row) && validCol(col);
}

const FlexGrid::Cell *FlexGrid::cellAt(int row, int col) const
{
    return validCell(row, col) ? &m_rows[row].cells[col] : nullptr;
}

FlexGrid::Cell *FlexGrid::cellAt(int row, int col)
{
    return validCell(row, col) ? &m_rows[row].cells[col] : nullptr;
}

int FlexGrid::defaultRowPx() const
{
    return qMax(fontMetrics().height() + 4, 17);
}

int FlexGrid::rowPx(int row) const
{
    if (!validRow(row))
        return 0;
    return m_rows[row].heightPx >= 0 ? m_rows[row].heightPx : defaultRowPx();
}

int FlexGrid::colPx(int col) const
{
    if (!validCol(col))
        return 0;
    return m_cols[col].widthPx >= 0 ? m_cols[col].widthPx : m_header->defaultSectionSize();
}

qint32 FlexGrid::cellBackground(int row, int col) const
{
    const Cell *cell = cellAt(row, col);
    if (cell && cell->back)
        return *cell->back;
    if (row < m_fixedRows)
        return m_backColorFixed;
    const bool alternate = (row - m_fixedRows) % 2 == 1 && m_backColorAlternate != 0;
    return alternate ? m_backColorAlternate : m_backColor;
}

// ---- shape

template <typename Change> void FlexGrid::restructure(Change change)
{
    // The view's sections come back at their default sizes; those are not the user's widths.
    m_applyingLayout = true;
    m_model->BeginReset();
    change();
    m_model->EndReset();
    applyLayout();
    clampCursor();
    placeEditor();
}

void FlexGrid::applyLayout()
{
    m_applyingLayout = true;
    m_view->verticalHeader()->setDefaultSectionSize(defaultRowPx());
    for (int row = m_fixedRows; row < Rows(); ++row) {
        m_view->setRowHeight(row - m_fixedRows, rowPx(row));
        m_view->setRowHidden(row - m_fixedRows, m_rows[row].hidden);
    }
    for (int col = 0; col < Cols(); ++col) {
        m_view->setColumnWidth(col, colPx(col));
        m_view->setColumnHidden(col, m_cols[col].hidden);
    }
    m_header->setVisible(m_fixedRows > 0);
    m_applyingLayout = false;
    m_view->Relayout();
}

void FlexGrid::clampCursor()
{
    m_row = Rows() > m_fixedRows ? std::clamp(m_row, m_fixedRows, Rows() - 1) : -1;
    m_col = Cols() > 0 ? std::clamp(m_col, 0, Cols() - 1) : -1;
}

void FlexGrid::repaintCells()
{
    m_view->viewport()->update();
    m_header->viewport()->update();
}

// An edit of a cell that moves or goes away ends without AfterEdit.
void FlexGrid::endEditIfAffected(int firstChangedRow, int firstChangedCol)
{
    if (m_edit && (m_edit->row >= firstChangedRow || m_edit->col >= firstChangedCol))
        cancelEdit();
}

void FlexGrid::setFixedRows(int rows)
{
    rows = qMax(0, rows);
    if (m_edit && m_edit->row < rows)
        cancelEdit();
    restructure([&] {
        while (Rows() < rows)
            m_rows.append(RowData{QList<Cell>(Cols()), false, -1});
        m_fixedRows = rows;
    });
}

void FlexGrid::setRows(int rows)
{
    rows = qMax(0, rows);
    endEditIfAffected(rows, Cols());
    restructure([&] {
        m_rows.resize(rows);
        for (RowData &row : m_rows)
            row.cells.resize(Cols());
        m_fixedRows = qMin(m_fixedRows, rows);
    });
}

void FlexGrid::setCols(int cols)
{
    cols = qMax(0, cols);
    endEditIfAffected(Rows(), cols);
    restructure([&] {
        m_cols.resize(cols);
        for (RowData &row : m_rows)
            row.cells.resize(cols);
    });
}

void FlexGrid::RemoveItem(int row)
{
    if (!validRow(row) || row < m_fixedRows)
        return;
    endEditIfAffected(row, Cols());
    restructure([&] {
        m_rows.removeAt(row);
        if (m_row > row)
            --m_row;
    });
}

// ---- columns

void FlexGrid::setColKey(int col, const QString &key)
{
    if (validCol(col))
        m_cols[col].key = key;
}

int FlexGrid::ColIndex(const QString &key) const
{
    for (int col = 0; col < Cols(); ++col) {
        if (m_cols[col].key == key)
            return col;
    }
    Q_ASSERT_X(false, "FlexGrid::ColIndex", "no column has this key");
    return -1;
}

int FlexGrid::ColWidth(int col) const
{
    return ToTwips(colPx(col));
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (!validCol(col))
        return;
    m_cols[col].widthPx = twips < 0 ? -1 : ToPx(twips);
    m_applyingLayout = true;
    m_view->setColumnWidth(col, colPx(col));
    m_applyingLayout = false;
    placeEditor();
}

bool FlexGrid::ColHidden(int col) const
{
    return validCol(col) && m_cols[col].hidden;
}

void FlexGrid::setColHidden(int col, bool hidden)
{
    if (!validCol(col))
        return;
    m_cols[col].hidden = hidden;
    m_applyingLayout = true;
    m_view->setColumnHidden(col, hidden);
    m_applyingLayout = false;
    placeEditor();
}

void FlexGrid::setColComboList(int col, const QString &list)
{
    if (validCol(col))
        m_cols[col].comboList = list;
}

// ---- rows

int FlexGrid::RowHeight(int row) const
{
    return ToTwips(rowPx(row));
}

void FlexGrid::setRowHeight(int row, int twips)
{
    if (!validRow(row))
        return;
    m_rows[row].heightPx = twips < 0 ? -1 : ToPx(twips);
    if (row >= m_fixedRows)
        m_view->setRowHeight(row - m_fixedRows, rowPx(row));
    m_view->Relayout();
}

bool FlexGrid::RowHidden(int row) const
{
    return validRow(row) && m_rows[row].hidden;
}

void FlexGrid::setRowHidden(int row, bool hidden)
{
    if (!validRow(row))
        return;
    m_rows[row].hidden = hidden;
    if (row >= m_fixedRows)
        m_view->setRowHidden(row - m_fixedRows, hidden);
    m_view->Relayout();
}

// ---- cells

QString FlexGrid::TextMatrix(int row, int col) const
{
    const Cell *cell = cellAt(row, col);
    return cell ? cell->text : QString();
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    if (Cell *cell = cellAt(row, col)) {
        cell->text = text;
        repaintCells();
    }
}

double FlexGrid::ValueMatrix(int row, int col) const
{
    bool ok = false;
    const double value = TextMatrix(row, col).trimmed().toDouble(&ok);
    return ok ? value : 0.0;
}

qint32 FlexGrid::CellForeColor(int row, int col) const
{
    const Cell *cell = cellAt(row, col);
    return cell && cell->fore ? *cell->fore : 0;
}

void FlexGrid::setCellForeColor(int row, int col, qint32 color)
{
    if (Cell *cell = cellAt(row, col)) {
        cell->fore = color;
        repaintCells();
    }
}

qint32 FlexGrid::CellBackColor(int row, int col) const
{
    const Cell *cell = cellAt(row, col);
    return cell && cell->back ? *cell->back : 0;
}

void FlexGrid::setCellBackColor(int row, int col, qint32 color)
{
    if (Cell *cell = cellAt(row, col)) {
        cell->back = color;
        repaintCells();
    }
}

bool FlexGrid::CellFontBold(int row, int col) const
{
    const Cell *cell = cellAt(row, col);
    return cell && cell->bold;
}

void FlexGrid::setCellFontBold(int row1, int col1, int row2, int col2, bool bold)
{
    if (!validCell(row1, col1) || !validCell(row2, col2))
        return;
    for (int row = qMin(row1, row2); row <= qMax(row1, row2); ++row) {
        for (int col = qMin(col1, col2); col <= qMax(col1, col2); ++col)
            m_rows[row].cells[col].bold = bold;
    }
    repaintCells();
}

// ---- look

void FlexGrid::setBackColor(qint32 color)
{
    m_backColor = color;
    repaintCells();
}

void FlexGrid::setBackColorAlternate(qint32 color)
{
    m_backColorAlternate = color;
    repaintCells();
}

void FlexGrid::setBackColorFixed(qint32 color)
{
    m_backColorFixed = color;
    repaintCells();
}

void FlexGrid::setGridColor(qint32 color)
{
    m_gridColor = color;
    repaintCells();
}

void FlexGrid::setForeColor(qint32 color)
{
    m_foreColor = color;
    repaintCells();
}

void FlexGrid::setForeColorFixed(qint32 color)
{
    m_foreColorFixed = color;
    repaintCells();
}

void FlexGrid::setFocusRect(int style)
{
    m_focusRect = style;
    repaintCells();
}

void FlexGrid::setScrollTrack(bool track)
{
    m_scrollTrack = track;
    for (QScrollBar *bar : findChildren<QScrollBar *>())
        bar->setTracking(track);
}

QColor FlexGrid::ToQColor(qint32 bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

qint32 FlexGrid::FromQColor(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

// ---- lists

QString FlexGrid::BuildComboList(const Rowset &rows, const QString &fieldList, const QString &keyField)
{
    // Field names are matched without regard to case, as the recordset itself does; a field the
    // rowset lacks gives blanks.
    const auto resolve = [&rows](const QString &name) {
        for (const QString &field : rows.fields) {
            if (field.compare(name, Qt::CaseInsensitive) == 0)
                return field;
        }
        return QString();
    };
    QStringList fields;
    for (const QString &part : fieldList.split(QLatin1Char(','))) {
        if (!part.trimmed().isEmpty())
            fields << part.trimmed();
    }
    if (fields.isEmpty() || (fields.size() == 1 && fields.first() == QLatin1String("*")))
        fields = rows.fields;
    QStringList names;
    for (const QString &field : fields)
        names << resolve(field);
    const QString key = keyField.trimmed();
    const bool keyed =
        !key.isEmpty() && !fields.isEmpty() && key.compare(fields.first(), Qt::CaseInsensitive) != 0;
    const QString keyName = keyed ? resolve(key) : QString();

    QStringList items;
    items.reserve(rows.rows.size());
    for (const auto &row : rows.rows) {
        QStringList values;
        for (const QString &name : names)
            values << row.value(name);
        QString item = values.join(QLatin1Char('\t'));
        if (keyed)
            item = QLatin1Char('#') + row.value(keyName) + QLatin1Char(';') + item;
        items << item;
    }
    return items.join(QLatin1Char('|'));
}

// ---- the data rows as the view sees them

FlexGridModel::FlexGridModel(FlexGrid *grid) : QAbstractTableModel(grid), m_grid(grid) {}

int FlexGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : qMax(0, m_grid->Rows() - m_grid->FixedRows());
}

int FlexGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_grid->Cols();
}

QVariant FlexGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_grid->TextMatrix(index.row() + m_grid->FixedRows(), index.column());
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || m_grid->FixedRows() == 0)
        return {};
    return m_grid->TextMatrix(0, section);
}
