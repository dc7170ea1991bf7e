#include "TimedKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

void TypeTimed(const std::function<QWidget *()> &target, const QString &text, int msPerKey)
{
    static quint64 clock = 1000000;
    clock += 100000; // every typing starts well after the last
    for (const QChar ch : text + QLatin1Char('\r')) {
        const Qt::Key key = ch == QLatin1Char('\r') ? Qt::Key_Return : Qt::Key(ch.toUpper().unicode());
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, Qt::NoModifier, QString(ch));
            event.setTimestamp(clock);
            QApplication::sendEvent(target(), &event);
        }
        clock += quint64(msPerKey);
    }
}
