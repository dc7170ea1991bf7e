#include "FlexGrid.h"

#include "FlexGridModel.h"
#include "FlexGridView.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

// The cursor, and the six notifications the window decides by: moves, edit starts and keys.

namespace {

bool IsTypedCharacter(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace

// ---- cursor

void FlexGrid::setRow(int row)
{
    if (row == m_row)
        return;
    commitEdit();
    tryMove(row, m_col);
}

void FlexGrid::setCol(int col)
{
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
    const bool mouseEdits = m_editable != EditNone;
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
    if ((byUser && m_editable == EditNone) || m_row < 0 || m_col < 0) // no cell
        return false;
    const int row = m_row;
    const int col = m_col;
    bool cancel = false;
    emit BeforeEdit(row, col, cancel);
    if (cancel)
        return false;
    if (m_edit)
        return true; // the handler started it itself
    if (row != m_row || col != m_col)
        return false; // the handler moved the cursor away
    openEditor(row, col);
    return true;
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
            !FlexGridWithin(focus, m_edit->widget))
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
        if (modifiers != Qt::NoModifier || line->hasSelectedText() ||
            line->cursorPosition() != (left ? 0 : line->text().size()))
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
        emit KeyUpEdit(m_edit->row, m_edit->col, event->key(), int(event->modifiers()));
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
