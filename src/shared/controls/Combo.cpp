#include "shared/controls/Combo.h"

#include "shared/RowsetReader.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStandardItemModel>
#include <QTreeView>

Combo::Combo(QWidget *parent)
    : QComboBox(parent), m_model(new QStandardItemModel(0, 1, this)), m_view(new QTreeView)
{
    setEditable(false);
    setModel(m_model);
    m_view->setRootIsDecorated(false);
    m_view->setItemsExpandable(false);
    m_view->setUniformRowHeights(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->header()->setStretchLastSection(true);
    m_view->header()->setSectionsMovable(false);
    setView(m_view);

    connect(this, &QComboBox::currentIndexChanged, this, &Combo::Reevaluate);
    ApplyColumns();
}

template <typename Fn> void Combo::WithoutChoice(Fn change)
{
    // A combo box chooses its first row when rows arrive in an empty list; the windows fill their
    // lists before they choose, and expect no choice until they or the user make one.
    m_quiet = true;
    change();
    setCurrentIndex(-1);
    m_quiet = false;
    Reevaluate();
}

void Combo::SetCols(int cols)
{
    m_model->setColumnCount(qMax(1, cols));
    ApplyColumns();
}

void Combo::SetColumnHeaders(bool shown)
{
    m_columnHeaders = shown;
    ApplyColumns();
}

void Combo::SetHeaderCaptions(const QStringList &captions)
{
    m_captions = captions;
    if (m_model->columnCount() < captions.size())
        m_model->setColumnCount(static_cast<int>(captions.size()));
    ApplyColumns();
}

void Combo::SetKeyItems(const QStringList &keys)
{
    m_keys = keys;
    ApplyColumns();
}

void Combo::SetHiddenItems(const QList<bool> &hidden)
{
    m_hidden = hidden;
    ApplyColumns();
}

void Combo::SetWidthItems(const QList<int> &widths)
{
    m_widths = widths;
    ApplyColumns();
}

void Combo::SetAlignmentItems(const QList<int> &alignments)
{
    m_alignments = alignments;
    ApplyColumns();
}

void Combo::SetDataField(const QString &field)
{
    m_dataField = field;
    Reevaluate();
}

void Combo::SetDataFieldToDisplay(const QString &field)
{
    m_displayField = field;
    ApplyColumns();
}

bool Combo::LoadFromFile(const QString &path, QString *error)
{
    QString reason;
    const std::optional<Rowset> rowset = RowsetReader::ReadFile(path, &reason);
    WithoutChoice([&] {
        m_model->removeRows(0, m_model->rowCount());
        if (!rowset)
            return;
        m_fieldNames = rowset->fields;
        if (m_model->columnCount() < m_fieldNames.size())
            m_model->setColumnCount(static_cast<int>(m_fieldNames.size()));
        for (const QHash<QString, QString> &row : rowset->rows) {
            QList<QStandardItem *> items;
            for (int c = 0; c < m_model->columnCount(); ++c)
                items << new QStandardItem(row.value(m_fieldNames.value(c)));
            m_model->appendRow(items);
        }
    });
    ApplyColumns();
    if (!rowset) {
        if (error)
            *error = reason;
        return false;
    }
    return true;
}

void Combo::InsertRow(const QString &tabSeparatedColumns, int position)
{
    const QStringList columns = tabSeparatedColumns.split(QLatin1Char('\t'));
    if (m_model->columnCount() < columns.size())
        m_model->setColumnCount(static_cast<int>(columns.size()));
    const int row = qBound(0, position - 1, m_model->rowCount());
    WithoutChoice([&] {
        QList<QStandardItem *> items;
        for (int c = 0; c < m_model->columnCount(); ++c)
            items << new QStandardItem(columns.value(c));
        m_model->insertRow(row, items);
    });
    ApplyColumns();
}

int Combo::Rows() const
{
    return m_model->rowCount();
}

QString Combo::Cell(int row, int col) const
{
    const QStandardItem *item = m_model->item(row, col);
    return item ? item->text() : QString();
}

QString Combo::Value() const
{
    const int row = currentIndex();
    return row < 0 ? QString() : Cell(row, ColumnOf(m_dataField));
}

void Combo::SetValue(const QString &value)
{
    const int col = ColumnOf(m_dataField);
    for (int row = 0; row < Rows(); ++row) {
        if (Cell(row, col) == value) {
            setCurrentIndex(row);
            return;
        }
    }
    setCurrentIndex(-1);
}

void Combo::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const bool expired =
        !m_sinceTyped.isValid() || m_sinceTyped.elapsed() > QApplication::keyboardInputInterval();
    if (expired)
        m_typed.clear();
    // A blank that starts a search still opens the list, as it does in any combo box.
    const bool searchKey = plain && !text.isEmpty() && text.at(0).isPrint() &&
                           !(m_typed.isEmpty() && text == QLatin1String(" "));
    if (!searchKey) {
        QComboBox::keyPressEvent(event);
        return;
    }
    // The whole code typed so far, not only its last letter, picks the row.
    m_typed += text;
    m_sinceTyped.restart();
    const int col = ColumnOf(m_displayField);
    for (int row = 0; row < Rows(); ++row) {
        if (Cell(row, col).startsWith(m_typed, Qt::CaseInsensitive)) {
            setCurrentIndex(row);
            break;
        }
    }
    event->accept();
}

int Combo::ColumnOf(const QString &field) const
{
    const int cols = m_model->columnCount();
    for (int c = 0; c < m_keys.size() && c < cols; ++c)
        if (m_keys.at(c).compare(field, Qt::CaseInsensitive) == 0)
            return c;
    bool number = false;
    const int c = field.trimmed().toInt(&number);
    return number && c >= 0 && c < cols ? c : 0;
}

void Combo::ApplyColumns()
{
    const int cols = m_model->columnCount();
    for (int c = 0; c < cols; ++c) {
        const QString caption = m_captions.value(c);
        m_model->setHeaderData(c, Qt::Horizontal, caption.isEmpty() ? m_fieldNames.value(c) : caption);
    }
    m_view->header()->setVisible(m_columnHeaders);

    int listWidth = 0;
    for (int c = 0; c < cols; ++c) {
        m_view->setColumnHidden(c, m_hidden.value(c, false));
        if (m_widths.value(c) > 0)
            m_view->setColumnWidth(c, m_widths.value(c));
        if (!m_view->isColumnHidden(c))
            listWidth += m_view->columnWidth(c);

        Qt::Alignment horizontal = Qt::AlignLeft;
        if (m_alignments.value(c) == 1)
            horizontal = Qt::AlignRight;
        else if (m_alignments.value(c) == 2)
            horizontal = Qt::AlignHCenter;
        for (int row = 0; row < m_model->rowCount(); ++row)
            if (QStandardItem *item = m_model->item(row, c))
                item->setTextAlignment(horizontal | Qt::AlignVCenter);
    }
    // The list shows every visible column even when the closed box is narrower.
    m_view->setMinimumWidth(listWidth + 2 * m_view->frameWidth());

    setModelColumn(ColumnOf(m_displayField));
    Reevaluate();
}

void Combo::Reevaluate()
{
    if (m_quiet)
        return;
    const QString value = Value();
    const bool valid = IsValid();
    if (value == m_reportedValue && valid == m_reportedValid)
        return;
    m_reportedValue = value;
    m_reportedValid = valid;
    emit Change();
}
