// zorva-test-clerk: one clerk at one host, for the concurrency test. Runs a docket check-out or a
// batch check-out (or check-in) against the court database as the windows run them, with logging
// on, and prints what the run reported.
//
//   zorva-test-clerk [--database URL] [--attempts N] USER docket YYYY-MM-DD
//   zorva-test-clerk [--database URL] [--attempts N] USER batch OUT|IN PARTY CASE[=HOLDER]...
//
// Without --database, ZORVA_DATABASE names the court. Prints READY once its connections are
// open and waits for a line on standard input, so that every clerk starts at the same moment;
// then one tab-separated line per event:
//   ATTEMPT n                    a run begins (a clerk whose run failed runs it again)
//   VISIT year type seq party    the docket got through this hearing / the batch is at this row
//   CHANGED year type seq OUT|IN party   the batch reports this folder changed
//   ERROR year type seq number text      a data error, at this case ("-" when none)
//   MESSAGE title text           a message box, answered OK
//   COUNT n                      the count the run returned
//   END
#include "forms/folder_batch/BatchRun.h"
#include "forms/folder_docket/DocketRun.h"
#include "logwriter/FolderLogWriter.h"
#include "records/CaseKey.h"
#include "records/Connection.h"
#include "records/DataObject.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

void Say(QStringList fields)
{
    for (QString &f : fields)
        f.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\t'), QLatin1Char(' '));
    std::fputs(qPrintable(fields.join(QLatin1Char('\t')) + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

QStringList KeyFields(const QVariant &year, const QVariant &type, const QVariant &sequence)
{
    if (year.isNull())
        return {QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")};
    return {year.toString(), type.toString().trimmed(), sequence.toString()};
}

// A logging failure is told in a message box; the clerk reads it and answers.
void AnswerBoxes(QTimer &poll)
{
    QObject::connect(&poll, &QTimer::timeout, [] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(w);
            if (!box || !box->isVisible() || box->property("answered").toBool())
                continue;
            box->setProperty("answered", true);
            Say({QStringLiteral("MESSAGE"), box->windowTitle(), box->text()});
            box->accept();
        }
    });
    poll.start(5);
}

bool Docket(const QString &user, const QDate &date)
{
    DocketSelection selection;
    selection.hearingDate = date;
    selection.action = QStringLiteral("*OUT");
    DocketRun run(selection, user, true, false);
    const auto hearing = [&run] {
        DataObject *h = run.adoHRGDTA();
        return KeyFields(h->Field(QStringLiteral("HRGYER")), h->Field(QStringLiteral("HRGTYP")),
                         h->Field(QStringLiteral("HRGSEQ")));
    };
    for (DataObject *data : {run.adoHRGDTA(), run.adoMASTER(), run.adoFILCHK()})
        QObject::connect(data, &DataObject::Error, [&hearing](qint32 number, const QString &text) {
            Say(QStringList{QStringLiteral("ERROR")} + hearing() +
                QStringList{QString::number(number), text});
        });
    const int count = run.Run([&](qsizetype, qsizetype) {
        // Progress follows the hearing that failed too; the run stops after it.
        if (run.Failed())
            return;
        Say(QStringList{QStringLiteral("VISIT")} + hearing() +
            QStringList{run.adoHRGDTA()->Field(QStringLiteral("HRGJDG")).toString()});
    });
    Say({QStringLiteral("COUNT"), QString::number(count)});
    const bool ok = !run.Failed();
    run.Close();
    return ok;
}

bool Batch(const QString &user, const QString &action, const QString &party, QList<BatchRun::Row> &rows)
{
    DataObject folders;
    qsizetype at = -1;
    const auto key = [&rows](qsizetype i) {
        return i < 0 ? KeyFields({}, {}, {})
                     : KeyFields(rows.at(i).year, rows.at(i).type, rows.at(i).sequence);
    };
    QObject::connect(&folders, &DataObject::Error, [&](qint32 number, const QString &text) {
        Say(QStringList{QStringLiteral("ERROR")} + key(at) + QStringList{QString::number(number), text});
    });
    BatchRun run(&folders, {QStringLiteral("*") + action, party, user, true, false});
    QList<qsizetype> changed;
    const int count = run.Run(
        rows,
        [&](qsizetype i) {
            changed << i;
            Say(QStringList{QStringLiteral("CHANGED")} + key(i) +
                QStringList{action, action == QLatin1String("OUT") ? party : rows.at(i).holder});
        },
        [&](qsizetype done, qsizetype total) {
            at = total - 1 - done;
            Say(QStringList{QStringLiteral("VISIT")} + key(at) + QStringList{party});
        });
    Say({QStringLiteral("COUNT"), QString::number(count)});
    // As the window removes them from its grid: a second run goes over what is left.
    std::sort(changed.begin(), changed.end(), std::greater<>());
    for (qsizetype i : changed)
        rows.removeAt(i);
    return !run.Failed();
}

int Usage()
{
    std::fputs(
        "usage: zorva-test-clerk [--database URL] [--attempts N] USER docket YYYY-MM-DD\n"
        "       zorva-test-clerk [--database URL] [--attempts N] USER batch OUT|IN PARTY CASE[=HOLDER]...\n",
        stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int attempts = 1;
    while (args.size() >= 2 && args.first().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        const QString value = args.takeFirst();
        if (option == QLatin1String("--database"))
            Connection::Use(value, QStringLiteral("the --database option"));
        else if (option == QLatin1String("--attempts"))
            attempts = qMax(1, value.toInt());
        else
            return Usage();
    }
    if (args.size() < 3)
        return Usage();
    const QString user = args.takeFirst();
    const QString kind = args.takeFirst();

    QDate date;
    QString action, party;
    QList<BatchRun::Row> rows;
    if (kind == QLatin1String("docket")) {
        date = QDate::fromString(args.first(), Qt::ISODate);
        if (!date.isValid())
            return Usage();
    } else if (kind == QLatin1String("batch") && args.size() >= 3) {
        action = args.takeFirst();
        party = args.takeFirst();
        for (const QString &c : args) {
            const std::optional<CaseKey> key = CaseKey::Parse(c.section(QLatin1Char('='), 0, 0));
            if (!key || (action != QLatin1String("OUT") && action != QLatin1String("IN")))
                return Usage();
            rows.append(
                {double(key->year), key->type, double(key->sequence), c.section(QLatin1Char('='), 1)});
        }
    } else {
        return Usage();
    }

    // Both connections open before the start signal, so that connecting does not stagger the start.
    for (const QString &role : {QStringLiteral("data"), FolderLogWriter::Role}) {
        QString error;
        if (!Connection::Database(role, &error).isValid()) {
            Say({QStringLiteral("ERROR"), QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                 QStringLiteral("-1"), error});
            return 3;
        }
    }
    QTimer poll;
    AnswerBoxes(poll);
    Say({QStringLiteral("READY")});
    std::string go;
    std::getline(std::cin, go);

    for (int attempt = 1; attempt <= attempts; ++attempt) {
        Say({QStringLiteral("ATTEMPT"), QString::number(attempt)});
        const bool ok =
            kind == QLatin1String("docket") ? Docket(user, date) : Batch(user, action, party, rows);
        if (ok)
            break;
    }
    Say({QStringLiteral("END")});
    Connection::CloseAll();
    return 0;
}
