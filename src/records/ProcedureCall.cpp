#include "ProcedureCall.h"

#include "Connection.h"
#include "ServerPrograms.h"
#include "StatementTrace.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// The court's own server runs the program itself: the call text goes through as written, inputs
// bound in, outputs read back from their binds.
bool CallOnServer(QSqlDatabase &db, const QString &text, QList<ProcedureCall::Parameter> &params, QString *error)
{
    QSqlQuery q(db);
    if (!q.prepare(text)) {
        *error = Connection::FailureText(db, q.lastError());
        return false;
    }
    for (int i = 0; i < params.size(); ++i) {
        const ProcedureCall::Parameter &p = params.at(i);
        if (p.direction == ProcedureCall::adParamOutput) {
            // The driver writes an output into the buffer the bind gives it: one of full size.
            const QVariant place = p.type == ProcedureCall::adChar ? QVariant(QString(p.size, QLatin1Char(' ')))
                                                                    : QVariant(0);
            q.bindValue(i, place, QSql::Out);
        } else {
            q.bindValue(i, StatementTrace::ForBinding(p.value), QSql::In);
        }
    }
    if (!q.exec()) {
        *error = Connection::FailureText(db, q.lastError());
        Connection::CheckAfterFailure(db);
        return false;
    }
    for (int i = 0; i < params.size(); ++i) {
        if (params.at(i).direction == ProcedureCall::adParamOutput)
            params[i].value = q.boundValue(i);
    }
    q.finish();
    return true;
}

} // namespace

ProcedureCall::ProcedureCall(QObject *parent) : QObject(parent) {}

void ProcedureCall::AddParameter(const QString &name, int type, int direction, int size, int scale)
{
    m_parameters.append({name, type, direction, size, scale, {}});
}

void ProcedureCall::Execute(const QVariantList &values)
{
    for (qsizetype i = 0; i < m_parameters.size(); ++i)
        m_parameters[i].value = values.value(i);
    StatementTrace::Record(m_commandText, values);

    if (m_commandText.count(QLatin1Char('?')) != m_parameters.size()) {
        emit Error(-1, QStringLiteral("The call %1 has %2 parameter markers but %3 parameters were added.")
                           .arg(m_commandText)
                           .arg(m_commandText.count(QLatin1Char('?')))
                           .arg(m_parameters.size()));
        return;
    }
    QString error;
    QSqlDatabase db = Connection::Database(m_role, &error);
    if (!db.isValid()) {
        emit Error(-1, error);
        return;
    }
    if (Connection::DialectOf(db) == Connection::Dialect::DB2) {
        if (!CallOnServer(db, m_commandText, m_parameters, &error))
            emit Error(-1, error);
        return;
    }
    const QString name = ServerPrograms::ProgramName(m_commandText);
    const ServerPrograms::Program program = ServerPrograms::Find(name);
    if (!program) {
        emit Error(-1, QStringLiteral("The server program \"%1\" is not available on this database (call: %2).")
                           .arg(name, m_commandText));
        return;
    }
    if (!program(db, m_parameters, &error)) {
        Connection::CheckAfterFailure(db);
        emit Error(-1, error);
    }
}

QVariant ProcedureCall::Parameters(const QString &name) const
{
    for (const Parameter &p : m_parameters) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return p.value;
    }
    return {};
}
