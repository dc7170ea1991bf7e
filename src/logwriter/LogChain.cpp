#include "LogChain.h"

#include "records/Connection.h"

#include <QSqlQuery>
#include <charconv>
#include <openssl/evp.h>

namespace LogChain {

bool HasDigestColumn(QSqlDatabase &db)
{
    QString query;
    switch (Connection::DialectOf(db)) {
    case Connection::Dialect::SQLite:
        query = QStringLiteral("SELECT count(*) FROM pragma_table_info('FILLOG', 'MRLCRT') WHERE name='LOGDIG'");
        break;
    case Connection::Dialect::PostgreSQL:
        query = QStringLiteral("SELECT count(*) FROM information_schema.columns WHERE table_schema='mrlcrt'"
                               " AND table_name='fillog' AND column_name='logdig'");
        break;
    case Connection::Dialect::DB2:
    case Connection::Dialect::Other:
        return false;
    }
    QSqlQuery q(db);
    const bool has = q.exec(query) && q.next() && q.value(0).toInt() > 0;
    q.finish();
    return has;
}

namespace {

void Append(QByteArray &input, QByteArrayView field)
{
    input += '\x1f';
    input += field;
}

void Append(QByteArray &input, qint64 number)
{
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, number).ptr;
    Append(input, QByteArrayView(text, end - text));
}

// One digest context a thread, made once: the audit hashes every row of the court.
struct Sha256
{
    Sha256() : md(EVP_MD_fetch(nullptr, "SHA256", nullptr)), context(EVP_MD_CTX_new()) {}
    ~Sha256()
    {
        EVP_MD_CTX_free(context);
        EVP_MD_free(md);
    }
    EVP_MD *md;
    EVP_MD_CTX *context;
};

} // namespace

QByteArray Fields(const Utf8Row &row)
{
    // A type code compares without trailing blanks (CHAR(2) on a server), so it is hashed so; the
    // unit separator between the fields keeps "AB"+"C" apart from "A"+"BC".
    QByteArrayView type = row.type;
    while (type.endsWith(' '))
        type.chop(1);
    QByteArray input;
    input.reserve(128 + row.user.size() + row.party.size());
    input += "zorva-log-1";
    Append(input, row.stamp);
    Append(input, row.year);
    Append(input, type);
    Append(input, row.sequence);
    Append(input, row.automatic ? "1" : "0");
    Append(input, row.user);
    Append(input, row.party);
    Append(input, row.out ? "1" : "0");
    return input;
}

void DigestHex(QByteArrayView fields, QByteArrayView previous, char hex[64])
{
    thread_local Sha256 sha;
    unsigned char digest[32];
    unsigned int length = 0;
    const char separator = '\x1f';
    if (!sha.md || !sha.context || !EVP_DigestInit_ex(sha.context, sha.md, nullptr) ||
        !EVP_DigestUpdate(sha.context, fields.data(), size_t(fields.size())) ||
        !EVP_DigestUpdate(sha.context, &separator, 1) ||
        !EVP_DigestUpdate(sha.context, previous.data(), size_t(previous.size())) ||
        !EVP_DigestFinal_ex(sha.context, digest, &length) || length != 32)
        qFatal("SHA-256 is not available from the crypto library");
    static constexpr char digits[] = "0123456789abcdef";
    for (int i = 0; i < 32; ++i) {
        hex[2 * i] = digits[digest[i] >> 4];
        hex[2 * i + 1] = digits[digest[i] & 15];
    }
}

QByteArray Digest(const Utf8Row &row, QByteArrayView previous)
{
    QByteArray hex(64, Qt::Uninitialized);
    DigestHex(Fields(row), previous, hex.data());
    return hex;
}

QString Digest(const Row &row, const QString &previous)
{
    return QString::fromLatin1(Digest(Utf8Row{row.stamp.toUtf8(), row.year, row.type.toUtf8(), row.sequence,
                                              row.automatic, row.user.toUtf8(), row.party.toUtf8(), row.out},
                                      previous.toUtf8()));
}

QString NextStamp(const QDateTime &nowUtc, const QString &latestStamp)
{
    const QDateTime latest = QDateTime::fromString(latestStamp, Qt::ISODateWithMs);
    const QDateTime stamp = latest.isValid() && nowUtc <= latest ? latest.addMSecs(1) : nowUtc;
    return stamp.toUTC().toString(Qt::ISODateWithMs);
}

} // namespace LogChain
