#pragma once

#include <QList>
#include <QObject>
#include <QVariant>

// A call of a server program: the command text, its parameters in order, inputs bound from an
// array and outputs read back by name. Errors follow the data objects' contract: Error is
// emitted inside the failing Execute, which then returns normally.
class ProcedureCall : public QObject
{
    Q_OBJECT
public:
    // ADO's data types and directions, as the server program's parameter list gives them.
    enum DataType : int { adDecimal = 14, adChar = 129 };
    enum ParameterDirection : int { adParamInput = 1, adParamOutput = 2 };

    struct Parameter
    {
        QString name;
        int type = adChar;
        int direction = adParamInput;
        int size = 0;
        int scale = 0;
        QVariant value;
    };

    explicit ProcedureCall(QObject *parent = nullptr);

    QString CommandText() const { return m_commandText; }
    void SetCommandText(const QString &text) { m_commandText = text; }

    // The connection role the program runs on (Connection::Database), "data" unless set.
    void SetRole(const QString &role) { m_role = role; }

    void AddParameter(const QString &name, int type, int direction, int size, int scale);
    // Binds values to the parameters in order (outputs included, as placeholders) and calls
    // the program; any rows it returns are dropped.
    void Execute(const QVariantList &values);
    // The value of the named parameter after the call; null for an unknown name.
    QVariant Parameters(const QString &name) const;

signals:
    void Error(qint32 ErrNumber, const QString &ErrDescription);

private:
    QString m_commandText;
    QString m_role = QStringLiteral("data");
    QList<Parameter> m_parameters;
};
