#include "ProcedureCall.h"

#include "Connection.h"
#include "ServerPrograms.h"
#include "StatementTrace.h"

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

    const QString name = ServerPrograms::ProgramName(m_commandText);
    const ServerPrograms::Program program = ServerPrograms::Find(name);
    if (!program) {
        emit Error(-1, QStringLiteral("The server program \"%1\" is not available on this database (call: %2).")
                           .arg(name, m_commandText));
        return;
    }
    if (m_commandText.count(QLatin1Char('?')) != m_parameters.size()) {
        emit Error(-1, QStringLiteral("The call %1 has %2 parameter markers but %3 parameters were added.")
                           .arg(m_commandText)
                           .arg(m_commandText.count(QLatin1Char('?')))
                           .arg(m_parameters.size()));
        return;
    }
    QString error;
    QSqlDatabase db = Connection::Database(QStringLiteral("data"), &error);
    if (!db.isValid() || !program(db, m_parameters, &error))
        emit Error(-1, error);
}

QVariant ProcedureCall::Parameters(const QString &name) const
{
    for (const Parameter &p : m_parameters) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return p.value;
    }
    return {};
}
