#include "LoadClerk.h"

#include "clsFolder.h"
#include "forms/folder_docket/DocketRun.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

constexpr int WindowBoundMs = 60000; // a window not done by then is a hang

QWidget *Visible(const char *name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

// Leaves a window whose action is done or refused, without the close question.
void Leave(QWidget *window, const char *action)
{
    if (!window || !window->isVisible())
        return;
    window->findChild<QPushButton *>(QLatin1String(action))->setEnabled(false);
    window->close();
}

void Click(QWidget *window, const char *name)
{
    QTest::mouseClick(window->findChild<QAbstractButton *>(QLatin1String(name)), Qt::LeftButton,
                      Qt::NoModifier, QPoint(5, 5));
}

void Type(QWidget *window, const char *box, const QString &text)
{
    auto *edit = window->findChild<QLineEdit *>(QLatin1String(box));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

} // namespace

LoadClerk::LoadClerk(Options options)
    : m_options(std::move(options)), m_folders(LoadJournal::HotFolders(m_options.hotFolders)),
      m_random(m_options.seed), m_journal(m_options.journal)
{}

int LoadClerk::Run()
{
    if (!m_journal.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return 1;
    QElapsedTimer clock;
    clock.start();
    bool hung = false;
    while (!hung && clock.elapsed() < m_options.seconds * 1000LL) {
        Think();
        const double pick = m_random.generateDouble();
        const double at = clock.nsecsElapsed() / 1e6;
        LoadJournal::Action a = pick < 0.6 ? Editor() : pick < 0.9 ? Batch() : Docket();
        a.at = at;
        m_journal.write((LoadJournal::Line(a) + QLatin1Char('\n')).toUtf8());
        m_journal.flush();
        hung = a.outcome == QLatin1String("hang");
    }
    return hung ? 1 : 0;
}

void LoadClerk::Think()
{
    QTest::qWait(200 + int(m_random.bounded(801)));
}

const LoadJournal::Folder &LoadClerk::Pick()
{
    return m_folders.at(int(m_random.bounded(qsizetype(m_folders.size()))));
}

QString LoadClerk::Outcome(const QStringList &boxes)
{
    for (const QString &box : boxes) {
        if (box.startsWith(QLatin1String("Folder Changed:")))
            return QStringLiteral("refused");
        if (box.startsWith(QLatin1String("Data Error:")))
            return QStringLiteral("error");
    }
    return QStringLiteral("wrote");
}

LoadJournal::Action LoadClerk::Editor()
{
    const LoadJournal::Folder &folder = Pick();
    LoadJournal::Action a;
    a.key = folder.Key();
    a.outcome = QStringLiteral("hang");
    bool acting = false;
    QTimer poll, watchdog;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *w = Visible("frmFolderEdit");
        if (!w || acting)
            return;
        acting = true;
        poll.stop();
        EditorAct(w, &a);
    });
    // A window that never comes, or never goes, ends the modal call: the clerk is stuck.
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            w->hide();
    });
    poll.start(5);
    watchdog.start(WindowBoundMs);
    m_boxes.Start();
    clsFolder().Edit(folder.year, folder.type, folder.sequence, m_options.user);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!watchdog.isActive()) {
        a.outcome = QStringLiteral("hang");
    } else if (!acting) {
        // The window closed before the clerk could act: a data error on opening it.
        a.kind = QStringLiteral("open");
        a.boxes = m_boxes.Boxes();
        a.outcome = QStringLiteral("error");
    }
    return a;
}

void LoadClerk::EditorAct(QWidget *w, LoadJournal::Action *a)
{
    w->activateWindow();
    a->shownOnLoan = w->findChild<QLabel *>(QStringLiteral("lblStatus"))->text() ==
                     QLatin1String("This file is currently on loan.");
    if (a->shownOnLoan) {
        a->shownParty = w->findChild<QLineEdit *>(QStringLiteral("txtFILOTO"))->text();
        a->shownUser = w->findChild<QLabel *>(QStringLiteral("lblFILUSR"))->text();
    }
    // The clerk reads the window and decides: a loan shown is ended one time in three.
    Think();
    const bool remove = a->shownOnLoan && m_random.bounded(3) == 0;
    a->kind = remove ? QStringLiteral("delete") : QStringLiteral("save");
    if (!remove) {
        a->party =
            QStringLiteral("E%1-%2").arg(m_options.user.right(2)).arg(++m_actions, 5, 10, QLatin1Char('0'));
        Type(w, "txtFILOTO", a->party);
    }
    QPointer<QWidget> window = w;
    m_boxes.Start();
    QElapsedTimer clock;
    clock.start();
    Click(w, remove ? "cmdDelete" : "cmdSave");
    a->ms = m_boxes.FirstBoxMs() >= 0 ? m_boxes.FirstBoxMs() : clock.nsecsElapsed() / 1e6;
    a->boxes = m_boxes.Boxes();
    a->outcome = Outcome(a->boxes);
    // Refused, the window stays with the folder as it is now; this clerk leaves it.
    Leave(window, "cmdSave");
}

double LoadClerk::Scan(QWidget *w, const LoadJournal::Folder &folder, QString *holder)
{
    // A scanner's keys, a few milliseconds apart, then Enter; timed, as the batch window's own
    // benchmark times a lookup, from the sequence's last digit (the case is complete then) until
    // the row shows the case's title.
    static quint64 stamp = 1000000;
    stamp += 100000;
    QAbstractItemModel *model = w->findChild<QTableView *>()->model();
    const int row = model->rowCount() - 1;
    const QString text = QStringLiteral("%1%2%3").arg(folder.year).arg(folder.type).arg(folder.sequence);
    QElapsedTimer clock;
    const QString keys = text + QLatin1Char('\r');
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QChar ch = keys.at(i);
        const bool enter = ch == QLatin1Char('\r');
        if (i == keys.size() - 2)
            clock.start();
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, enter ? Qt::Key_Return : Qt::Key(ch.toUpper().unicode()), Qt::NoModifier,
                          QString(ch));
            key.setTimestamp(stamp);
            QWidget *focus = w->focusWidget() ? w->focusWidget() : w;
            QApplication::sendEvent(focus, &key);
        }
        stamp += 5;
    }
    while (model->index(row, 3).data().toString().isEmpty() && clock.elapsed() < WindowBoundMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = clock.nsecsElapsed() / 1e6;
    QCoreApplication::processEvents(); // painted
    *holder = model->index(row, 4).data().toString();
    return model->index(row, 3).data().toString().isEmpty() ? -1 : ms;
}

LoadJournal::Action LoadClerk::Batch()
{
    const bool in = m_random.bounded(2) == 0;
    LoadJournal::Action a;
    a.kind = in ? QStringLiteral("batch in") : QStringLiteral("batch out");
    a.outcome = QStringLiteral("hang");
    clsFolder().EditBatch(m_options.user);
    QPointer<QWidget> w = Visible("frmFolderBatch");
    if (!w)
        return a;
    w->activateWindow();
    // Offscreen nothing activates a window by itself; the keys go to its focus either way.
    (void)QTest::qWaitForWindowActive(w);
    w->findChild<QWidget *>(QStringLiteral("grd"))->setFocus();

    // Two to five different folders, from the same hot set as every other clerk's.
    QList<int> picked;
    const int rows = 2 + int(m_random.bounded(4));
    while (picked.size() < rows) {
        const int i = int(m_random.bounded(qsizetype(m_folders.size())));
        if (!picked.contains(i))
            picked << i;
    }
    for (int i : picked) {
        Think();
        QString holder;
        const double ms = Scan(w, m_folders.at(i), &holder);
        if (ms < 0) {
            Leave(w, "cmdRun");
            return a; // the lookup never came
        }
        a.lookups << ms;
        a.rows.append({m_folders.at(i).Key(), holder, false});
    }
    Click(w, in ? "optAction_1" : "optAction_0");
    if (!in) {
        a.party =
            QStringLiteral("B%1-%2").arg(m_options.user.right(2)).arg(++m_actions, 5, 10, QLatin1Char('0'));
        Type(w, "txtCheckOutTo", a.party);
    }
    Think();
    m_boxes.Start();
    QElapsedTimer clock;
    clock.start();
    Click(w, "cmdRun");
    a.ms = m_boxes.FirstBoxMs() >= 0 ? m_boxes.FirstBoxMs() : clock.nsecsElapsed() / 1e6;
    a.boxes = m_boxes.Boxes();
    a.outcome = Outcome(a.boxes);
    if (w) {
        // The rows still listed are the ones the run did not change.
        QAbstractItemModel *model = w->findChild<QTableView *>()->model();
        QStringList left;
        for (int r = 0; r < model->rowCount(); ++r)
            left << QStringLiteral("%1 %2 %3")
                        .arg(model->index(r, 0).data().toString(),
                             model->index(r, 1).data().toString().trimmed(),
                             QString::number(model->index(r, 2).data().toInt()));
        for (LoadJournal::Row &row : a.rows) {
            row.changed = !left.contains(row.key);
            a.count += row.changed;
        }
    }
    Leave(w, "cmdRun");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return a;
}

LoadJournal::Action LoadClerk::Docket()
{
    static const QStringList judges{QStringLiteral("SMI"), QStringLiteral("JON"), QStringLiteral("GAR"),
                                    QStringLiteral("ALV")};
    const bool in = m_random.bounded(2) == 0;
    LoadJournal::Action a;
    a.kind = in ? QStringLiteral("docket in") : QStringLiteral("docket out");
    DocketSelection selection;
    selection.hearingDate = m_options.day;
    selection.judge = judges.at(int(m_random.bounded(qsizetype(judges.size()))));
    selection.party = selection.judge;
    selection.action = in ? QStringLiteral("*IN") : QStringLiteral("*OUT");
    a.party = selection.judge;
    DocketRun run(selection, m_options.user, true, false);
    QStringList errors;
    for (DataObject *data : {run.adoHRGDTA(), run.adoMASTER(), run.adoFILCHK()})
        QObject::connect(data, &DataObject::Error, [&errors](qint32, const QString &text) {
            errors << QStringLiteral("Data Error: ") + text;
        });
    m_boxes.Start();
    QElapsedTimer clock;
    clock.start();
    a.count = run.Run();
    a.ms = clock.nsecsElapsed() / 1e6;
    run.Close();
    a.boxes = errors + m_boxes.Boxes();
    a.outcome = Outcome(a.boxes);
    return a;
}
