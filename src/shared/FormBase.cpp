#include "FormBase.h"

#include "FocusedButtonEnter.h"
#include "modFormFunctions.h"

#include <QCloseEvent>

bool FormBase::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        Form_Activate();
    else if (e->type() == QEvent::Show && !m_buttonsWatched) {
        m_buttonsWatched = true;
        FocusedButtonEnter::Install(this);
    }
    return QDialog::event(e);
}

void FormBase::closeEvent(QCloseEvent *e)
{
    if (m_unloaded) {
        e->accept();
        return;
    }
    if (m_asking) {
        e->ignore();
        return;
    }
    bool cancel = false;
    m_asking = true;
    modFormFunctions::ConfirmDiscardChanges(CloseIndicator(), cancel);
    m_asking = false;
    if (cancel) {
        e->ignore();
        return;
    }
    m_unloaded = true;
    Form_Unload();
    e->accept();
}
