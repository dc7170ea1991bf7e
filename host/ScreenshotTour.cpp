#include "ScreenshotTour.h"

#include "HostWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace {

// Long enough for a window to lay itself out and fill its lists before its picture is taken.
constexpr int SettleMs = 400;

} // namespace

ScreenshotTour::ScreenshotTour(HostWindow *host, const QString &folder, const QString &caseNumber)
    : QObject(host), m_host(host), m_folder(folder), m_caseNumber(caseNumber)
{}

bool ScreenshotTour::Start(QString *error)
{
    if (!m_folder.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("cannot make the folder %1").arg(m_folder.absolutePath());
        return false;
    }
    qApp->installEventFilter(this);
    return true;
}

bool ScreenshotTour::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && (type == Qt::Window || type == Qt::Dialog)) {
            QPointer<QWidget> window(widget);
            QTimer::singleShot(SettleMs, this, [this, window] {
                if (window && window->isVisible())
                    Take(window);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

void ScreenshotTour::Take(QWidget *window)
{
    const QString name = window->objectName().isEmpty()
                             ? QString::fromLatin1(window->metaObject()->className())
                             : window->objectName();
    if (name == QLatin1String("frmFolderLocate")) {
        TakeLocatorViews(window, name);
        window->hide();
        return;
    }
    const QString file = m_folder.absoluteFilePath(
        QStringLiteral("%1-%2.png").arg(++m_taken, 2, 10, QLatin1Char('0')).arg(name));
    if (window->grab().save(file))
        std::printf("%s\n", qPrintable(file));
    else
        std::fprintf(stderr, "zorva-host: could not write %s\n", qPrintable(file));
    std::fflush(stdout);
    if (window == m_host) {
        if (!m_visiting) {
            m_visiting = true;
            QTimer::singleShot(0, this, &ScreenshotTour::Visit);
        }
        return;
    }
    // Hidden rather than closed: a modal window's call returns, and nothing is saved or asked.
    window->hide();
}

void ScreenshotTour::TakeLocatorViews(QWidget *window, const QString &name)
{
    // Each view as a clerk fills it: the tour's case, a busy holder, tomorrow's docket, overdue.
    const struct
    {
        const char *box, *text, *button, *view;
    } views[] = {{"txtCASNUM", nullptr, "cmdFindCase", "case"},
                 {"txtREQOTO", "SMI", "cmdFindHolder", "holder"},
                 {nullptr, nullptr, "cmdFindPull", "pull-list"},
                 {nullptr, nullptr, "cmdFindOverdue", "overdue"}};
    auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("tabViews"));
    for (int i = 0; tabs && i < 4; ++i) {
        tabs->setCurrentIndex(i);
        if (auto *box = views[i].box ? window->findChild<QLineEdit *>(QLatin1String(views[i].box)) : nullptr)
            box->setText(views[i].text ? QLatin1String(views[i].text) : m_caseNumber);
        if (auto *find = window->findChild<QAbstractButton *>(QLatin1String(views[i].button)))
            find->click();
        QApplication::processEvents();
        const QString file = m_folder.absoluteFilePath(
            QStringLiteral("%1-%2-%3.png").arg(++m_taken, 2, 10, QLatin1Char('0')).arg(name, QLatin1String(views[i].view)));
        if (window->grab().save(file))
            std::printf("%s\n", qPrintable(file));
    }
    std::fflush(stdout);
}

void ScreenshotTour::Visit()
{
    // Each modal call returns once its window has been pictured and hidden.
    m_host->SetCaseNumber(m_caseNumber);
    // A service account may have no login name; the windows need someone to record.
    auto *user = m_host->findChild<QLineEdit *>(QStringLiteral("txtUser"));
    if (user && user->text().trimmed().isEmpty())
        user->setText(QStringLiteral("CLERK"));
    m_host->EditCase();
    m_host->UpdateBatch();
    m_host->EditBatch();
    m_host->Locate();
    QTimer::singleShot(2 * SettleMs, qApp, &QApplication::quit);
}
