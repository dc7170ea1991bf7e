#pragma once

#include <QString>
#include <QTemporaryDir>

// A court file for one benchmark: the schema, a docket of `hearings` cases on one day (each with
// a master row in its class's table, branches N and S alternating), opened by the component's
// data layer.
class BenchCourt
{
public:
    static constexpr int Day = 20261207;

    explicit BenchCourt(int hearings);
    QString File() const { return m_dir.filePath(QStringLiteral("court.db")); }

    // Every folder of the docket on loan (for check-in), or none (for check-out).
    void LendAll();
    void ReturnAll();

private:
    void Exec(const QString &statement);
    QTemporaryDir m_dir;
};
