#pragma once

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class PgPrepared;
struct PgColumns;
class PgRows;
class QSqlQuery;
class QThread;

// Runs one statement at a time against the court database. A failure never comes back as a
// result: Error is emitted inside the failing call, which then returns normally (count 0, EOF).
class DataObject : public QObject
{
    Q_OBJECT
public:
    // Absent parameters differ from an empty list only in the trace; both bind nothing.
    using Parameters = std::optional<QVariantList>;
    // Shows an error to the user, given the window that asked (HandleError); installed by the
    // form layer, which owns the message boxes.
    using ErrorPresenter = std::function<void(QObject *window, const QString &description)>;

    // role picks the connection (Connection::Database): the windows share "data".
    explicit DataObject(QObject *parent = nullptr, const QString &role = QStringLiteral("data"));
    ~DataObject() override;

    // Runs statement (or Statement() when empty), binding params to its question marks in order.
    // Returns the rows an insert, update or delete changed; 0 after a query. The two options
    // are kept for the callers' sake and change nothing.
    qint32 Execute(const QString &statement = {}, const Parameters &params = std::nullopt, bool option1 = true,
                   bool option2 = true);

    QString Statement() const { return m_statement; }
    void SetStatement(const QString &statement) { m_statement = statement; }

    // End of the rows (ADO's EOF, a name the C library keeps as a macro).
    bool Eof() const { return m_row >= RowCount(); }
    // How many rows the last query gave.
    qsizetype RowCount() const;
    // The named column of the current row; null without a current row.
    QVariant Field(const QString &name) const;
    void MoveNext();
    void Close();

    // Reports the last error to the user on behalf of window, and to the log.
    void HandleError(QObject *window);
    qint32 LastErrorNumber() const { return m_errorNumber; }
    QString LastErrorDescription() const { return m_errorDescription; }

    static void SetErrorPresenter(ErrorPresenter presenter);

    // Raises Error for a failure met on this object's behalf (a server program called for the
    // same window), so that HandleError then reports that failure.
    void RaiseError(qint32 number, const QString &description);

signals:
    void Error(qint32 ErrNumber, const QString &ErrDescription);

private:
    // Parameterised statements run again and again (an insert per folder of a docket): their
    // prepared queries are kept, per connection, and only bound anew; so are their columns.
    struct Prepared
    {
        QString text;
        std::unique_ptr<QSqlQuery> query;
        QSqlRecord columns;
        bool haveColumns = false;
        // On PostgreSQL the statement goes through libpq's own prepared path instead of query.
        std::unique_ptr<PgPrepared> pg;
        // Tells this statement from any kept before it, at whatever address.
        quint64 id = 0;
    };
    // Makes the kept queries those of the role's current connection; false with *error filled
    // when there is none.
    bool Attach(QString *error);
    Prepared *PreparedQuery(const QString &text, QString *error);
    // Raises the failure of q (the connection looked up again, for its name in the message).
    void Fail(const QSqlError &e);
    void ForgetLiteralNames();
    // Runs a statement kept on libpq's prepared path, or (prepared null) a literal one on libpq's.
    void RunOnServer(Prepared *prepared, const QString &text, const QVariantList &values, qint32 *affected);

    QString m_role;
    std::vector<Prepared> m_prepared;
    // Literal statements, one after another through the same query object.
    std::unique_ptr<QSqlQuery> m_literal;
    // On PostgreSQL, literal statements go through libpq on m_literal's connection instead,
    // keeping the columns of the last one (null elsewhere).
    std::unique_ptr<PgColumns> m_literalColumns;
    // The server's last refusal; kept here, as an error made per statement would cost an allocation.
    QSqlError m_serverError;
    quint64 m_serial = 0;
    quint64 m_epoch = 0;
    const QThread *m_thread = nullptr;
    QString m_statement;
    QSqlRecord m_columns;
    // Names already looked up, as the caller spelled them, per kept statement (of its id; 0 for
    // the last literal one): a long list asks for the same few names on every row, and the
    // record's own search ignores case and table prefixes.
    struct Name
    {
        quint64 of;
        QString name;
        int index;
    };
    mutable std::vector<Name> m_names;
    // Whose names Field looks up: the statement last run.
    quint64 m_namesOf = 0;
    QList<QVariantList> m_rows;
    // On PostgreSQL the rows stay as libpq read them, instead of m_rows.
    std::unique_ptr<PgRows> m_pgRows;
    qsizetype m_row = 0;
    qint32 m_errorNumber = 0;
    QString m_errorDescription;
};
