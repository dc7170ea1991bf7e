#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <memory>
#include <vector>

class QSqlQuery;

// Statements prepared once per connection and kept with it, for callers that have no object of
// their own to keep them in (the case style's stand-in, called afresh for every case). They go
// when the connection is closed.
class KeptStatements : public QObject
{
    Q_OBJECT
public:
    ~KeptStatements() override;

    // The connection's prepared query for text, prepared now if it is the first use; null with
    // *error filled when the statement cannot be prepared.
    static QSqlQuery *Of(const QSqlDatabase &db, const QString &text, QString *error);
    // Finalizes the connection's kept statements: called before it is closed.
    static void Drop(const QSqlDatabase &db);

private:
    explicit KeptStatements(QObject *driver);

    struct Kept
    {
        QString text;
        std::unique_ptr<QSqlQuery> query;
    };
    std::vector<Kept> m_kept;
};
