#include "FolderLogWriter.h"

#include "records/DataObject.h"
#include "records/Transaction.h"

#include <QDateTime>

FolderLogWriter::FolderLogWriter(QObject *parent) : QObject(parent) {}

bool FolderLogWriter::Record(qint16 year, const QString &type, qint32 sequence, bool autoMode, const QString &user,
                             const QString &loanedTo, bool checkedOut)
{
    const QString stamp = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    const QVariantList values{stamp, year, type, sequence, autoMode ? 1 : 0, user, loanedTo, checkedOut ? 1 : 0};
    // Inside the loan statement's transaction a failed row undoes only itself: the change stands.
    Transaction::Savepoint savepoint;
    DataObject log(nullptr, Role);
    bool failed = false;
    qint32 number = 0;
    QString description;
    connect(&log, &DataObject::Error, this, [&](qint32 n, const QString &d) {
        failed = true;
        number = n;
        description = d;
    });
    const qint32 rows = log.Execute(QLatin1String(InsertStatement), values);
    if (!failed) {
        savepoint.Keep();
        return rows == 1;
    }
    emit Error(number, description);
    return false;
}
