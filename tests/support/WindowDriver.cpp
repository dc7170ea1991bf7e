#include "WindowDriver.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <algorithm>

WindowDriver::WindowDriver(const QString &name, Script script, int timeoutMs)
    : m_name(name), m_script(std::move(script))
{
    connect(&m_poll, &QTimer::timeout, this, [this] {
        QWidget *window = Find(m_name);
        if (!window || m_ran || MessageBoxOpen())
            return;
        m_poll.stop();
        m_ran = true;
        m_script(window);
    });
    m_poll.start(10);
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        for (QWidget *w : QApplication::topLevelWidgets())
            w->hide();
    });
    m_watchdog.start(timeoutMs);
}

bool WindowDriver::MessageBoxOpen()
{
    const QWidgetList all = QApplication::topLevelWidgets();
    return std::any_of(all.cbegin(), all.cend(), [](QWidget *w) { return qobject_cast<QMessageBox *>(w) && w->isVisible(); });
}

QWidget *WindowDriver::Find(const QString &name)
{
    const QWidgetList all = QApplication::topLevelWidgets();
    const auto found = std::find_if(all.cbegin(), all.cend(), [&](QWidget *w) { return w->objectName() == name && w->isVisible(); });
    return found == all.cend() ? nullptr : *found;
}

void WindowDriver::Leave(QWidget *window, const char *button)
{
    if (!window || !window->isVisible())
        return;
    window->findChild<QPushButton *>(QLatin1String(button))->setEnabled(false);
    window->close();
}
