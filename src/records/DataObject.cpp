#include "DataObject.h"

#include "Connection.h"
#include "PgPrepared.h"
#include "StatementTrace.h"

#include <QAtomicInteger>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <algorithm>

namespace {
DataObject::ErrorPresenter presenter;
}

DataObject::DataObject(QObject *parent, const QString &role) : QObject(parent), m_role(role) {}

DataObject::~DataObject() = default;

bool DataObject::Attach(QString *error)
{
    const QThread *thread = QThread::currentThread();
    if (m_literal && m_epoch != 0 && m_epoch == Connection::Epoch() && m_thread == thread)
        return true;
    QSqlDatabase db = Connection::Database(m_role, error);
    if (!db.isValid())
        return false;
    const quint64 serial = Connection::SerialOf(db);
    if (serial != m_serial || m_thread != thread) {
        m_prepared.clear();
        m_names.clear();
        m_literal.reset();
        m_serial = serial;
    }
    if (!m_literal) {
        m_literal = std::make_unique<QSqlQuery>(db);
        m_literal->setForwardOnly(true);
        m_literalColumns.reset(PgPrepared::Handles(db.driver()) ? new PgColumns : nullptr);
    }
    m_thread = thread;
    m_epoch = Connection::Epoch();
    return true;
}

qint32 DataObject::Execute(const QString &statement, const Parameters &params, bool, bool)
{
    const QString text = statement.isEmpty() ? m_statement : statement;
    const QVariantList values = params.value_or(QVariantList{});
    Close();
    StatementTrace::Record(text, values);

    QString error;
    if (!Attach(&error)) {
        RaiseError(-1, error);
        return 0;
    }
    // A statement with parameters is kept prepared; a literal one is sent as it is, once (one
    // round trip to a server, where preparing would take three).
    Prepared *prepared = nullptr;
    QSqlQuery *q = m_literal.get();
    bool ran = false;
    if (!values.isEmpty()) {
        prepared = PreparedQuery(text, &error);
        if (!prepared) {
            QString ignored;
            Connection::CheckAfterFailure(Connection::Database(m_role, &ignored));
            RaiseError(-1, error);
            return 0;
        }
    }
    // A kept statement's columns stay, and so do the names looked up in them.
    m_namesOf = prepared ? prepared->id : 0;
    if (prepared) {
        if (prepared->pg) {
            qint32 affected = 0;
            RunOnServer(prepared, text, values, &affected);
            return affected;
        }
        q = prepared->query.get();
        for (qsizetype i = 0; i < values.size(); ++i)
            q->bindValue(static_cast<int>(i), StatementTrace::ForBinding(values.at(i)));
        ran = q->exec();
    } else if (m_literalColumns) {
        qint32 affected = 0;
        RunOnServer(nullptr, text, values, &affected);
        return affected;
    } else {
        ForgetLiteralNames();
        ran = q->exec(text);
    }
    if (!ran) {
        const QSqlError e = q->lastError();
        q->finish();
        Fail(e);
        return 0;
    }
    qint32 affected = 0;
    if (q->isSelect()) {
        // Rows are read at once and the query finished: an open read would pin this
        // connection's snapshot and make the next write fail when another clerk has written.
        if (!prepared) {
            m_columns = q->record();
        } else {
            if (!prepared->haveColumns) {
                prepared->columns = q->record();
                prepared->haveColumns = true;
            }
            m_columns = prepared->columns;
        }
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
            QString ignored;
            RaiseError(-1, Connection::FailureText(Connection::Database(m_role, &ignored), e));
            return 0;
        }
    } else {
        affected = q->numRowsAffected();
    }
    q->finish();
    return affected;
}

void DataObject::Fail(const QSqlError &e)
{
    QString ignored;
    const QSqlDatabase db = Connection::Database(m_role, &ignored);
    Connection::CheckAfterFailure(db);
    bool numeric = false;
    const int native = e.nativeErrorCode().toInt(&numeric);
    RaiseError(numeric ? native : -1, Connection::FailureText(db, e));
}

void DataObject::RunOnServer(Prepared *prepared, const QString &text, const QVariantList &values, qint32 *affected)
{
    PgPrepared::Result result;
    bool ran = false;
    if (prepared) {
        // Values go as they are: every whole-number type is written as digits, as ForBinding binds them.
        ran = prepared->pg->Run(values, &result, &m_serverError);
    } else {
        ran = PgPrepared::RunText(m_literal->driver(), text, &result, m_literalColumns.get(), &m_serverError);
        if (!ran || result.newColumns)
            ForgetLiteralNames();
    }
    if (!ran) {
        Fail(m_serverError);
        return;
    }
    if (result.select) {
        m_columns = prepared ? prepared->pg->Columns() : m_literalColumns->record;
        m_pgRows = std::move(result.rows);
    }
    *affected = result.affected;
}

DataObject::Prepared *DataObject::PreparedQuery(const QString &text, QString *error)
{
    constexpr size_t Kept = 8;
    for (Prepared &p : m_prepared) {
        if (p.text == text)
            return &p;
    }
    QSqlDatabase db = Connection::Database(m_role, error);
    if (!db.isValid())
        return nullptr;
    static QAtomicInteger<quint64> ids = 0; // data objects of other threads make theirs too
    Prepared made{text, nullptr, {}, false, nullptr, ++ids};
    if (Connection::BackendOf(db) == Connection::Backend::PostgreSQL) {
        QSqlError e;
        made.pg = PgPrepared::Make(db, text, &e);
        if (!made.pg && e.isValid()) {
            *error = Connection::FailureText(db, e);
            return nullptr;
        }
    }
    if (!made.pg) {
        made.query = std::make_unique<QSqlQuery>(db);
        made.query->setForwardOnly(true);
        if (!made.query->prepare(text)) {
            *error = Connection::FailureText(db, made.query->lastError());
            return nullptr;
        }
    }
    if (m_prepared.size() >= Kept) {
        std::erase_if(m_names, [id = m_prepared.front().id](const Name &n) { return n.of == id; });
        m_prepared.erase(m_prepared.begin());
    }
    m_prepared.push_back(std::move(made));
    return &m_prepared.back();
}

// A literal statement's columns may differ from the last one's.
void DataObject::ForgetLiteralNames()
{
    std::erase_if(m_names, [](const Name &n) { return n.of == 0; });
}

qsizetype DataObject::RowCount() const { return m_pgRows ? m_pgRows->Count() : m_rows.size(); }

QVariant DataObject::Field(const QString &name) const
{
    if (Eof())
        return {};
    int i = -1;
    const auto seen = std::find_if(m_names.cbegin(), m_names.cend(),
                                   [&](const Name &n) { return n.of == m_namesOf && n.name == name; });
    if (seen != m_names.cend()) {
        i = seen->index;
    } else {
        i = m_columns.indexOf(name);
        m_names.push_back({m_namesOf, name, i});
    }
    if (i < 0)
        return {};
    return m_pgRows ? m_pgRows->Value(int(m_row), i) : m_rows.at(m_row).value(i);
}

void DataObject::MoveNext()
{
    if (!Eof())
        ++m_row;
}

void DataObject::Close()
{
    // The prepared queries stay: Close ends a result, not the object. An empty record shared, not
    // a shared one detached and emptied, once per statement.
    static const QSqlRecord none;
    m_columns = none;
    m_rows.clear();
    m_pgRows.reset();
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
