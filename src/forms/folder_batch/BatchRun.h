#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class DataObject;

// Checks a list of folders out to one party, or back in, where each folder's present state
// allows it. It has no window: the batch window hands it the rows above its entry row and removes
// each row the run reports as changed.
class BatchRun
{
public:
    struct Row
    {
        double year = 0;     // the cells' numbers, bound as such
        QString type;
        double sequence = 0;
        QString holder;      // the "Checked Out" cell: the party logged for a check-in
    };
    struct Settings
    {
        QString action; // "*OUT", "*IN" or empty
        QString party;  // as the box holds it, blanks included
        QString user;
        bool logAuto = false;
        bool logManual = false;
    };

    BatchRun(DataObject *folders, Settings settings);

    // Goes through rows from the last to the first; changed(i) is called for each row whose
    // folder was checked out or in, at once, so a failure later leaves it changed. Returns the
    // count. Stops at the first data error. progress(done, total) comes before each row. Where
    // logging is on, each change and its log row are committed together; logging failures are
    // told in one box. Why() then tells, for each row index, why that row was passed over.
    int Run(const QList<Row> &rows, const std::function<void(qsizetype index)> &changed,
               const std::function<void(qsizetype done, qsizetype total)> &progress = {});
    bool Failed() const { return m_failed; }
    // Empty for a row that was changed or not reached.
    QString Why(qsizetype index) const { return m_why.value(index); }

private:
    QPointer<DataObject> m_folders;
    Settings m_settings;
    QString m_today;
    bool m_failed = false;
    QStringList m_why;
};
