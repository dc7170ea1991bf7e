#include "FlexGridParts.h"

#include "FlexGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

bool IsNumber(const QString &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

} // namespace

void FlexGridDrawCell(QPainter *painter, const QRect &rect, const QString &text, const QFont &font,
                      const QColor &background, const QColor &foreground, const QColor &lines)
{
    painter->fillRect(rect, background);
    painter->setPen(lines);
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    if (text.isEmpty())
        return;
    const QRect area = rect.adjusted(3, 0, -4, -1);
    painter->setFont(font);
    painter->setPen(foreground);
    const Qt::Alignment horizontal = IsNumber(text) ? Qt::AlignRight : Qt::AlignLeft;
    const QString shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, area.width());
    painter->drawText(area, int(horizontal | Qt::AlignVCenter), shown);
}

// ---- model

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

// ---- header

FlexGridHeader::FlexGridHeader(FlexGrid *grid) : QHeaderView(Qt::Horizontal), m_grid(grid)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(0);
    setStretchLastSection(false);
}

QSize FlexGridHeader::sizeHint() const
{
    int height = 0;
    for (int row = 0; row < m_grid->FixedRows(); ++row) {
        if (!m_grid->RowHidden(row))
            height += m_grid->rowPx(row);
    }
    return {length(), height};
}

void FlexGridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    int top = rect.top();
    for (int row = 0; row < m_grid->FixedRows(); ++row) {
        const int height = m_grid->RowHidden(row) ? 0 : m_grid->rowPx(row);
        if (height <= 0)
            continue;
        const FlexGrid::Cell *cell = m_grid->cellAt(row, logicalIndex);
        QFont font = m_grid->font();
        font.setBold(cell && cell->bold);
        const qint32 fore = cell && cell->fore ? *cell->fore : m_grid->ForeColorFixed();
        FlexGridDrawCell(painter, QRect(rect.left(), top, rect.width(), height),
                         cell ? cell->text : QString(), font,
                         FlexGrid::ToQColor(m_grid->cellBackground(row, logicalIndex)),
                         FlexGrid::ToQColor(fore), FlexGrid::ToQColor(m_grid->GridColor()));
        top += height;
    }
    painter->restore();
}

// ---- delegate

FlexGridDelegate::FlexGridDelegate(FlexGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

void FlexGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    const int row = index.row() + m_grid->FixedRows();
    const int col = index.column();
    const FlexGrid::Cell *cell = m_grid->cellAt(row, col);
    if (!cell)
        return;
    painter->save();
    QFont font = option.font;
    font.setBold(cell->bold);
    const qint32 fore = cell->fore ? *cell->fore : m_grid->ForeColor();
    FlexGridDrawCell(painter, option.rect, cell->text, font,
                     FlexGrid::ToQColor(m_grid->cellBackground(row, col)), FlexGrid::ToQColor(fore),
                     FlexGrid::ToQColor(m_grid->GridColor()));
    if (row == m_grid->Row() && col == m_grid->Col() && !m_grid->IsEditing()) {
        const QRect inside = option.rect.adjusted(0, 0, -1, -1);
        switch (m_grid->FocusRect()) {
        case FlexGrid::FocusRectNone:
            break;
        case FlexGrid::FocusRectLight:
            painter->setPen(QPen(FlexGrid::ToQColor(fore), 1, Qt::DotLine));
            painter->drawRect(inside.adjusted(0, 0, -1, -1));
            break;
        default:
            painter->setPen(QPen(FlexGrid::ToQColor(fore), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            painter->drawRect(inside.adjusted(1, 1, -1, -1));
            break;
        }
    }
    painter->restore();
}

// ---- view

FlexGridView::FlexGridView(FlexGrid *grid) : QTableView(grid), m_grid(grid)
{
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    viewport()->setObjectName(QStringLiteral("FlexGridCells"));
}

void FlexGridView::Relayout()
{
    updateGeometries();
    viewport()->update();
}

void FlexGridView::keyPressEvent(QKeyEvent *event)
{
    m_grid->handleKeyPress(event);
    m_grid->m_keyFromView = event->isAccepted() ? nullptr : event;
}

// Tab that finds no next cell is tried here on a key event of the view's own making, which never
// travels on to the grid: it must not stay marked.
bool FlexGridView::focusNextPrevChild(bool next)
{
    const bool moved = QTableView::focusNextPrevChild(next);
    m_grid->m_keyFromView = nullptr;
    return moved;
}

void FlexGridView::keyReleaseEvent(QKeyEvent *event)
{
    m_grid->handleKeyRelease(event);
}

void FlexGridView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        m_grid->clickCell(index.row() + m_grid->FixedRows(), index.column(), false);
}

// Dragging selects nothing: the grid has a cursor, not a selection.
void FlexGridView::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

void FlexGridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        m_grid->clickCell(index.row() + m_grid->FixedRows(), index.column(), true);
}

void FlexGridView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    m_grid->placeEditor();
}

void FlexGridView::updateGeometries()
{
    QTableView::updateGeometries();
    m_grid->placeEditor();
}
