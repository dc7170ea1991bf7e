#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
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

QStringList ModalAnswerer::Lines() const
{
    m_unread.clear();
    QStringList lines;
    for (const Box &box : m_seen)
        lines << box.Line();
    return lines;
}

void ModalAnswerer::FailUnread()
{
    for (qsizetype i : std::as_const(m_unread))
        ADD_FAILURE() << "unexpected message box: " << m_seen.at(i).Line().toStdString();
    m_unread.clear();
}

QString ModalAnswerer::Answer(QWidget *dialog, const Box &seen)
{
    dialog->setProperty("answered", true);
    m_seen << seen;
    if (m_answers.isEmpty()) {
        m_unread << m_seen.size() - 1;
        return {};
    }
    return m_answers.takeFirst();
}

void ModalAnswerer::Poll()
{
    // A file dialog takes the next answer "file:PATH" as the file chosen; a print preview, or a
    // file dialog given anything else, is cancelled; a window goes to m_act. Each is seen as a box
    // with its title only.
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(w);
        if (!dialog || !dialog->isVisible() || dialog->property("answered").toBool() || qobject_cast<QMessageBox *>(w))
            continue;
        auto *files = qobject_cast<QFileDialog *>(w);
        const bool preview = w->inherits("QPrintPreviewDialog");
        if (!files && !preview && !(m_act && dialog->isModal()))
            continue;
        const QString answer = Answer(dialog, Box{{}, dialog->windowTitle(), {}});
        if (files && answer.startsWith(QLatin1String("file:"))) {
            // Typed, as a clerk would: selectFile() loses the name when the folder list loads.
            files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(answer.mid(5));
            dialog->accept(); // the file dialog's own accept, which it keeps protected
        } else if (!files && !preview && !answer.isNull()) {
            m_act(dialog, answer);
        } else {
            dialog->reject();
        }
        return;
    }
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
    Box seen{box->text(), box->windowTitle(), {}};
    for (QAbstractButton *b : box->buttons())
        seen.buttons << b->text().remove(QLatin1Char('&'));
    QString answer = Answer(box, seen);
    if (answer.isNull())
        answer = QStringLiteral("OK");
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
