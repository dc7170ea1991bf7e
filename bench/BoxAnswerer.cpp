#include "BoxAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

BoxAnswerer::BoxAnswerer()
{
    connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::Poll);
    m_timer.start(5);
    m_clock.start();
}

void BoxAnswerer::Start()
{
    m_boxes.clear();
    m_firstMs = -1;
    m_clock.restart();
}

void BoxAnswerer::Poll()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box || !box->isVisible() || box->property("read").toBool())
            continue;
        box->setProperty("read", true);
        if (m_firstMs < 0)
            m_firstMs = m_clock.nsecsElapsed() / 1e6;
        m_boxes << box->windowTitle() + QStringLiteral(": ") + box->text();
        QAbstractButton *ok = box->button(QMessageBox::Ok);
        if (!ok && !box->buttons().isEmpty())
            ok = box->buttons().constFirst();
        if (ok)
            ok->click();
        else
            box->close();
        return;
    }
}
