#pragma once

#include <sqlite3.h>
#include <string>
#include <variant>
#include <vector>

// The baseline: statements sent through the sqlite3 C API as a careful hand-written program
// would, on a connection set up as the component sets up its own (the court file attached as
// MRLCRT, WAL, synchronous=FULL, 5 s busy timeout).
class RawSqlite
{
public:
    using Value = std::variant<std::monostate, long long, double, std::string>;
    using Row = std::vector<Value>;

    // synchronous: the file's setting, FULL as the component ships it.
    explicit RawSqlite(const std::string &file, const std::string &synchronous = "FULL");
    ~RawSqlite();

    // Prepares, binds, steps to the end and finalizes; returns the rows and sets *changes.
    std::vector<Row> Run(const std::string &statement, const std::vector<Value> &params = {},
                         int *changes = nullptr);

private:
    sqlite3 *m_db = nullptr;
};
