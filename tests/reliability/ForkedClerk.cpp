#include "ForkedClerk.h"

#include "records/Connection.h"

#include <algorithm>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

ForkedClerk::ForkedClerk(const Run &run)
{
    int visits[2];
    if (::pipe(visits) != 0)
        return;
    Connection::CloseAll(); // no connection of the test may be shared with the clerk
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(visits[0]);
        // No cleanup: the test's objects are not the clerk's to destroy.
        ::_exit(run([fd = visits[1]] { (void)!::write(fd, "v", 1); }));
    }
    ::close(visits[1]);
    m_visits = visits[0];
}

bool ForkedClerk::WaitForVisits(int visits)
{
    char buffer[64];
    while (m_seen < visits) {
        const ssize_t n = ::read(m_visits, buffer, std::min<size_t>(sizeof buffer, size_t(visits - m_seen)));
        if (n <= 0)
            return false; // it ended
        m_seen += int(n);
    }
    return true;
}

void ForkedClerk::Kill()
{
    if (m_pid <= 0)
        return; // never kill(-1, ...): that reaches every process
    ::kill(m_pid, SIGKILL);
    Wait();
}

int ForkedClerk::Wait()
{
    int status = 0;
    if (m_pid <= 0 || ::waitpid(m_pid, &status, 0) != m_pid)
        return -1;
    m_pid = -1;
    ::close(m_visits);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
