#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

#include "QtPrinters.h"

// Answers the real message boxes a test provokes: polls the active modal widget, records each
// box's text, title and buttons, and clicks the next queued answer ("OK" when none is queued).
class ModalAnswerer : public QObject
{
public:
    struct Box
    {
        QString text;
        QString title;
        QStringList buttons; // captions without '&'
    };

    explicit ModalAnswerer(QStringList answers = {});

    void Queue(const QString &answer) { m_answers << answer; }
    const QList<Box> &Seen() const { return m_seen; }
    void Clear() { m_seen.clear(); }

private:
    void Poll();

    QTimer m_timer;
    QStringList m_answers;
    QList<Box> m_seen;
};
