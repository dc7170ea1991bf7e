#include "FolderLogWriter.h"

#include "records/DataObject.h"

#include <QDateTime>

FolderLogWriter::FolderLogWriter(QObject *parent) : QObject(parent) {}

bool FolderLogWriter::Record(qint16 year, const QString &type, qint32 sequence, bool autoMode, const QString &user,
                             const QString &loanedTo, bool checkedOut)
{
    DataObject log(nullptr, Role);
    bool failed = false;
    connect(&log, &DataObject::Error, this, [&](qint32 number, const QString &description) {
        failed = true;
        emit Error(number, description);
    });
    const QString stamp = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    const qint32 rows = log.Execute(QLatin1String(InsertStatement),
                                    QVariantList{stamp, year, type, sequence, autoMode ? 1 : 0, user, loanedTo,
                                                 checkedOut ? 1 : 0});
    return !failed && rows == 1;
}
