#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

ModalAnswerer::ModalAnswerer(QStringList answers) : m_answers(std::move(answers))
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::Poll);
    m_timer.start(10);
}

void ModalAnswerer::Poll()
{
    // Any visible box, not just the active modal widget: a box opened while its window is still
    // being shown is not always at the top of the modal stack yet.
    QMessageBox *box = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *candidate = qobject_cast<QMessageBox *>(w);
        if (candidate && candidate->isVisible() && !candidate->property("answered").toBool())
            box = candidate;
    }
    if (!box)
        return;
    box->setProperty("answered", true);
    Box seen{box->text(), box->windowTitle(), {}};
    for (QAbstractButton *b : box->buttons())
        seen.buttons << b->text().remove(QLatin1Char('&'));
    m_seen << seen;
    const QString answer = m_answers.isEmpty() ? QStringLiteral("OK") : m_answers.takeFirst();
    for (QAbstractButton *b : box->buttons()) {
        if (b->text().remove(QLatin1Char('&')).compare(answer, Qt::CaseInsensitive) == 0) {
            b->click();
            return;
        }
    }
    box->reject();
}
