#pragma once

#include "logwriter/LogChain.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <functional>

// The audit's pass over the whole log. The rows are read as the engine keeps them, without
// sorting ten million of them: a case's rows come in the order they were written, which is
// their time order. While a case's rows come so, and in the shapes the component writes them,
// its chain is followed on a second thread (reading and hashing then take a core each). A case
// with any other row, or a row out of time order, is only marked, for the audit to read again in
// time order and judge row by row.
namespace LogScan {

struct Key
{
    qint64 year = 0;
    QByteArray type; // UTF-8, without trailing blanks, as CHAR(2) compares
    qint64 sequence = 0;
    bool operator==(const Key &) const = default;
};
size_t qHash(const Key &k, size_t seed = 0);

template <typename Text>
Text RightTrimmed(Text text)
{
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

// What the pass saw of one case.
struct Trail
{
    bool followed = false; // every row came plain and in time order; otherwise read the case again
    bool broken = false;   // a row did not verify
    bool out = false;      // the latest row
    QByteArray party;      // of the latest row
};

struct Counts
{
    qint64 rows = 0;
    qint64 unchained = 0;      // rows without a digest
    QDateTime lastUnchained;   // the latest of their times
};

// The log's columns, its text as UTF-8 (SQLite hands text over as stored when asked for bytes,
// sparing a conversion to UTF-16 and back for each row), with the digest when chained.
QString Columns(QSqlDatabase &db, bool chained);
// A row of a query over Columns(), and the digest it carries (empty when none).
LogChain::Utf8Row RowOf(const QSqlQuery &q);
QByteArray DigestOf(const QSqlQuery &q, bool chained);

// Reads every log row; then hands each case to `end`, on the calling thread.
bool Run(QSqlDatabase &db, bool chained, qsizetype cases, Counts *counts,
         const std::function<bool(const Key &, const Trail &)> &end, QString *error);

} // namespace LogScan
