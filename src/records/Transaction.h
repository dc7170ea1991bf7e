#pragma once

#include <QSqlDatabase>
#include <QString>

class DataObject;

// A loan statement and its log row, kept or lost together: a crash between the two must not leave
// a change without its log row. Begun only where asked (logging on); rolled back unless committed.
class Transaction
{
public:
    explicit Transaction(bool begin, const QString &role = QStringLiteral("data"));
    // Always begun, and holding one folder against other clerks from the look-up to the commit, so
    // that a loan is changed only as it was just read: SQLite takes the write lock at once
    // (BEGIN IMMEDIATE), PostgreSQL a lock on this case key alone, so that clerks on other
    // folders never wait. Another source relies on its own isolation.
    Transaction(qint16 year, const QString &type, qint32 sequence);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    bool IsOpen() const { return m_open; }
    // False, after raising the reason as a data error of the object about to read the folder,
    // when the folder could not be held (another clerk's lock outlasted the wait).
    bool Held(DataObject *sender);
    // True when nothing was begun, or the commit went through; else *error says why.
    bool Commit(QString *error);
    // The same, a failed commit raised as a data error of the object that sent the change.
    bool Commit(DataObject *sender);
    void Rollback();

    // Work that may fail on its own inside an open transaction (the log row): a server aborts the
    // whole transaction at a failed statement, so the work runs inside a savepoint that undoes
    // only itself. Does nothing while no transaction is open on this thread.
    class Savepoint
    {
    public:
        Savepoint();
        ~Savepoint();
        Savepoint(const Savepoint &) = delete;
        Savepoint &operator=(const Savepoint &) = delete;
        void Keep();

    private:
        QSqlDatabase m_db;
        bool m_open = false;
    };

private:
    void Begin(const QString &role, const QString &lockKey);

    QSqlDatabase m_db;
    bool m_open = false;
    QString m_failure; // why the folder could not be held
};
