#include "FlexGrid.h"

#include "FlexGridModel.h"
#include "FlexGridView.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

// What the clerk sees and types into: the view, its header and cell painter, and the editor.

namespace {

// One entry of a drop-down list: "value", "value\tmore" or "#key;value\tmore".
struct ListItem
{
    QString key;
    QString value;
    QString shown;
};

QList<ListItem> ParseList(const QString &list)
{
    QList<ListItem> items;
    const QString body = list.mid(1); // past the leading "|"
    if (body.isEmpty())
        return items;
    for (QString item : body.split(QLatin1Char('|'))) {
        ListItem parsed;
        if (item.startsWith(QLatin1Char('#'))) {
            const qsizetype semicolon = item.indexOf(QLatin1Char(';'));
            parsed.key = item.mid(1, semicolon < 0 ? -1 : semicolon - 1);
            item = semicolon < 0 ? QString() : item.mid(semicolon + 1);
        }
        parsed.value = item.section(QLatin1Char('\t'), 0, 0);
        parsed.shown = QString(item).replace(QLatin1Char('\t'), QStringLiteral("   "));
        items.append(parsed);
    }
    return items;
}

bool IsNumber(const QString &text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}

} // namespace

bool FlexGridWithin(const QWidget *widget, const QWidget *ancestor)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget == ancestor)
            return true;
    }
    return false;
}

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
    // One line placed by hand: the text layout that drawText(QRect, flags, ...) runs for every cell
    // is most of a repaint. Most cells fit; only the others are cut with an ellipsis.
    const QFontMetrics metrics = painter->fontMetrics();
    const int advance = metrics.horizontalAdvance(text);
    const bool fits = advance <= area.width();
    const QString shown = fits ? text : metrics.elidedText(text, Qt::ElideRight, area.width());
    const int width = fits ? advance : metrics.horizontalAdvance(shown);
    const int x = IsNumber(text) ? area.right() + 1 - width : area.left();
    const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    const bool spills = width > area.width() || metrics.height() > area.height();
    if (spills) {
        painter->save();
        painter->setClipRect(area, Qt::IntersectClip);
    }
    painter->drawText(QPoint(x, baseline), shown);
    if (spills)
        painter->restore();
}

void FlexGrid::SetAccessibleName(const QString &name)
{
    setAccessibleName(name);
    m_view->setAccessibleName(name);
}

FlexGrid::FlexGrid(QWidget *parent) : QWidget(parent)
{
    m_backColorFixed = FromQColor(palette().color(QPalette::Button));
    m_gridColor = FromQColor(palette().color(QPalette::Mid));

    m_model = new FlexGridModel(this);
    m_view = new FlexGridView(this);
    m_view->setModel(m_model);
    m_header = new FlexGridHeader(this);
    m_view->setHorizontalHeader(m_header);
    m_view->setItemDelegate(new FlexGridDelegate(this));
    m_view->verticalHeader()->setDefaultSectionSize(defaultRowPx());
    connect(m_header, &QHeaderView::sectionResized, this, [this](int col, int, int size) {
        if (!m_applyingLayout && validCol(col))
            m_cols[col].widthPx = size;
        placeEditor();
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    setFixedRows(1);
}

FlexGrid::~FlexGrid()
{
    // The editor must not report anything while the grid is half destroyed, and the view's
    // children must go while the grid's values they read still exist.
    if (m_edit)
        m_edit->keyTarget->removeEventFilter(this);
    m_edit.reset();
    disconnect(m_header, nullptr, this, nullptr);
    delete m_view;
}

// ---- editor

void FlexGrid::openEditor(int row, int col)
{
    const Cell &cell = m_rows[row].cells[col];
    const QString list = m_cols[col].comboList;
    Editor editor;
    editor.row = row;
    editor.col = col;
    QWidget *parent = m_view->viewport();
    if (list.isEmpty()) {
        auto *line = new QLineEdit(parent);
        line->setFrame(false);
        line->setText(cell.text);
        editor.widget = line;
        editor.keyTarget = line;
        editor.line = line;
        connect(line, &QLineEdit::textChanged, this, [this] { emit ChangeEdit(); });
    } else {
        ListEditor &kept = m_listEditors[col];
        if (!kept.combo || kept.list != list) {
            delete kept.combo;
            kept = {list, new QComboBox(parent)};
            kept.combo->setFrame(false);
            for (const ListItem &item : ParseList(list)) {
                kept.combo->addItem(item.value, item.key);
                kept.combo->setItemData(kept.combo->count() - 1, item.shown, Qt::ToolTipRole);
            }
            kept.combo->setEditable(true);
            kept.combo->setInsertPolicy(QComboBox::NoInsert);
            // Completing "19" to "1999" would change what the clerk typed.
            kept.combo->setCompleter(nullptr);
        }
        QComboBox *combo = kept.combo;
        combo->setCurrentIndex(-1);
        combo->setEditText(cell.text);
        editor.line = combo->lineEdit();
        connect(editor.line, &QLineEdit::textChanged, this, [this] { emit ChangeEdit(); });
        // Picking from the list completes the edit.
        connect(combo, &QComboBox::activated, this, [this, combo](int index) {
            if (!m_edit || m_edit->combo != combo || m_synthesizing)
                return;
            m_edit->line->setText(combo->itemText(index));
            commitEdit();
        });
        editor.widget = combo;
        editor.keyTarget = combo;
        editor.combo = combo;
    }
    editor.widget->setObjectName(QStringLiteral("FlexGridEditor"));
    QFont font = m_view->font();
    font.setBold(cell.bold);
    editor.widget->setFont(font);
    QPalette palette = editor.widget->palette();
    palette.setColor(QPalette::Base, ToQColor(cellBackground(row, col)));
    palette.setColor(QPalette::Text, ToQColor(cell.fore ? *cell.fore : m_foreColor));
    editor.widget->setPalette(palette);
    editor.line->setMaxLength(m_editMaxLength > 0 ? m_editMaxLength : 32767);
    editor.line->selectAll();
    editor.keyTarget->installEventFilter(this);
    m_edit = editor;
    placeEditor();
    editor.widget->show();
    editor.widget->setFocus(Qt::OtherFocusReason);
    repaintCells();
}

void FlexGrid::placeEditor()
{
    if (!m_edit)
        return;
    const QRect rect = m_view->visualRect(m_model->index(m_edit->row - m_fixedRows, m_edit->col));
    // Inside the grid lines, which stay visible around the editor.
    m_edit->widget->setGeometry(rect.adjusted(0, 0, -1, -1));
}

std::optional<FlexGrid::Editor> FlexGrid::detachEditor()
{
    if (!m_edit)
        return std::nullopt;
    Editor editor = *m_edit;
    m_edit.reset();
    QWidget *widget = editor.widget;
    editor.keyTarget->removeEventFilter(this);
    QObject::disconnect(widget, nullptr, this, nullptr);
    QObject::disconnect(editor.line, nullptr, this, nullptr);
    widget->setObjectName(QString());
    // Keep the keyboard in the grid, unless the focus has already gone elsewhere.
    if (FlexGridWithin(QApplication::focusWidget(), widget))
        m_view->setFocus(Qt::OtherFocusReason);
    widget->hide();
    if (editor.combo)
        editor.combo->hidePopup();
    else
        widget->deleteLater();
    repaintCells();
    return editor;
}

QString FlexGrid::editorText(const Editor &editor) const
{
    return editor.line->text();
}

void FlexGrid::commitEdit()
{
    if (!m_edit)
        return;
    const QString text = editorText(*m_edit);
    const std::optional<Editor> editor = detachEditor();
    if (Cell *cell = cellAt(editor->row, editor->col))
        cell->text = text;
    repaintCells();
    emit AfterEdit(editor->row, editor->col);
}

void FlexGrid::cancelEdit()
{
    detachEditor();
}

QString FlexGrid::EditText() const
{
    return m_edit ? editorText(*m_edit) : QString();
}

void FlexGrid::setEditText(const QString &text)
{
    if (m_edit)
        m_edit->line->setText(text);
}

int FlexGrid::EditSelStart() const
{
    if (!m_edit)
        return 0;
    return m_edit->line->hasSelectedText() ? m_edit->line->selectionStart() : m_edit->line->cursorPosition();
}

void FlexGrid::setEditSelStart(int start)
{
    if (m_edit)
        m_edit->line->setCursorPosition(start);
}

int FlexGrid::EditSelLength() const
{
    return m_edit ? int(m_edit->line->selectionLength()) : 0;
}

void FlexGrid::setEditMaxLength(int length)
{
    m_editMaxLength = qMax(0, length);
    if (m_edit)
        m_edit->line->setMaxLength(m_editMaxLength > 0 ? m_editMaxLength : 32767);
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
        const FlexGrid::Cell &cell = *m_grid->cellAt(row, logicalIndex); // a section is a column
        QFont font = m_grid->font();
        font.setBold(cell.bold);
        const qint32 fore = cell.fore ? *cell.fore : m_grid->ForeColorFixed();
        FlexGridDrawCell(painter, QRect(rect.left(), top, rect.width(), height), cell.text, font,
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
    const FlexGrid::Cell &cell = *m_grid->cellAt(row, col); // the view shows only cells
    painter->save();
    QFont font = option.font;
    font.setBold(cell.bold);
    const qint32 fore = cell.fore ? *cell.fore : m_grid->ForeColor();
    FlexGridDrawCell(painter, option.rect, cell.text, font,
                     FlexGrid::ToQColor(m_grid->cellBackground(row, col)), FlexGrid::ToQColor(fore),
                     FlexGrid::ToQColor(m_grid->GridColor()));
    if (row == m_grid->Row() && col == m_grid->Col() && !m_grid->IsEditing() &&
        m_grid->FocusRect() != FlexGrid::FocusRectNone) {
        painter->setPen(QPen(FlexGrid::ToQColor(fore), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
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
