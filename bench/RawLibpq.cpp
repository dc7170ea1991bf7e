#include "RawLibpq.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

int RawLibpq::Result::Changed() const
{
    const char *tuples = PQcmdTuples(m_result.get());
    return *tuples ? std::atoi(tuples) : 0;
}

RawLibpq::RawLibpq(const std::string &url) : m_conn(PQconnectdb(url.c_str()))
{
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const std::string why = PQerrorMessage(m_conn);
        PQfinish(m_conn);
        throw std::runtime_error("cannot connect to " + url + ": " + why);
    }
    // As the component's connection: a row another clerk writes is waited for 5 s.
    Exec("SET lock_timeout = 5000");
}

RawLibpq::~RawLibpq() { PQfinish(m_conn); }

RawLibpq::Result RawLibpq::Checked(PGresult *result, const std::string &what)
{
    Result r(result);
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw std::runtime_error(what + ": " + PQerrorMessage(m_conn));
    return r;
}

RawLibpq::Result RawLibpq::Exec(const std::string &statement)
{
    return Checked(PQexec(m_conn, statement.c_str()), statement);
}

void RawLibpq::Prepare(const std::string &name, const std::string &statement)
{
    if (std::find(m_prepared.begin(), m_prepared.end(), name) != m_prepared.end())
        return;
    Checked(PQprepare(m_conn, name.c_str(), statement.c_str(), 0, nullptr), statement);
    m_prepared.push_back(name);
}

RawLibpq::Result RawLibpq::ExecPrepared(const std::string &name, const std::vector<std::string> &values)
{
    std::vector<const char *> texts;
    texts.reserve(values.size());
    for (const std::string &v : values)
        texts.push_back(v.c_str());
    return Checked(PQexecPrepared(m_conn, name.c_str(), static_cast<int>(texts.size()), texts.data(), nullptr,
                                  nullptr, 0),
                   name);
}

void RawLibpq::BeginCopy(const std::string &statement)
{
    PGresult *started = PQexec(m_conn, statement.c_str());
    const bool copying = started && PQresultStatus(started) == PGRES_COPY_IN;
    PQclear(started);
    if (!copying)
        throw std::runtime_error(statement + ": " + PQerrorMessage(m_conn));
}

void RawLibpq::PutCopyData(const std::string &rows)
{
    if (PQputCopyData(m_conn, rows.data(), static_cast<int>(rows.size())) != 1)
        throw std::runtime_error(std::string("COPY: ") + PQerrorMessage(m_conn));
}

void RawLibpq::EndCopy()
{
    if (PQputCopyEnd(m_conn, nullptr) != 1)
        throw std::runtime_error(std::string("COPY: ") + PQerrorMessage(m_conn));
    Checked(PQgetResult(m_conn), "COPY");
    while (PGresult *rest = PQgetResult(m_conn))
        PQclear(rest);
}

void RawLibpq::DeallocateAll()
{
    for (const std::string &name : m_prepared)
        Exec("DEALLOCATE " + name);
    m_prepared.clear();
}
