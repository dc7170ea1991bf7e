#pragma once

#include <QString>
#include <QTemporaryDir>

// A court for one benchmark: the schema, a docket of `hearings` cases on one day (each with a
// master row in its class's table, branches N and S alternating), opened by the component's
// data layer. The court is a SQLite file, or a database of its own on a PostgreSQL server.
class BenchCourt
{
public:
    static constexpr int Day = 20261207;

    // A SQLite file in a folder of its own.
    explicit BenchCourt(int hearings);
    // A new database on the server that adminUrl (postgresql://user@host:port/db, a user that may
    // create databases) names; dropped again by the destructor.
    BenchCourt(int hearings, const QString &adminUrl);
    ~BenchCourt();
    BenchCourt(const BenchCourt &) = delete;
    BenchCourt &operator=(const BenchCourt &) = delete;

    QString File() const { return m_dir.filePath(QStringLiteral("court.db")); }
    // The URL the component is pointed at (Connection::Use).
    QString Url() const { return m_url; }
    bool OnServer() const { return !m_serverDatabase.isEmpty(); }

    // Every folder of the docket on loan (for check-in), or none (for check-out).
    void LendAll();
    void ReturnAll();
    // The log table as an older court has it, without the digest column: rows go in unchained.
    void Unchain();

private:
    void Seed(int hearings);
    void Exec(const QString &statement);
    void Administer(const QString &statement);
    void DropServerDatabase();
    void Settle();
    QTemporaryDir m_dir;
    QString m_url;
    QString m_adminUrl;
    QString m_serverDatabase;
};
