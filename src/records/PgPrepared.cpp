#include "PgPrepared.h"

#include <QAtomicInteger>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlField>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <libpq-fe.h>

namespace {

// Type numbers of pg_type, for the columns the court's tables hold.
enum : Oid {
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    OidOid = 26,
    Float4Oid = 700,
    Float8Oid = 701,
    NumericOid = 1700,
};

QAtomicInteger<quint64> names = 0;

PGconn *Handle(const QSqlDriver *driver)
{
    if (!driver || !driver->isOpen())
        return nullptr;
    const QVariant handle = driver->handle();
    // Qt names the type by libpq's struct: "pg_conn*" (older builds: "PGconn*").
    if (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0)
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

// The driver's question marks as libpq's $n, quoted text and names left alone.
QByteArray Numbered(const QString &text)
{
    QString out;
    out.reserve(text.size() + 16);
    QChar quote;
    int n = 0;
    for (const QChar c : text) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++n);
            continue;
        }
        out += c;
    }
    return out.toUtf8();
}

QMetaType TypeOf(Oid type)
{
    switch (type) {
    case Int8Oid:
        return QMetaType::fromType<qlonglong>();
    case Int2Oid:
    case Int4Oid:
    case OidOid:
        return QMetaType::fromType<int>();
    case Float4Oid:
    case Float8Oid:
    case NumericOid:
        return QMetaType::fromType<double>();
    default:
        return QMetaType::fromType<QString>();
    }
}

QVariant ValueOf(const char *text, Oid type)
{
    switch (type) {
    case Int8Oid:
        return qlonglong(std::strtoll(text, nullptr, 10));
    case Int2Oid:
    case Int4Oid:
    case OidOid:
        return int(std::strtol(text, nullptr, 10));
    case Float4Oid:
    case Float8Oid:
    case NumericOid: {
        // The server writes numbers in the C locale, whatever the clerk's is.
        double d = 0;
        std::from_chars(text, text + qstrlen(text), d);
        return d;
    }
    default:
        return QString::fromUtf8(text);
    }
}

// A bound value as text, as the server reads a literal of the parameter's type, added to out.
void AppendText(QByteArray *out, const QVariant &v)
{
    char digits[24];
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::SChar:
    case QMetaType::UChar:
        out->append(digits, std::to_chars(digits, digits + sizeof digits, v.toLongLong()).ptr - digits);
        return;
    case QMetaType::Double:
    case QMetaType::Float: {
        // Never with an exponent: "1e+05" is no integer to the server, and the windows bind
        // case numbers as doubles.
        const double d = v.toDouble();
        if (std::trunc(d) == d && std::fabs(d) < 1e15)
            out->append(digits, std::to_chars(digits, digits + sizeof digits, qlonglong(d)).ptr - digits);
        else
            out->append(QByteArray::number(d, 'f', QLocale::FloatingPointShortest));
        return;
    }
    default: {
        // Keys, names and dates are ASCII: copied as they are, without a converted copy.
        const QString text = v.toString();
        if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
            const qsizetype at = out->size();
            out->resize(at + text.size());
            std::transform(text.cbegin(), text.cend(), out->data() + at, [](QChar c) { return char(c.unicode()); });
        } else {
            out->append(text.toUtf8());
        }
    }
    }
}

QSqlError ErrorOf(PGconn *conn, PGresult *result)
{
    // As the driver words it: the server's message and its state code, which is the native code.
    QString message = QString::fromUtf8(PQerrorMessage(conn));
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    if (state)
        message += QStringLiteral("(%1)").arg(QLatin1String(state));
    return QSqlError(QStringLiteral("QPSQL: Unable to create query"), message, QSqlError::StatementError,
                     state ? QString::fromLatin1(state) : QString());
}

QSqlError Closed()
{
    return QSqlError(QStringLiteral("QPSQL: Unable to create query"), QStringLiteral("the connection is closed"),
                     QSqlError::ConnectionError);
}

// Whether result's rows have the columns already read, so that they need not be read again.
bool SameColumns(const PGresult *result, const PgColumns &columns)
{
    const int n = PQnfields(result);
    if (size_t(n) != columns.types.size())
        return false;
    for (int c = 0; c < n; ++c) {
        if (PQftype(result, c) != columns.types[size_t(c)] || columns.names[size_t(c)] != PQfname(result, c))
            return false;
    }
    return true;
}

// Takes result's rows (or count) and, when none are known yet, its columns; owns result.
bool Read(PGconn *conn, PGresult *result, PgColumns *columns, PgPrepared::Result *out, QSqlError *error)
{
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_TUPLES_OK) {
        out->select = true;
        const int n = PQnfields(result);
        if (columns->types.empty() && n > 0) {
            for (int c = 0; c < n; ++c) {
                columns->types.push_back(PQftype(result, c));
                columns->names.emplace_back(PQfname(result, c));
                columns->record.append(
                    QSqlField(QString::fromUtf8(columns->names.back()), TypeOf(columns->types.back())));
            }
            out->newColumns = true;
        }
        out->rows = std::make_unique<PgRows>(result);
        return true;
    }
    if (status == PGRES_COMMAND_OK)
        out->affected = int(std::strtol(PQcmdTuples(result), nullptr, 10));
    else
        *error = ErrorOf(conn, result);
    PQclear(result);
    return status == PGRES_COMMAND_OK;
}

} // namespace

PgRows::~PgRows() { PQclear(m_result); }

int PgRows::Count() const { return PQntuples(m_result); }

QByteArrayView PgRows::Bytes(int row, int column) const
{
    return QByteArrayView(PQgetvalue(m_result, row, column), PQgetlength(m_result, row, column));
}

QVariant PgRows::Value(int row, int column) const
{
    const Oid type = PQftype(m_result, column);
    return PQgetisnull(m_result, row, column) ? QVariant(TypeOf(type)) : ValueOf(PQgetvalue(m_result, row, column), type);
}

bool PgPrepared::Handles(const QSqlDriver *driver) { return Handle(driver) != nullptr; }

std::unique_ptr<PgPrepared> PgPrepared::Make(const QSqlDatabase &db, const QString &text, QSqlError *error)
{
    *error = QSqlError();
    PGconn *conn = Handle(db.driver());
    if (!conn)
        return nullptr;
    QByteArray name = "zorva_" + QByteArray::number(++names);
    PGresult *result = PQprepare(conn, name.constData(), Numbered(text).constData(), 0, nullptr);
    const bool ok = result && PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!ok)
        *error = ErrorOf(conn, result);
    PQclear(result);
    if (!ok)
        return nullptr;
    return std::unique_ptr<PgPrepared>(new PgPrepared(db.driver(), std::move(name)));
}

PgPrepared::~PgPrepared()
{
    if (PGconn *conn = Handle(m_driver))
        PQclear(PQexec(conn, ("DEALLOCATE " + m_name).constData()));
}

bool PgPrepared::Run(const QVariantList &values, Result *out, QSqlError *error)
{
    *out = Result{};
    PGconn *conn = Handle(m_driver);
    if (!conn) {
        *error = Closed();
        return false;
    }
    // Every value's text in one buffer, each ended by a NUL; a NULL is a null pointer.
    m_texts.resize(0); // keeps its room
    QVarLengthArray<qsizetype, 8> starts(values.size(), -1);
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (values.at(i).isNull())
            continue;
        starts[i] = m_texts.size();
        AppendText(&m_texts, values.at(i));
        m_texts.append('\0');
    }
    QVarLengthArray<const char *, 8> pointers(values.size());
    for (qsizetype i = 0; i < starts.size(); ++i)
        pointers[i] = starts[i] < 0 ? nullptr : m_texts.constData() + starts[i];
    PGresult *result =
        PQexecPrepared(conn, m_name.constData(), int(values.size()), pointers.data(), nullptr, nullptr, 0);
    return Read(conn, result, &m_columns, out, error);
}

bool PgPrepared::RunText(const QSqlDriver *driver, const QString &text, Result *out, PgColumns *columns,
                         QSqlError *error)
{
    *out = Result{};
    PGconn *conn = Handle(driver);
    if (!conn) {
        *error = Closed();
        return false;
    }
    PGresult *result = PQexec(conn, text.toUtf8().constData());
    if (result && PQresultStatus(result) == PGRES_TUPLES_OK && !SameColumns(result, *columns))
        *columns = PgColumns{};
    return Read(conn, result, columns, out, error);
}
