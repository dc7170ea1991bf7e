#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

// Each log row carries a SHA-256 digest of its own fields and of the digest of the case's previous
// row, so that every case's history is a chain: a row changed, removed or slipped in afterwards
// no longer verifies. The chain is per case, so that clerks on different folders never wait on
// each other. Rows written before the chain existed (no digest) start it anew.
namespace LogChain {

// The digest column; a log table without it (a court's own table) is written as before, unchained.
inline constexpr char Column[] = "LOGDIG";

// Whether the connection's log table has the digest column (a court's own DB2 table has not).
bool HasDigestColumn(QSqlDatabase &db);

// One log row as stored: its text as QString (Row), or as UTF-8 (Utf8Row), as an engine hands
// text over when asked for its bytes.
template <typename Text>
struct LogRow
{
    Text stamp; // LOGTSP as stored
    qint64 year = 0;
    Text type;
    qint64 sequence = 0;
    bool automatic = false;
    Text user;
    Text party;
    bool out = false;
};
using Row = LogRow<QString>;
using Utf8Row = LogRow<QByteArray>;

// The row's digest after the case's previous one (empty for the first row, or after an unchained one).
QString Digest(const Row &row, const QString &previous);
// The same, in hexadecimal as stored, for a reader that keeps the rows' bytes.
QByteArray Digest(const Utf8Row &row, QByteArrayView previous);
// The same in two steps, for a reader that hashes on another thread than it reads: the row's own
// part of what is hashed, then the digest of that part after the previous digest, into hex.
QByteArray Fields(const Utf8Row &row);
void DigestHex(QByteArrayView fields, QByteArrayView previous, char hex[64]);

// The time stamp of a new row: now, or just after the case's latest row when the clock says
// otherwise, so that a case's rows sort in the order they were written.
QString NextStamp(const QDateTime &nowUtc, const QString &latestStamp);

} // namespace LogChain
