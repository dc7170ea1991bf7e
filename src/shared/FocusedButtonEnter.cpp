#include "FocusedButtonEnter.h"

#include <QKeyEvent>
#include <QPushButton>

void FocusedButtonEnter::Install(QWidget *window)
{
    auto *filter = new FocusedButtonEnter(window);
    for (QPushButton *button : window->findChildren<QPushButton *>())
        button->installEventFilter(filter);
}

bool FocusedButtonEnter::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(e);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto *button = static_cast<QPushButton *>(watched);
    if (button->window()->focusWidget() != button)
        return false;
    if (button->isEnabled())
        button->click();
    return true;
}
