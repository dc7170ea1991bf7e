#pragma once

#include <QString>
#include <cstdio>

// Long work's progress for someone watching: one line rewritten in place on a terminal (stderr,
// else stdout), nothing at all when neither is one, so that scripts and logs get only the summary.
class Progress
{
public:
    explicit Progress(const QString &what);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // Redraws only when the whole percent changes: 400,000 rows must not mean 400,000 writes.
    void Step(qint64 done, qint64 total);

private:
    QString m_what;
    std::FILE *m_terminal = nullptr;
    int m_shown = -1;
};
