#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

// A clerk reading the message boxes of the load test's windows: each box is read ("Title: text"),
// its time noted, and answered with OK (or its only button), as a clerk who has understood it.
class BoxAnswerer : public QObject
{
public:
    BoxAnswerer();

    // Forgets the boxes read so far and starts the clock for the next step.
    void Start();
    const QStringList &Boxes() const { return m_boxes; }
    // Milliseconds from Start() to the first box, or -1 when none came.
    double FirstBoxMs() const { return m_firstMs; }

private:
    void Poll();

    QTimer m_timer;
    QElapsedTimer m_clock;
    QStringList m_boxes;
    double m_firstMs = -1;
};
