#pragma once

#include <QDialog>

// What every window of the component shares: each close request, whatever its cause (a button,
// the menu, the close box, a timer, code), passes the close guard on the window's action
// button; the unload runs once; every activation gives the window its Activate step.
class FormBase : public QDialog
{
    Q_OBJECT
public:
    bool IsUnloaded() const { return m_unloaded; }

protected:
    explicit FormBase(QWidget *parent = nullptr) : QDialog(parent) {}

    // The button whose enabled state means "input not yet acted on" (Save or Run).
    virtual const QWidget *CloseIndicator() const = 0;
    virtual void Form_Activate() = 0;
    virtual void Form_Unload() = 0;
    // Whether the guard's question is open now; a second close asked for meanwhile waits.
    bool IsAskingToClose() const { return m_asking; }

    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    bool m_unloaded = false;
    bool m_asking = false;
    bool m_buttonsWatched = false;
};
