#pragma once

#include <QString>
#include <QTemporaryDir>

#include "QtPrinters.h"

// A fresh world for one test: its own court database (with the schema), its own settings folder
// and application data folder. Nothing touches the user's real files.
//
// The court database is a SQLite file by default. With ZORVA_TEST_BACKEND=postgresql (or odbc)
// it is a database of its own on the server that ZORVA_TEST_POSTGRES names (an administrator's
// URL, as scripts/pg-cluster prints it), reached by the code under test through QPSQL (or
// through unixODBC's PostgreSQL driver), and dropped afterwards.
class TestWorld
{
public:
    enum class Backend { SQLite, PostgreSQL, ODBC };
    static Backend CurrentBackend();
    static bool OnSQLite() { return CurrentBackend() == Backend::SQLite; }
    static constexpr char ServerVariable[] = "ZORVA_TEST_POSTGRES";

    TestWorld();
    ~TestWorld();

    QString Path(const QString &name) const { return m_dir.filePath(name); }
    // SQLite only: the court file.
    QString DatabaseFile() const { return Path(QStringLiteral("court.db")); }
    // What the code under test is pointed at.
    QString DatabaseUrl() const;

    // Lays the repository's reference tables (data/*.XML) into a client tables folder of this
    // world and points ZORVA_PROGRAM_FILES at it; returns that folder.
    QString InstallReferenceTables() const;

    // A folder on loan since 01/05/2026, as an earlier clerk recorded it.
    void Lend(int year, const QString &type, int sequence, const QString &party) const;

    // Runs statements straight against the database (a second, independent connection), for
    // arranging rows and reading them back without going through the code under test.
    void Exec(const QString &statement) const;
    // The order rows were written in, for ORDER BY on a table that is only appended to.
    // On a server a rolled-back row's place may be taken by a later one: the writing transaction
    // (numbered as it first wrote, after any lock it waited on) orders rows there.
    static QString InsertionOrder() { return OnSQLite() ? QStringLiteral("rowid") : QStringLiteral("xmin::text::bigint, ctid"); }
    // From the moment the table holds `rows` rows, every insert into it fails with `message`.
    void FailInsertsFrom(int rows, const QString &message, const QString &table = QStringLiteral("FILCHK")) const;
    // The engine's refusal of the statement, empty when it ran; on a server as the given role
    // (a login without a password, as the private cluster's loopback trusts) when one is named.
    QString Refusal(const QString &statement, const QString &role = {}) const;
    // The world's database name on the server (empty on SQLite).
    QString ServerDatabase() const { return m_serverDatabase; }
    QVariant Scalar(const QString &query) const;
    QList<QVariantList> Rows(const QString &query) const;

    // Another clerk's write transaction on FILCHK, open until this object goes.
    class WriteLock
    {
    public:
        explicit WriteLock(const TestWorld &world);
        ~WriteLock();
        bool Held() const { return m_held; }

    private:
        bool m_held = false;
    };

private:
    QTemporaryDir m_dir;
    QString m_serverDatabase; // the database of this world on the server, if any
};
