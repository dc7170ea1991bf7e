#pragma once

#include <QString>

namespace modFolderLogging {

// Hands one folder status change to the logging component when either preference is on; the
// writer tells automatic from manual by autoMode alone. A logging failure is shown (or tallied,
// during a run), and the change in the database stands.
void LogFolderChange(qint16 year, const QString &type, qint32 sequence, const QString &loanedTo, bool checkedOut,
                     const QString &user, bool autoMode, bool manualMode);

// While a run holds one, logging failures are counted rather than shown one by one: a docket of
// 300 folders with its log table gone gives one box, not 300.
class FailureTally
{
public:
    FailureTally();
    ~FailureTally();
    FailureTally(const FailureTally &) = delete;
    FailureTally &operator=(const FailureTally &) = delete;

    qsizetype Count() const { return m_count; }
    // One box for them all, when there were any.
    void Report() const;

private:
    friend void LogFolderChange(qint16, const QString &, qint32, const QString &, bool, const QString &, bool, bool);
    FailureTally *m_outer;
    qsizetype m_count = 0;
    QString m_first;
};

} // namespace modFolderLogging
