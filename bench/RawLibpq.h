#pragma once

#include <libpq-fe.h>
#include <memory>
#include <string>
#include <vector>

// The baseline on a server: statements sent through libpq as a careful hand-written program
// would. A statement without parameters goes as it is (PQexec, one round trip); one with
// parameters is prepared once on the connection (PQprepare) and then only executed
// (PQexecPrepared), its values sent as text for the server to type.
class RawLibpq
{
public:
    // One statement's outcome; rows are read in place from the server's answer.
    class Result
    {
    public:
        explicit Result(PGresult *result) : m_result(result, PQclear) {}
        int Rows() const { return PQntuples(m_result.get()); }
        bool Empty() const { return Rows() == 0; }
        bool IsNull(int row, int column) const { return PQgetisnull(m_result.get(), row, column); }
        const char *Text(int row, int column) const { return PQgetvalue(m_result.get(), row, column); }
        // Rows an insert, update or delete changed.
        int Changed() const;

    private:
        std::unique_ptr<PGresult, void (*)(PGresult *)> m_result;
    };

    // url: postgresql://user@host:port/db (libpq reads URLs as they are).
    explicit RawLibpq(const std::string &url);
    ~RawLibpq();
    RawLibpq(const RawLibpq &) = delete;
    RawLibpq &operator=(const RawLibpq &) = delete;

    Result Exec(const std::string &statement);
    // Prepares statement under name on this connection, unless it is already.
    void Prepare(const std::string &name, const std::string &statement);
    Result ExecPrepared(const std::string &name, const std::vector<std::string> &values);
    // COPY ... FROM STDIN: begun, fed rows in COPY's text format, ended.
    void BeginCopy(const std::string &statement);
    void PutCopyData(const std::string &rows);
    void EndCopy();
    // Forgets every statement prepared by this object.
    void DeallocateAll();

private:
    Result Checked(PGresult *result, const std::string &what);
    PGconn *m_conn = nullptr;
    std::vector<std::string> m_prepared;
};
