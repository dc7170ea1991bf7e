#include "RawSqlite.h"

#include <stdexcept>

RawSqlite::RawSqlite(const std::string &file, const std::string &synchronous)
{
    if (sqlite3_open(":memory:", &m_db) != SQLITE_OK)
        throw std::runtime_error("cannot open sqlite");
    sqlite3_busy_timeout(m_db, 5000);
    Run("ATTACH DATABASE ? AS MRLCRT", {file});
    Run("PRAGMA MRLCRT.journal_mode=WAL");
    Run("PRAGMA MRLCRT.synchronous=" + synchronous);
}

RawSqlite::~RawSqlite() { sqlite3_close(m_db); }

std::vector<RawSqlite::Row> RawSqlite::Run(const std::string &statement, const std::vector<Value> &params,
                                           int *changes)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, statement.c_str(), static_cast<int>(statement.size()), &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    for (size_t i = 0; i < params.size(); ++i) {
        const int at = static_cast<int>(i + 1);
        const Value &v = params[i];
        if (const auto *n = std::get_if<long long>(&v))
            sqlite3_bind_int64(stmt, at, *n);
        else if (const auto *d = std::get_if<double>(&v))
            sqlite3_bind_double(stmt, at, *d);
        else if (const auto *s = std::get_if<std::string>(&v))
            sqlite3_bind_text(stmt, at, s->c_str(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(stmt, at);
    }
    std::vector<Row> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Row row;
        const int n = sqlite3_column_count(stmt);
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                row.emplace_back(sqlite3_column_int64(stmt, c));
                break;
            case SQLITE_FLOAT:
                row.emplace_back(sqlite3_column_double(stmt, c));
                break;
            case SQLITE_NULL:
                row.emplace_back();
                break;
            default:
                row.emplace_back(std::string(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)),
                                             sqlite3_column_bytes(stmt, c)));
            }
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(m_db));
    if (changes)
        *changes = sqlite3_changes(m_db);
    return rows;
}
