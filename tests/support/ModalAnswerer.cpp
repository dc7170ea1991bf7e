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
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("answered").toBool())
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
