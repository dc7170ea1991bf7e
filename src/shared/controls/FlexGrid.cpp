#include "FlexGrid.h"

#include "FlexGridParts.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

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

bool IsTypedCharacter(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

// The Windows virtual-key code of a key, which is what handlers of KeyUpEdit compare against.
int VirtualKey(const QKeyEvent *event)
{
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return event->modifiers() & Qt::KeypadModifier ? 96 + (key - Qt::Key_0) : key;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        return 0;
    }
}

int ShiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// Across window boundaries too: an editor's drop-down list is a window of its own.
bool Within(const QWidget *widget, const QWidget *ancestor)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget == ancestor)
            return true;
    }
    return false;
}

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
    const QString body = list.startsWith(QLatin1Char('|')) ? list.mid(1) : list;
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

} // namespace

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
    if (m_edit && m_edit->keyTarget)
        m_edit->keyTarget->removeEventFilter(this);
    m_edit.reset();
    disconnect(m_header, nullptr, this, nullptr);
    delete m_view;
}

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
    if (!validCell(row, col)) {
        qWarning("FlexGrid %s: no cell (%d, %d)", qPrintable(objectName()), row, col);
        return nullptr;
    }
    return &m_rows[row].cells[col];
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

void FlexGrid::AddItem(const QString &item, int row)
{
    int at = row;
    if (at < m_fixedRows || at > Rows()) {
        if (row >= 0)
            qWarning("FlexGrid %s: AddItem at row %d appends instead", qPrintable(objectName()), row);
        at = Rows();
    }
    endEditIfAffected(at, Cols());
    restructure([&] {
        RowData data{QList<Cell>(Cols()), false, -1};
        const QStringList parts = item.split(QLatin1Char('\t'));
        for (int col = 0; col < Cols() && col < parts.size(); ++col)
            data.cells[col].text = parts[col];
        m_rows.insert(at, data);
        if (m_row >= at)
            ++m_row; // the cursor stays on its row
    });
}

void FlexGrid::RemoveItem(int row)
{
    if (!validRow(row) || row < m_fixedRows) {
        qWarning("FlexGrid %s: RemoveItem of row %d ignored", qPrintable(objectName()), row);
        return;
    }
    endEditIfAffected(row, Cols());
    restructure([&] {
        m_rows.removeAt(row);
        if (m_row > row)
            --m_row;
    });
}

// ---- columns

QString FlexGrid::ColKey(int col) const
{
    return validCol(col) ? m_cols[col].key : QString();
}

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
    Q_ASSERT_X(false, "FlexGrid::ColIndex", qPrintable(QStringLiteral("no column has the key ") + key));
    qWarning("FlexGrid %s: no column has the key %s", qPrintable(objectName()), qPrintable(key));
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

QString FlexGrid::ColComboList(int col) const
{
    return validCol(col) ? m_cols[col].comboList : QString();
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
    if (!validCell(row1, col1) || !validCell(row2, col2)) {
        qWarning("FlexGrid %s: no block (%d, %d)-(%d, %d)", qPrintable(objectName()), row1, col1, row2, col2);
        return;
    }
    for (int row = qMin(row1, row2); row <= qMax(row1, row2); ++row) {
        for (int col = qMin(col1, col2); col <= qMax(col1, col2); ++col)
            m_rows[row].cells[col].bold = bold;
    }
    repaintCells();
}

QRect FlexGrid::CellRect(int row, int col) const
{
    if (!validCell(row, col) || m_rows[row].hidden || m_cols[col].hidden)
        return {};
    if (row >= m_fixedRows) {
        const QRect rect = m_view->visualRect(m_model->index(row - m_fixedRows, col));
        return rect.isValid() ? QRect(m_view->viewport()->mapTo(this, rect.topLeft()), rect.size()) : QRect();
    }
    int top = 0;
    for (int fixed = 0; fixed < row; ++fixed)
        top += m_rows[fixed].hidden ? 0 : rowPx(fixed);
    const QRect rect(m_header->sectionViewportPosition(col), top, m_header->sectionSize(col), rowPx(row));
    return {m_header->viewport()->mapTo(this, rect.topLeft()), rect.size()};
}

// ---- cursor

void FlexGrid::setRow(int row)
{
    if (!validRow(row) || row < m_fixedRows) {
        qWarning("FlexGrid %s: no data row %d", qPrintable(objectName()), row);
        return;
    }
    if (row == m_row)
        return;
    commitEdit();
    tryMove(row, m_col);
}

void FlexGrid::setCol(int col)
{
    if (!validCol(col)) {
        qWarning("FlexGrid %s: no column %d", qPrintable(objectName()), col);
        return;
    }
    if (col == m_col)
        return;
    commitEdit();
    tryMove(m_row, col);
}

bool FlexGrid::tryMove(int row, int col)
{
    if (!validCell(row, col) || row < m_fixedRows)
        return false;
    if (row == m_row && col == m_col)
        return true;
    bool cancel = false;
    emit BeforeRowColChange(m_row, m_col, row, col, cancel);
    if (cancel || !validCell(row, col) || row < m_fixedRows)
        return false;
    // A handler that started an edit elsewhere has it committed by the move, as a user's move would.
    if (m_edit && (m_edit->row != row || m_edit->col != col))
        commitEdit();
    m_row = row;
    m_col = col;
    const QModelIndex index = m_model->index(row - m_fixedRows, col);
    if (!m_rows[row].hidden && !m_cols[col].hidden)
        m_view->scrollTo(index);
    repaintCells();
    return true;
}

int FlexGrid::nextVisibleRow(int from, int step) const
{
    for (int row = from + step; row >= m_fixedRows && row < Rows(); row += step) {
        if (!m_rows[row].hidden && rowPx(row) > 0)
            return row;
    }
    return -1;
}

int FlexGrid::nextVisibleCol(int from, int step) const
{
    for (int col = from + step; col >= 0 && col < Cols(); col += step) {
        if (!m_cols[col].hidden && colPx(col) > 0)
            return col;
    }
    return -1;
}

bool FlexGrid::moveBy(int rows, int cols)
{
    if (m_row < 0 || m_col < 0)
        return false;
    int row = m_row;
    int col = m_col;
    for (int step = 0; step < qAbs(rows); ++step) {
        const int next = nextVisibleRow(row, rows < 0 ? -1 : 1);
        if (next < 0)
            break;
        row = next;
    }
    if (cols != 0) {
        const int next = nextVisibleCol(col, cols < 0 ? -1 : 1);
        if (next >= 0)
            col = next;
    }
    if (row == m_row && col == m_col)
        return false;
    tryMove(row, col);
    return true;
}

bool FlexGrid::moveTab(bool forward)
{
    if (m_row < 0 || m_col < 0)
        return false;
    const int step = forward ? 1 : -1;
    int row = m_row;
    int col = nextVisibleCol(m_col, step);
    if (col < 0) {
        row = nextVisibleRow(m_row, step);
        col = nextVisibleCol(forward ? -1 : Cols(), step);
    }
    if (row < 0 || col < 0)
        return false;
    tryMove(row, col);
    return true;
}

void FlexGrid::clickCell(int row, int col, bool doubleClick)
{
    const bool mouseEdits = m_editable == EditKeyboardMouse;
    if (doubleClick) {
        if (mouseEdits && row == m_row && col == m_col)
            startEdit(true);
        return;
    }
    const bool onCurrent = row == m_row && col == m_col && !m_edit;
    commitEdit();
    if (onCurrent) {
        if (mouseEdits)
            startEdit(true);
        return;
    }
    tryMove(row, col);
}

// ---- editing

void FlexGrid::setEditable(int mode)
{
    m_editable = mode;
    if (mode == EditNone)
        commitEdit();
}

void FlexGrid::EditCell()
{
    startEdit(false);
}

bool FlexGrid::startEdit(bool byUser)
{
    if (m_edit)
        return true;
    if ((byUser && m_editable == EditNone) || !validCell(m_row, m_col) || m_row < m_fixedRows)
        return false;
    const int row = m_row;
    const int col = m_col;
    bool cancel = false;
    emit BeforeEdit(row, col, cancel);
    if (cancel)
        return false;
    if (m_edit)
        return true; // the handler started it itself
    if (row != m_row || col != m_col || !validCell(row, col))
        return false; // the handler moved the cursor away
    openEditor(row, col);
    return true;
}

void FlexGrid::openEditor(int row, int col)
{
    const Cell &cell = m_rows[row].cells[col];
    const QString list = m_cols[col].comboList;
    Editor editor;
    editor.row = row;
    editor.col = col;
    editor.original = cell.text;
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
        auto *combo = new QComboBox(parent);
        combo->setFrame(false);
        const QList<ListItem> items = ParseList(list);
        for (const ListItem &item : items) {
            combo->addItem(item.value, item.key);
            combo->setItemData(combo->count() - 1, item.shown, Qt::ToolTipRole);
        }
        if (list.startsWith(QLatin1Char('|'))) {
            combo->setEditable(true);
            combo->setInsertPolicy(QComboBox::NoInsert);
            // Completing "19" to "1999" would change what the clerk typed.
            combo->setCompleter(nullptr);
            combo->setEditText(cell.text);
            editor.line = combo->lineEdit();
            connect(editor.line, &QLineEdit::textChanged, this, [this] { emit ChangeEdit(); });
        } else {
            combo->setCurrentIndex(combo->findText(cell.text));
            connect(combo, &QComboBox::currentIndexChanged, this, [this] { emit ChangeEdit(); });
        }
        // Picking from the list completes the edit.
        connect(combo, &QComboBox::activated, this, [this, combo](int index) {
            if (!m_edit || m_edit->combo != combo || m_synthesizing)
                return;
            if (m_edit->line)
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
    if (editor.line) {
        editor.line->setMaxLength(m_editMaxLength > 0 ? m_editMaxLength : 32767);
        editor.line->selectAll();
    }
    editor.keyTarget->installEventFilter(this);
    m_edit = editor;
    placeEditor();
    editor.widget->show();
    editor.widget->setFocus(Qt::OtherFocusReason);
    repaintCells();
}

void FlexGrid::placeEditor()
{
    if (!m_edit || !m_edit->widget || !validCell(m_edit->row, m_edit->col) || m_edit->row < m_fixedRows)
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
    if (QWidget *widget = editor.widget) {
        editor.keyTarget->removeEventFilter(this);
        QObject::disconnect(widget, nullptr, this, nullptr);
        if (editor.line)
            QObject::disconnect(editor.line, nullptr, this, nullptr);
        widget->setObjectName(QString());
        // Keep the keyboard in the grid, unless the focus has already gone elsewhere.
        if (Within(QApplication::focusWidget(), widget))
            m_view->setFocus(Qt::OtherFocusReason);
        widget->hide();
        widget->deleteLater();
    }
    repaintCells();
    return editor;
}

QString FlexGrid::editorText(const Editor &editor) const
{
    if (editor.line)
        return editor.line->text();
    if (editor.combo && editor.combo->currentIndex() >= 0)
        return editor.combo->currentText();
    return editor.original;
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
    if (!m_edit)
        return;
    if (m_edit->line)
        m_edit->line->setText(text);
    else if (m_edit->combo)
        m_edit->combo->setCurrentIndex(m_edit->combo->findText(text));
}

int FlexGrid::EditSelStart() const
{
    if (!m_edit || !m_edit->line)
        return 0;
    return m_edit->line->hasSelectedText() ? m_edit->line->selectionStart() : m_edit->line->cursorPosition();
}

void FlexGrid::setEditSelStart(int start)
{
    if (m_edit && m_edit->line)
        m_edit->line->setCursorPosition(start);
}

int FlexGrid::EditSelLength() const
{
    return m_edit && m_edit->line ? int(m_edit->line->selectionLength()) : 0;
}

void FlexGrid::setEditSelLength(int length)
{
    if (m_edit && m_edit->line)
        m_edit->line->setSelection(EditSelStart(), length);
}

void FlexGrid::setEditMaxLength(int length)
{
    m_editMaxLength = qMax(0, length);
    if (m_edit && m_edit->line)
        m_edit->line->setMaxLength(m_editMaxLength > 0 ? m_editMaxLength : 32767);
}

// ---- keys

bool FlexGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_edit || watched != m_edit->keyTarget)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return editorKeyPress(static_cast<QKeyEvent *>(event));
    case QEvent::KeyRelease:
        // Taken here, so that it never travels up to the grid and is reported twice.
        emitKeyUp(static_cast<QKeyEvent *>(event));
        return true;
    case QEvent::Wheel:
        // The wheel scrolls the grid; it must not change the value of a cell by accident.
        QCoreApplication::sendEvent(m_view->viewport(), event);
        return true;
    case QEvent::FocusOut: {
        // Leaving the cell for another control commits, as a move would; a drop-down list
        // opening or the window losing the focus does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const QWidget *focus = QApplication::focusWidget();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && focus &&
            !Within(focus, m_edit->widget))
            commitEdit();
        return false;
    }
    default:
        return false;
    }
}

bool FlexGrid::editorKeyPress(QKeyEvent *event)
{
    if (m_synthesizing)
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commitEdit();
        return true;
    case Qt::Key_Escape:
        cancelEdit();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        commitEdit();
        moveTab(event->key() == Qt::Key_Tab);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (modifiers & Qt::AltModifier)
            return passOn(event); // opens a drop-down list
        commitEdit();
        moveBy(event->key() == Qt::Key_Up ? -1 : 1, 0);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        commitEdit();
        const int page = qMax(1, m_view->viewport()->height() / defaultRowPx() - 1);
        moveBy(event->key() == Qt::Key_PageUp ? -page : page, 0);
        return true;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // Within the text the caret moves; from its end the cursor does.
        const QLineEdit *line = m_edit->line;
        const bool left = event->key() == Qt::Key_Left;
        if (line && (modifiers != Qt::NoModifier || line->hasSelectedText() ||
                     line->cursorPosition() != (left ? 0 : line->text().size())))
            return passOn(event);
        commitEdit();
        moveBy(0, left ? -1 : 1);
        return true;
    }
    default:
        break;
    }
    const bool backspace = event->key() == Qt::Key_Backspace && modifiers == Qt::NoModifier;
    if (!backspace && !IsTypedCharacter(event))
        return passOn(event);
    const int code = backspace ? 8 : event->text().at(0).unicode();
    const QWidget *target = m_edit->keyTarget;
    int keyAscii = code;
    emit KeyPressEdit(m_edit->row, m_edit->col, keyAscii);
    if (!m_edit || m_edit->keyTarget != target || keyAscii == 0)
        return true;
    if (keyAscii == code)
        return passOn(event);
    // The handler's character is typed in place of the key.
    int key = Qt::Key_unknown;
    QString text = QString(QChar(char16_t(keyAscii)));
    if (keyAscii == 8) {
        key = Qt::Key_Backspace;
        text.clear();
    } else if (keyAscii >= 0x20 && keyAscii < 0x7F) {
        key = QChar(char16_t(keyAscii)).toUpper().unicode();
    }
    QKeyEvent replaced(QEvent::KeyPress, key, Qt::NoModifier, text);
    m_synthesizing = true;
    QCoreApplication::sendEvent(m_edit->keyTarget, &replaced);
    m_synthesizing = false;
    return true;
}

// A drop-down list reports a keyboard search as a pick; delivering its keys from here lets the
// grid tell those apart from a pick in the opened list, which completes the edit.
bool FlexGrid::passOn(QKeyEvent *event)
{
    if (!m_edit->combo)
        return false;
    m_synthesizing = true;
    QCoreApplication::sendEvent(m_edit->keyTarget, event);
    m_synthesizing = false;
    return true;
}

void FlexGrid::emitKeyUp(QKeyEvent *event)
{
    if (m_edit)
        emit KeyUpEdit(m_edit->row, m_edit->col, VirtualKey(event), ShiftState(event->modifiers()));
}

void FlexGrid::handleKeyPress(QKeyEvent *event)
{
    // While a cell is edited, a key arriving here is one the editor passed on: not the grid's.
    if (m_edit) {
        event->ignore();
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    event->accept();
    switch (event->key()) {
    case Qt::Key_Up:
        moveBy(-1, 0);
        return;
    case Qt::Key_Down:
        moveBy(1, 0);
        return;
    case Qt::Key_Left:
        moveBy(0, -1);
        return;
    case Qt::Key_Right:
        moveBy(0, 1);
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        const int page = qMax(1, m_view->viewport()->height() / defaultRowPx() - 1);
        moveBy(event->key() == Qt::Key_PageUp ? -page : page, 0);
        return;
    }
    case Qt::Key_Home:
    case Qt::Key_End: {
        const bool home = event->key() == Qt::Key_Home;
        const int row = ctrl ? nextVisibleRow(home ? m_fixedRows - 1 : Rows(), home ? 1 : -1) : m_row;
        const int col = nextVisibleCol(home ? -1 : Cols(), home ? 1 : -1);
        if (row >= 0 && col >= 0)
            tryMove(row, col);
        return;
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!moveTab(event->key() == Qt::Key_Tab))
            event->ignore(); // the focus moves on to the next control
        return;
    case Qt::Key_F2:
        startEdit(true);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_editable == EditNone || modifiers != Qt::NoModifier || !startEdit(true))
            event->ignore();
        return;
    default:
        break;
    }
    if (m_editable == EditNone || !IsTypedCharacter(event)) {
        event->ignore();
        return;
    }
    // Typing on a cell starts editing it; the key then goes to the editor as if typed there.
    if (startEdit(true) && m_edit)
        QCoreApplication::sendEvent(m_edit->keyTarget, event);
    event->accept();
}

void FlexGrid::handleKeyRelease(QKeyEvent *event)
{
    // The release of the key that opened the editor still comes here when it was sent to the grid.
    if (m_edit) {
        emitKeyUp(event);
        event->accept();
    } else {
        event->ignore();
    }
}

void FlexGrid::keyPressEvent(QKeyEvent *event)
{
    // A key the view passed up has had its turn already.
    if (event == m_keyFromView) {
        m_keyFromView = nullptr;
        event->ignore();
        return;
    }
    // Keys sent to the grid itself reach the editor as typed keys would.
    if (m_edit) {
        QCoreApplication::sendEvent(m_edit->keyTarget, event);
        return;
    }
    handleKeyPress(event);
}

void FlexGrid::keyReleaseEvent(QKeyEvent *event)
{
    handleKeyRelease(event);
}

void FlexGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = m_view->viewport()->mapFrom(this, event->position().toPoint());
    const QModelIndex index = m_view->indexAt(at);
    event->accept();
    if (event->button() == Qt::LeftButton && index.isValid() && m_view->viewport()->rect().contains(at))
        clickCell(index.row() + m_fixedRows, index.column(), false);
}

bool FlexGrid::focusNextPrevChild(bool next)
{
    // Tab sent to the grid itself; from the editor it never gets here.
    if (m_edit) {
        commitEdit();
        moveTab(next);
        return true;
    }
    return moveTab(next) || QWidget::focusNextPrevChild(next);
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
    // Field names are matched without regard to case, as the recordset itself does.
    const auto resolve = [&rows](const QString &name) {
        for (const QString &field : rows.fields) {
            if (field.compare(name, Qt::CaseInsensitive) == 0)
                return field;
        }
        qWarning("FlexGrid::BuildComboList: the rowset has no field %s", qPrintable(name));
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
