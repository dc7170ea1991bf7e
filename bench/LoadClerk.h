#pragma once

#include "BoxAnswerer.h"
#include "LoadJournal.h"

#include <QDate>
#include <QFile>
#include <QRandomGenerator>

class QWidget;

// One clerk of the load test, in a process of its own: for a fixed time, with a person's pauses
// (0.2 to 1 s) between steps, the editor's Save or Delete on a hot folder (the real window,
// opened through clsFolder and driven offscreen), a batch check-out or check-in of a few
// scanned hot folders (the real batch window), or a docket run of one judge's hot folders on
// the day (DocketRun, as the docket window starts it). Each action and what its window showed
// goes to the journal as it ends.
class LoadClerk
{
public:
    struct Options
    {
        QString user;
        int seconds = 30;
        quint32 seed = 1;
        int hotFolders = 48;
        QDate day;
        QString journal;
    };

    explicit LoadClerk(Options options);
    // 0 when every action ended, else 1 (the journal says where).
    int Run();

private:
    void Think();
    const LoadJournal::Folder &Pick();
    LoadJournal::Action Editor();
    void EditorAct(QWidget *window, LoadJournal::Action *a);
    LoadJournal::Action Batch();
    double Scan(QWidget *window, const LoadJournal::Folder &folder, QString *holder);
    LoadJournal::Action Docket();
    static QString Outcome(const QStringList &boxes);

    Options m_options;
    QList<LoadJournal::Folder> m_folders;
    QRandomGenerator m_random;
    BoxAnswerer m_boxes;
    QFile m_journal;
    int m_actions = 0;
};
