#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class DataObject;

// Looks one typed case number up in its case master and the loan table: the case's title (its
// style, for the litigant sorted first) and who holds its folder. It has no window: the batch
// window gives it its adoMASTER and writes the answer into the grid.
class BatchLookup
{
public:
    struct Result
    {
        bool found = false; // false: the master holds no such case
        QString title;      // leading blanks removed
        QString holder;     // empty when the folder is not on loan
    };

    explicit BatchLookup(DataObject *master) : m_master(master) {}

    // year and sequence as the grid cells give them: year as a number, type and sequence as text
    // (the statement binds them so); the sequence's number goes to the case style.
    Result Lookup(double year, const QString &type, const QString &sequenceText, double sequence);

    // True once a data error was raised (by the data object or the case style) since the last
    // Lookup began; its answer is then not to be used.
    bool Failed() const { return m_failed; }

    static QString Statement(const QString &type);

private:
    QPointer<DataObject> m_master;
    bool m_failed = false;
};
