#pragma once

#include <functional>
#include <sys/types.h>

// A clerk's program in a process of its own: a fork of the test that opens connections of its
// own, runs at once, tells the test of each folder it gets through, and ends with the run's
// verdict as exit status (0: good) without any cleanup, as a killed program would.
class ForkedClerk
{
public:
    using Run = std::function<int(const std::function<void()> &visited)>;
    explicit ForkedClerk(const Run &run);
    ~ForkedClerk() { Kill(); }
    ForkedClerk(const ForkedClerk &) = delete;
    ForkedClerk &operator=(const ForkedClerk &) = delete;

    // Until the clerk got through `visits` folders; false when it ended first.
    bool WaitForVisits(int visits);
    void Kill();
    // The exit status; -1 when killed.
    int Wait();

private:
    pid_t m_pid = -1;
    int m_visits = -1; // the test's end of the progress pipe
    int m_seen = 0;
};
