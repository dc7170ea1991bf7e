#include "BatchGrid.h"
#include "WindowDriver.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTableView>
#include <QTest>
#include <QToolTip>

namespace {

// What the clerk sees of a row beyond its text.
QString Seen(QTableView *view, int r)
{
    QString seen;
    const QImage title = view->viewport()->grab(view->visualRect(view->model()->index(r, 3))).toImage();
    for (int y = 0; y < title.height() && seen.isEmpty(); ++y)
        for (int x = 0; x < title.width() && seen.isEmpty(); ++x)
            if (const QColor c = title.pixelColor(x, y); c.red() > 150 && c.green() < 90 && c.blue() < 90)
                seen = "!";
    const QPoint at = view->visualRect(view->model()->index(r, 0)).center();
    QHelpEvent help(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
    QApplication::sendEvent(view->viewport(), &help);
    if (QToolTip::isVisible() && QToolTip::text() != view->parentWidget()->toolTip())
        seen += " {" + QToolTip::text() + "}";
    QToolTip::hideText();
    return seen;
}

} // namespace

QWidget *BatchGrid::Shown()
{
    QWidget *w = WindowDriver::Find(QStringLiteral("frmFolderBatch"));
    if (!w)
        return nullptr;
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w))
        return nullptr;
    w->findChild<QWidget *>("grd")->setFocus();
    return w;
}

QString BatchGrid::Rows(QWidget *window)
{
    auto *view = window->findChild<QTableView *>();
    QStringList rows;
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << view->model()->index(r, c).data().toString() + (c == 3 ? Seen(view, r) : QString());
        rows << cells.join('/');
    }
    return rows.join("; ");
}
