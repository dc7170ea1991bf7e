#pragma once

#include <QString>
#include <functional>

// Runs an action inside the code under test, right before the n-th statement whose text begins
// with a prefix is sent: every DataObject::Execute traces its statement first. Another clerk's
// write or a fault thus lands at an exact point of a run (between a read and the write that
// follows it, before the third folder is written), with no hook in the product. One at a time.
class StatementHook
{
public:
    StatementHook(const QString &prefix, int nth, std::function<void()> action);
    ~StatementHook();
    StatementHook(const StatementHook &) = delete;
    StatementHook &operator=(const StatementHook &) = delete;

    bool Fired() const { return m_fired; }
    // Statements with the prefix seen so far.
    int Seen() const { return m_seen; }

private:
    friend struct StatementHookAccess;
    QString m_prefix;
    int m_nth;
    std::function<void()> m_action;
    int m_seen = 0;
    bool m_fired = false;
};
