#include "GridTyping.h"

#include "clsFolder.h"
#include "forms/folder_batch/BatchLookup.h"
#include "records/DataObject.h" // BatchLookup holds one
#include "shared/Twips.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <stdexcept>

namespace {

constexpr int DeadlineMs = 5000;
const QString Year = QStringLiteral("2026");

// Counts the paints of a widget that come while ready() holds: the first of them has drawn it.
class PaintsWhenReady : public QObject
{
public:
    PaintsWhenReady(QWidget *widget, std::function<bool()> ready) : m_widget(widget), m_ready(std::move(ready))
    {
        widget->installEventFilter(this);
    }
    ~PaintsWhenReady() override
    {
        if (m_widget)
            m_widget->removeEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && m_ready())
            ++count;
        return false;
    }

private:
    QPointer<QWidget> m_widget;
    std::function<bool()> m_ready;
};

// Both sides alike: anything pending from the untimed part is handled first; then the step, and
// the event loop until the title is in its cell and the grid has been painted with it.
double TimedUntilShown(QWidget *viewport, const std::function<void()> &step, const std::function<bool()> &ready)
{
    QCoreApplication::processEvents();
    PaintsWhenReady paints(viewport, ready);
    QElapsedTimer clock;
    clock.start();
    step();
    while (paints.count == 0) {
        if (clock.elapsed() > DeadlineMs)
            throw std::runtime_error("the title was not shown within 5 s");
        QCoreApplication::processEvents();
    }
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

BatchGridTyping::BatchGridTyping()
{
    clsFolder folder;
    folder.EditBatch(QStringLiteral("CLERK1"));
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("frmFolderBatch") && w->isVisible())
            m_window = w;
    }
    if (!m_window)
        throw std::runtime_error("the batch window did not open");
    m_window->activateWindow(); // offscreen nothing activates a window by itself
    if (!QTest::qWaitForWindowActive(m_window))
        throw std::runtime_error("the batch window did not become active");
    m_view = m_window->findChild<QTableView *>();
    m_window->findChild<QWidget *>(QStringLiteral("grd"))->setFocus();
}

BatchGridTyping::~BatchGridTyping()
{
    if (!m_window)
        return;
    // Rows looked up and not run: leave without the close question.
    m_window->findChild<QPushButton *>(QStringLiteral("cmdRun"))->setEnabled(false);
    m_window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

double BatchGridTyping::Type(const TypedCase &c)
{
    const QString typed = Year + c.type + QString::number(c.sequence);
    // The grid's editor follows the cursor: each key goes where the focus is then.
    const auto key = [this](QChar ch) {
        QTest::keyClicks(m_window->focusWidget() ? m_window->focusWidget() : m_window.data(), QString(ch));
    };
    for (const QChar ch : typed.chopped(1))
        key(ch);
    QAbstractItemModel *model = m_view->model();
    const int row = model->rowCount() - 1; // the entry row, under the header
    if (model->index(row, 0).data().toString() != Year)
        throw std::runtime_error("the typed year is not in the grid's entry row");
    const auto title = [model, row] { return model->index(row, 3).data().toString(); };
    const double ms = TimedUntilShown(m_view->viewport(), [&] { key(typed.back()); }, [&] { return !title().isEmpty(); });
    if (!title().startsWith(QLatin1String("PARTY")))
        throw std::runtime_error("the grid shows another title: " + title().toStdString());
    return ms;
}

PlainGridLookup::PlainGridLookup(const std::string &file) : m_db(file), m_table(new QTableWidget(0, 5))
{
    m_table->setObjectName(QStringLiteral("plainGrid"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Case"), QString(), QString(), QStringLiteral("Title"),
                                        QStringLiteral("Checked Out")});
    m_table->resize(Twips::Size(7215, 3735));
    m_table->insertRow(0); // the entry row
    m_table->show();
    if (!QTest::qWaitForWindowExposed(m_table.get()))
        throw std::runtime_error("the plain grid was not shown");
}

PlainGridLookup::~PlainGridLookup() = default;

double PlainGridLookup::Lookup(const TypedCase &c)
{
    // The case is typed into the entry row, untimed; the timed part shows what the clerk then
    // sees in the batch window: the title, a new entry row under it, the cursor in its first cell.
    const int row = m_table->rowCount() - 1;
    const QString cells[] = {Year, c.type, QString::number(c.sequence)};
    for (int col = 0; col < 3; ++col)
        m_table->setItem(row, col, new QTableWidgetItem(cells[col]));
    auto *title = new QTableWidgetItem;
    m_table->setItem(row, 3, title);

    const std::string type = c.type.toStdString();
    const long long sequence = c.sequence;
    return TimedUntilShown(
        m_table->viewport(),
        [&] {
            if (m_db.Run(BatchLookup::Statement(c.type).toStdString(), {2026.0, type, std::to_string(sequence)}).empty())
                throw std::runtime_error("a typed case was not found");
            QString text;
            for (const RawSqlite::Row &litigant : m_db.Run(StyleQuery, {2026LL, type, sequence, 2026LL, type, sequence}))
                text += (text.isEmpty() ? QString() : QStringLiteral(" VS ")) +
                        QString::fromStdString(std::get<std::string>(litigant[2]));
            title->setText(text);
            m_table->insertRow(row + 1);
            m_table->setCurrentCell(row + 1, 0);
        },
        [title] { return !title->text().isEmpty(); });
}
