#include "DataObject.h"

#include "Connection.h"
#include "StatementTrace.h"

#include <QSqlError>
#include <QSqlQuery>
#include <optional>

namespace {
DataObject::ErrorPresenter presenter;
}

DataObject::DataObject(QObject *parent, const QString &role) : QObject(parent), m_role(role) {}

DataObject::~DataObject() = default;

qint32 DataObject::Execute(const QString &statement, const Parameters &params, bool, bool)
{
    const QString text = statement.isEmpty() ? m_statement : statement;
    const QVariantList values = params.value_or(QVariantList{});
    Close();
    StatementTrace::Record(text, values);

    QString error;
    QSqlDatabase db = Connection::Database(m_role, &error);
    if (!db.isValid()) {
        RaiseError(-1, error);
        return 0;
    }
    // A statement with parameters is kept prepared; a literal one is sent as it is, once (one
    // round trip to a server, where preparing would take three).
    std::optional<QSqlQuery> oneOff;
    QSqlQuery *q = nullptr;
    bool ran = false;
    if (!values.isEmpty()) {
        q = PreparedQuery(db, text, &error);
        if (!q) {
            Connection::CheckAfterFailure(db);
            RaiseError(-1, error);
            return 0;
        }
        for (qsizetype i = 0; i < values.size(); ++i)
            q->bindValue(static_cast<int>(i), StatementTrace::ForBinding(values.at(i)));
        ran = q->exec();
    } else {
        oneOff.emplace(db);
        oneOff->setForwardOnly(true);
        q = &*oneOff;
        ran = q->exec(text);
    }
    if (!ran) {
        const QSqlError e = q->lastError();
        q->finish();
        Connection::CheckAfterFailure(db);
        bool numeric = false;
        const int native = e.nativeErrorCode().toInt(&numeric);
        RaiseError(numeric ? native : -1, Connection::FailureText(db, e));
        return 0;
    }
    qint32 affected = 0;
    if (q->isSelect()) {
        // Rows are read at once and the query finished: an open read would pin this
        // connection's snapshot and make the next write fail when another clerk has written.
        m_columns = q->record();
        const int n = m_columns.count();
        while (q->next()) {
            QVariantList row;
            row.reserve(n);
            for (int i = 0; i < n; ++i)
                row.append(q->value(i));
            m_rows.append(std::move(row));
        }
        if (q->lastError().isValid()) {
            const QSqlError e = q->lastError();
            q->finish();
            Close();
            RaiseError(-1, Connection::FailureText(db, e));
            return 0;
        }
    } else {
        affected = q->numRowsAffected();
    }
    q->finish();
    return affected;
}

QSqlQuery *DataObject::PreparedQuery(const QSqlDatabase &db, const QString &text, QString *error)
{
    constexpr size_t Kept = 8;
    const quint64 serial = Connection::SerialOf(db);
    if (serial != m_serial) {
        m_prepared.clear();
        m_serial = serial;
    }
    for (Prepared &p : m_prepared) {
        if (p.text == text)
            return p.query.get();
    }
    auto query = std::make_unique<QSqlQuery>(db);
    query->setForwardOnly(true);
    if (!query->prepare(text)) {
        *error = Connection::FailureText(db, query->lastError());
        return nullptr;
    }
    if (m_prepared.size() >= Kept)
        m_prepared.erase(m_prepared.begin());
    m_prepared.push_back({text, std::move(query)});
    return m_prepared.back().query.get();
}

QVariant DataObject::Field(const QString &name) const
{
    if (Eof())
        return {};
    const int i = m_columns.indexOf(name);
    return i < 0 ? QVariant() : m_rows.at(m_row).value(i);
}

void DataObject::MoveNext()
{
    if (!Eof())
        ++m_row;
}

void DataObject::Close()
{
    // The prepared queries stay: Close ends a result, not the object.
    m_columns.clear();
    m_rows.clear();
    m_row = 0;
}

void DataObject::HandleError(QObject *window)
{
    qCWarning(lcData).noquote() << "Data error" << m_errorNumber << m_errorDescription;
    if (presenter)
        presenter(window, m_errorDescription);
}

void DataObject::SetErrorPresenter(ErrorPresenter p) { presenter = std::move(p); }

void DataObject::RaiseError(qint32 number, const QString &description)
{
    m_errorNumber = number;
    m_errorDescription = description;
    emit Error(number, description);
}
