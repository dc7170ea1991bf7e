#include "FolderLogWriter.h"

#include "records/Connection.h"
#include "records/DataObject.h"

#include <QDateTime>

namespace {

// The number of the log connection in force, or 0 when it cannot be opened.
quint64 LogSession()
{
    QString error;
    return Connection::SerialOf(Connection::Database(FolderLogWriter::Role, &error));
}

} // namespace

FolderLogWriter::FolderLogWriter(QObject *parent) : QObject(parent) {}

bool FolderLogWriter::Record(qint16 year, const QString &type, qint32 sequence, bool autoMode, const QString &user,
                             const QString &loanedTo, bool checkedOut)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    const QVariantList values{stamp, year, type, sequence, autoMode ? 1 : 0, user, loanedTo, checkedOut ? 1 : 0};
    qint32 number = 0;
    QString description;
    // The log connection may be one the server has ended since its last row (a restart while the
    // windows' own connection was found lost and reopened): the failure marks it lost, and the row
    // goes once more on a session opened anew. Any other failure is reported as it is.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const quint64 session = LogSession();
        DataObject log(nullptr, Role);
        bool failed = false;
        connect(&log, &DataObject::Error, this, [&](qint32 n, const QString &d) {
            failed = true;
            number = n;
            description = d;
        });
        const qint32 rows = log.Execute(QLatin1String(InsertStatement), values);
        if (!failed)
            return rows == 1;
        const quint64 reopened = LogSession();
        if (session == 0 || reopened == 0 || reopened == session)
            break;
    }
    emit Error(number, description);
    return false;
}
