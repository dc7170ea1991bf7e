#pragma once

#include <QDate>
#include <QString>

// What the clerk chose in the docket window, as its controls hold it.
struct DocketSelection
{
    QDate hearingDate;
    qint32 beginTime = 0; // hhmm as typed; 0 means no time range
    qint32 endTime = 0;
    QString judge = QStringLiteral("*ALL");
    QString room = QStringLiteral("*ALL");
    QString branch; // one character, or empty for all branches
    QString action; // "*OUT", "*IN" or empty
    QString party;  // for "*OUT" with one judge
};
