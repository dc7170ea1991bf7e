#pragma once

#include <QList>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QVariant>
#include <memory>
#include <vector>

struct pg_result;

// A statement's rows as the server sent them, each value read only when asked for: a caller
// reads few of the columns a "Select *" brings.
class PgRows
{
public:
    explicit PgRows(pg_result *result) : m_result(result) {}
    ~PgRows();
    PgRows(const PgRows &) = delete;
    PgRows &operator=(const PgRows &) = delete;

    int Count() const;
    // As the driver would give it: a number or text; a null of the column's type.
    QVariant Value(int row, int column) const;
    // The value's text as the server sent it (UTF-8), for a reader of millions of rows; empty
    // for a null.
    QByteArrayView Bytes(int row, int column) const;

private:
    pg_result *m_result;
};

// The columns of a statement's rows: their server types and names, and the record the driver
// would give for them.
struct PgColumns
{
    std::vector<unsigned int> types;
    std::vector<QByteArray> names;
    QSqlRecord record;
};

// A parameterised statement prepared and run through libpq on a QPSQL connection's own handle:
// one Bind/Execute per run, where the driver would format every value into a text EXECUTE that
// the server parses anew. Values come back as the driver gives them (numbers, dates, text).
class PgPrepared
{
public:
    // Null with *error filled when the statement cannot be prepared, or when db is no
    // PostgreSQL connection (error then not valid).
    static std::unique_ptr<PgPrepared> Make(const QSqlDatabase &db, const QString &text, QSqlError *error);
    // Deallocates the statement on the server, as the driver does for its own, while the
    // connection is still open.
    ~PgPrepared();

    struct Result
    {
        bool select = false;
        qint32 affected = 0;
        std::unique_ptr<PgRows> rows;
        // The columns were read anew from this result.
        bool newColumns = false;
    };
    bool Run(const QVariantList &values, Result *out, QSqlError *error);
    // The columns of the statement's rows, known after its first run.
    const QSqlRecord &Columns() const { return m_columns.record; }

    // Whether driver is an open PostgreSQL connection whose handle these calls can use.
    static bool Handles(const QSqlDriver *driver);
    // Runs a statement without parameters as it is, in one round trip, as the driver's exec would
    // but without its per-statement result object. *columns are the last literal statement's, kept
    // when this one's rows have the same.
    static bool RunText(const QSqlDriver *driver, const QString &text, Result *out, PgColumns *columns,
                        QSqlError *error);

private:
    PgPrepared(QSqlDriver *driver, QByteArray name) : m_driver(driver), m_name(std::move(name)) {}

    QPointer<QSqlDriver> m_driver;
    QByteArray m_name;
    PgColumns m_columns;
    QByteArray m_texts; // the bound values' text, its room kept from one run to the next
};
