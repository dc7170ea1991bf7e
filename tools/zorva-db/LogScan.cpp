#include "LogScan.h"

#include "BatchPipe.h"

#include "records/Connection.h"
#include "records/PgPrepared.h"

#include <QSqlError>
#include <QStringList>
#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <utility>

namespace LogScan {
namespace {

constexpr size_t BatchRows = 4096;
// A holder as the editor takes it: 13 characters, in UTF-8 at most 39 bytes.
constexpr qsizetype PartyBytes = 40;

bool OwnStamp(QByteArrayView stamp) { return stamp.size() == 24 && stamp.at(10) == 'T' && stamp.at(23) == 'Z'; }

// Year, type and sequence in one number, when they fit: as nearly every court's do.
bool Pack(const Key &key, quint64 *packed)
{
    const QByteArray &t = key.type;
    if (key.year < 0 || key.year > 0xFFFF || key.sequence < 0 || key.sequence > 0xFFFFFFFF || t.size() > 2 ||
        t.contains('\0'))
        return false;
    const quint64 t0 = t.size() > 0 ? quint8(t[0]) : 0, t1 = t.size() > 1 ? quint8(t[1]) : 0;
    *packed = quint64(key.year) << 48 | t0 << 40 | t1 << 32 | quint64(key.sequence);
    return true;
}

Key Unpacked(quint64 packed)
{
    QByteArray type;
    for (const int shift : {40, 32})
        if (const char c = char(packed >> shift & 0xFF))
            type += c;
    return {qint64(packed >> 48), type, qint64(packed & 0xFFFFFFFF)};
}

// A row made compact on the reading thread, which is the busier one: the worker hashes.
struct Scanned
{
    quint64 key = 0;
    bool packed = false;
    Key full;           // the case, when its key does not pack
    bool plain = false; // the component's stamp, a holder as the editor takes it, a digest or none
    bool out = false;
    bool chained = false;
    std::array<char, 24> stamp{};
    std::array<char, 64> digest{};
    std::array<char, PartyBytes> party{};
    quint8 partyLength = 0;
    LogChain::Utf8Row row; // hashed by the worker
};

// What the worker keeps of a case.
struct CaseState
{
    std::array<char, 24> stamp{}; // of the latest row; zeros before the first
    std::array<char, 64> previous{};
    bool chained = false; // the latest row carried a digest
    std::array<char, PartyBytes> party{};
    quint8 partyLength = 0;
    bool out = false, broken = false, unordered = false;
};

template <size_t N>
void CopyInto(std::array<char, N> &to, QByteArrayView from)
{
    std::copy_n(from.data(), std::min(size_t(from.size()), N), to.begin());
}

class Pass
{
public:
    Pass(qsizetype cases, Counts *counts) : m_counts(counts) { m_cases.reserve(cases); }

    // On the reading thread.
    Scanned Compact(LogChain::Utf8Row row, const QByteArray &digest)
    {
        ++m_counts->rows;
        if (digest.isEmpty())
            CountUnchained(row.stamp);
        Scanned s;
        Key key{row.year, RightTrimmed(row.type), row.sequence};
        s.packed = Pack(key, &s.key);
        if (!s.packed)
            s.full = std::move(key);
        s.plain = OwnStamp(row.stamp) && row.party.size() <= PartyBytes && (digest.isEmpty() || digest.size() == 64);
        if (!s.plain)
            return s;
        s.out = row.out;
        s.chained = !digest.isEmpty();
        CopyInto(s.stamp, row.stamp);
        CopyInto(s.digest, digest);
        CopyInto(s.party, row.party);
        s.partyLength = quint8(row.party.size());
        s.row = std::move(row);
        return s;
    }

    // On the worker thread.
    void Follow(const Scanned &s)
    {
        if (!s.packed) {
            m_oddCases.insert(s.full);
            return;
        }
        CaseState &c = m_cases[s.key];
        if (c.unordered)
            return;
        if (!s.plain || std::memcmp(s.stamp.data(), c.stamp.data(), 24) <= 0) {
            c.unordered = true;
            return;
        }
        if (s.chained && !c.broken) {
            // After an unchained row, or at the first, the chain starts anew.
            char hex[64];
            LogChain::DigestHex(LogChain::Fields(s.row), c.chained ? QByteArrayView(c.previous.data(), 64) : QByteArrayView(), hex);
            c.broken = std::memcmp(hex, s.digest.data(), 64) != 0;
        }
        c.stamp = s.stamp;
        c.previous = s.digest;
        c.chained = s.chained;
        c.party = s.party;
        c.partyLength = s.partyLength;
        c.out = s.out;
    }

    bool End(const std::function<bool(const Key &, const Trail &)> &end)
    {
        for (auto it = m_cases.cbegin(); it != m_cases.cend(); ++it) {
            const CaseState &c = it.value();
            if (!end(Unpacked(it.key()), Trail{!c.unordered, c.broken, c.out, QByteArray(c.party.data(), c.partyLength)}))
                return false;
        }
        for (const Key &key : std::as_const(m_oddCases))
            if (!end(key, Trail{}))
                return false;
        const QDateTime lastOwn = QDateTime::fromString(QString::fromLatin1(m_lastOwnUnchained), Qt::ISODateWithMs).toUTC();
        if (lastOwn.isValid() && (!m_counts->lastUnchained.isValid() || lastOwn > m_counts->lastUnchained))
            m_counts->lastUnchained = lastOwn;
        return true;
    }

private:
    // An old court's log may be millions of unchained rows: the component's own stamps are
    // compared as they are, others read as times.
    void CountUnchained(const QByteArray &stored)
    {
        ++m_counts->unchained;
        if (OwnStamp(stored)) {
            m_lastOwnUnchained = std::max(m_lastOwnUnchained, stored);
            return;
        }
        const QDateTime stamp = QDateTime::fromString(QString::fromUtf8(stored), Qt::ISODateWithMs).toUTC();
        if (stamp.isValid() && (!m_counts->lastUnchained.isValid() || stamp > m_counts->lastUnchained))
            m_counts->lastUnchained = stamp;
    }

    Counts *m_counts;
    QHash<quint64, CaseState> m_cases;
    QSet<Key> m_oddCases;
    QByteArray m_lastOwnUnchained;
};

// Every log row, in the order the engine keeps them. A server hands a plain query's rows over
// one answer per row: there a cursor is read a page at a time instead, in one read-only
// transaction.
using Take = std::function<void(LogChain::Utf8Row, const QByteArray &)>;

qint64 Number(QByteArrayView text)
{
    qint64 n = 0;
    std::from_chars(text.data(), text.data() + text.size(), n);
    return n;
}

// A page of the cursor through libpq on the driver's own handle: the values as the server sent
// them, without a QVariant and a round trip through UTF-16 each.
bool FetchRaw(QSqlDatabase &db, bool chained, const Take &take, bool *more, QString *error)
{
    PgPrepared::Result page;
    PgColumns columns;
    QSqlError failure;
    if (!PgPrepared::RunText(db.driver(), QStringLiteral("FETCH FORWARD 10000 FROM zorva_audit"), &page, &columns,
                             &failure)) {
        *error = QStringLiteral("reading the court failed: %1").arg(failure.text());
        return false;
    }
    const PgRows &rows = *page.rows;
    *more = rows.Count() > 0;
    for (int r = 0; r < rows.Count(); ++r)
        take({rows.Bytes(r, 0).toByteArray(), Number(rows.Bytes(r, 1)), rows.Bytes(r, 2).toByteArray(),
              Number(rows.Bytes(r, 3)), Number(rows.Bytes(r, 4)) != 0, rows.Bytes(r, 5).toByteArray(),
              rows.Bytes(r, 6).toByteArray(), Number(rows.Bytes(r, 7)) != 0},
             chained ? rows.Bytes(r, 8).toByteArray() : QByteArray());
    return true;
}

bool Scan(QSqlDatabase &db, bool chained, const Take &take, QString *error)
{
    const auto failed = [error](const QSqlQuery &q) {
        *error = QStringLiteral("reading the court failed: %1").arg(q.lastError().text());
        return false;
    };
    const QString select = QStringLiteral("SELECT %1 FROM MRLCRT.FILLOG").arg(Columns(db, chained));
    QSqlQuery q(db);
    const Connection::Dialect dialect = Connection::DialectOf(db);
    if (dialect == Connection::Dialect::SQLite) // read through the system's page cache, not copied
        q.exec(QStringLiteral("PRAGMA MRLCRT.mmap_size=%1").arg(qint64(1) << 40));
    if (dialect != Connection::Dialect::PostgreSQL) {
        q.setForwardOnly(true);
        if (!q.exec(select))
            return failed(q);
        while (q.next())
            take(RowOf(q), DigestOf(q, chained));
        return !q.lastError().isValid() || failed(q);
    }
    if (!q.exec(QStringLiteral("BEGIN READ ONLY")) ||
        !q.exec(QStringLiteral("DECLARE zorva_audit NO SCROLL CURSOR FOR ") + select))
        return failed(q);
    const bool raw = PgPrepared::Handles(db.driver());
    bool ok = true;
    for (bool more = true; more && ok;) {
        if (raw) {
            ok = FetchRaw(db, chained, take, &more, error);
            continue;
        }
        ok = q.exec(QStringLiteral("FETCH FORWARD 10000 FROM zorva_audit"));
        more = false;
        while (ok && q.next()) {
            take(RowOf(q), DigestOf(q, chained));
            more = true;
        }
        if (!ok)
            failed(q);
    }
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    return ok;
}

} // namespace

size_t qHash(const Key &k, size_t seed) { return ::qHashMulti(seed, k.year, k.type, k.sequence); }

QString Columns(QSqlDatabase &db, bool chained)
{
    const bool bytes = Connection::DialectOf(db) == Connection::Dialect::SQLite;
    QStringList columns;
    for (const char *column : {"LOGTSP", "LOGYER", "LOGTYP", "LOGSEQ", "LOGAUT", "LOGUSR", "LOGOTO", "LOGOUT"}) {
        const bool text = std::strcmp(column, "LOGTSP") == 0 || std::strcmp(column, "LOGTYP") == 0 ||
                          std::strcmp(column, "LOGUSR") == 0 || std::strcmp(column, "LOGOTO") == 0;
        columns << (bytes && text ? QStringLiteral("CAST(%1 AS BLOB)") : QStringLiteral("%1")).arg(QLatin1String(column));
    }
    if (chained)
        columns << (bytes ? QStringLiteral("CAST(%1 AS BLOB)") : QStringLiteral("%1")).arg(QLatin1String(LogChain::Column));
    return columns.join(QStringLiteral(", "));
}

LogChain::Utf8Row RowOf(const QSqlQuery &q)
{
    return {q.value(0).toByteArray(), q.value(1).toLongLong(), q.value(2).toByteArray(), q.value(3).toLongLong(),
            q.value(4).toInt() != 0,  q.value(5).toByteArray(), q.value(6).toByteArray(), q.value(7).toInt() != 0};
}

QByteArray DigestOf(const QSqlQuery &q, bool chained) { return chained ? q.value(8).toByteArray() : QByteArray(); }

bool Run(QSqlDatabase &db, bool chained, qsizetype cases, Counts *counts,
         const std::function<bool(const Key &, const Trail &)> &end, QString *error)
{
    *counts = Counts{};
    Pass pass(cases, counts);
    {
        BatchPipe<Scanned> pipe([&pass](std::vector<Scanned> &batch) {
            for (const Scanned &s : batch)
                pass.Follow(s);
        });
        std::vector<Scanned> batch;
        const bool read = Scan(db, chained, [&](LogChain::Utf8Row row, const QByteArray &digest) {
            batch.push_back(pass.Compact(std::move(row), digest));
            if (batch.size() == BatchRows)
                pipe.Put(std::exchange(batch, {}));
        }, error);
        pipe.Put(std::move(batch));
        if (!read)
            return false;
    }
    return pass.End(end);
}

} // namespace LogScan
