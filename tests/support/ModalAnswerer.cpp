#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

QString ModalAnswerer::Box::Line() const
{
    return title + QStringLiteral(": ") + text + QStringLiteral(" [") + buttons.join(QLatin1Char(' ')) +
           QLatin1Char(']');
}

ModalAnswerer::ModalAnswerer(QStringList answers) : m_answers(std::move(answers))
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::Poll);
    m_timer.start(10);
}

ModalAnswerer::~ModalAnswerer() { FailUnread(); }

const QList<ModalAnswerer::Box> &ModalAnswerer::Seen() const
{
    m_unread.clear();
    return m_seen;
}

QStringList ModalAnswerer::Lines() const
{
    QStringList lines;
    for (const Box &box : Seen())
        lines << box.Line();
    return lines;
}

void ModalAnswerer::Clear()
{
    FailUnread();
    m_seen.clear();
}

void ModalAnswerer::FailUnread()
{
    for (qsizetype i : std::as_const(m_unread))
        ADD_FAILURE() << "unexpected message box: " << m_seen.at(i).Line().toStdString();
    m_unread.clear();
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
    if (m_answers.isEmpty())
        m_unread << m_seen.size() - 1;
    const QString answer = m_answers.isEmpty() ? QStringLiteral("OK") : m_answers.takeFirst();
    if (answer == QLatin1String("Enter")) { // whatever the box's default button is
        QTest::keyClick(box, Qt::Key_Return);
        return;
    }
    for (QAbstractButton *b : box->buttons()) {
        if (b->text().remove(QLatin1Char('&')).compare(answer, Qt::CaseInsensitive) == 0) {
            b->click();
            return;
        }
    }
    box->reject();
}
