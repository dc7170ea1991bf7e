#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "QtPrinters.h"

// Answers the real message boxes a test provokes: polls the visible boxes, records each box's
// text, title and buttons, and clicks the next queued answer ("Enter" presses the Return key
// instead, which answers with the box's default button). A box is expected when an answer was
// queued for it, or when the test reads it through Lines(); any other box fails the test that met
// it (when the answerer goes), with its title and text, so that a surprise such as
// a "Data Error" cannot pass unnoticed. An unexpected box is closed with OK (or its escape button).
class ModalAnswerer : public QObject
{
public:
    struct Box
    {
        QString text;
        QString title;
        QStringList buttons; // captions without '&'
        // "Title: text [OK]", one line a table row can state.
        QString Line() const;
    };

    explicit ModalAnswerer(QStringList answers = {});
    ~ModalAnswerer() override;

    void Queue(const QString &answer) { m_answers << answer; }
    // A window opened modally from another (the locator's Edit) is seen as a box with its title
    // and answered by act, given the next answer; without act such windows are left alone.
    void AnswerWindows(std::function<void(QWidget *, const QString &)> act) { m_act = std::move(act); }
    // The boxes seen, as lines, in order.
    QStringList Lines() const;

private:
    void Poll();
    // Records a dialog seen (unexpected when no answer is queued) and takes its answer: null if none.
    QString Answer(QWidget *dialog, const Box &seen);
    void FailUnread();

    QTimer m_timer;
    QStringList m_answers;
    std::function<void(QWidget *, const QString &)> m_act;
    QList<Box> m_seen;
    // Boxes that no queued answer was meant for, by index into m_seen, until the test reads them.
    mutable QList<qsizetype> m_unread;
};
