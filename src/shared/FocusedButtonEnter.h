#pragma once

#include <QObject>

class QWidget;

// Enter on a focused push button presses that button, as Space does: a clerk who tabs to Cancel
// and presses Enter cancels. Only from the other controls does Enter reach the window's default
// button (a dialog hands it there when the focused control does not take it).
class FocusedButtonEnter : public QObject
{
public:
    // Watches every push button the window holds now.
    static void Install(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    using QObject::QObject;
};
