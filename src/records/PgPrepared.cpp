#include "PgPrepared.h"

#include <QAtomicInteger>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlField>
#include <cstdlib>
#include <libpq-fe.h>

namespace {

// Type numbers of pg_type, for the columns the court's tables hold.
enum : Oid {
    BoolOid = 16,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    OidOid = 26,
    Float4Oid = 700,
    Float8Oid = 701,
    DateOid = 1082,
    TimestampOid = 1114,
    TimestampTzOid = 1184,
    NumericOid = 1700,
};

QAtomicInteger<quint64> names = 0;

PGconn *Handle(QSqlDriver *driver)
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
    case BoolOid:
        return QMetaType::fromType<bool>();
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
    case DateOid:
        return QMetaType::fromType<QDate>();
    case TimestampOid:
    case TimestampTzOid:
        return QMetaType::fromType<QDateTime>();
    default:
        return QMetaType::fromType<QString>();
    }
}

QVariant ValueOf(const char *text, Oid type)
{
    switch (type) {
    case BoolOid:
        return text[0] == 't';
    case Int8Oid:
        return qlonglong(std::strtoll(text, nullptr, 10));
    case Int2Oid:
    case Int4Oid:
    case OidOid:
        return int(std::strtol(text, nullptr, 10));
    case Float4Oid:
    case Float8Oid:
    case NumericOid:
        return QByteArray::fromRawData(text, int(qstrlen(text))).toDouble();
    case DateOid:
        return QDate::fromString(QLatin1String(text), Qt::ISODate);
    case TimestampOid:
    case TimestampTzOid:
        return QDateTime::fromString(QLatin1String(text), Qt::ISODateWithMs);
    default:
        return QString::fromUtf8(text);
    }
}

// A bound value as text, as the server reads a literal of the parameter's type.
QByteArray TextOf(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QDateTime:
        return v.toDateTime().toString(Qt::ISODateWithMs).toLatin1();
    case QMetaType::Double:
    case QMetaType::Float:
        // Never with an exponent: "1e+05" is no integer to the server, and the windows bind
        // case numbers as doubles.
        return QByteArray::number(v.toDouble(), 'f', QLocale::FloatingPointShortest);
    default:
        return v.toString().toUtf8();
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

} // namespace

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
        *error = QSqlError(QStringLiteral("QPSQL: Unable to create query"), QStringLiteral("the connection is closed"),
                           QSqlError::ConnectionError);
        return false;
    }
    std::vector<QByteArray> texts(values.size());
    std::vector<const char *> pointers(values.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QVariant &v = values.at(i);
        if (v.isNull())
            continue;
        texts[size_t(i)] = TextOf(v);
        pointers[size_t(i)] = texts[size_t(i)].constData();
    }
    PGresult *result = PQexecPrepared(conn, m_name.constData(), int(values.size()), pointers.data(), nullptr,
                                      nullptr, 0);
    const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
    if (status == PGRES_TUPLES_OK) {
        out->select = true;
        const int columns = PQnfields(result);
        if (m_types.empty() && columns > 0) {
            for (int c = 0; c < columns; ++c) {
                m_types.push_back(PQftype(result, c));
                m_columns.append(QSqlField(QString::fromUtf8(PQfname(result, c)), TypeOf(m_types.back())));
            }
        }
        const int rows = PQntuples(result);
        out->rows.reserve(rows);
        for (int r = 0; r < rows; ++r) {
            QVariantList row;
            row.reserve(columns);
            for (int c = 0; c < columns; ++c) {
                const Oid type = m_types[size_t(c)];
                row.append(PQgetisnull(result, r, c) ? QVariant(TypeOf(type)) : ValueOf(PQgetvalue(result, r, c), type));
            }
            out->rows.append(std::move(row));
        }
    } else if (status == PGRES_COMMAND_OK) {
        out->affected = int(std::strtol(PQcmdTuples(result), nullptr, 10));
    } else {
        *error = ErrorOf(conn, result);
    }
    PQclear(result);
    return status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK;
}
