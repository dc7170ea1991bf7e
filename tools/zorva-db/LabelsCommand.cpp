#include "LabelsCommand.h"

#include "ConsoleText.h"
#include "LocateCommands.h"

#include "forms/folder_locate/LocateQueries.h"
#include "labels/LabelCases.h"
#include "labels/LabelPrinter.h"
#include "labels/LabelSettings.h"
#include "records/Connection.h"
#include "records/DataObject.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

namespace LabelsCommand {
namespace {

enum Exit { Ok = 0, Failed = 1, BadUsage = 2 };

const QStringList Own{"layout", "start", "dpi", "pdf", "pull-list", "holder"};
const QStringList PullOptions{"date", "begin", "end", "judge", "room", "branch"};

int Refuse(QTextStream &err, const QString &message)
{
    err << "zorva-db: " << message << "\nRun \"zorva-db --help\" for the commands." << Qt::endl;
    return BadUsage;
}

int Fail(QTextStream &err, const QString &message)
{
    err << "zorva-db: " << message << Qt::endl;
    return Failed;
}

} // namespace

std::unique_ptr<QCoreApplication> Application(int &argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "labels") == 0) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

bool Handles(const QString &command) { return command == QLatin1String("labels"); }

void AddOptions(QCommandLineParser &parser)
{
    parser.addOptions({{QStringLiteral("layout"), QStringLiteral("label stock"), QStringLiteral("sheet|roll")},
                       {QStringLiteral("start"), QStringLiteral("first free label"), QStringLiteral("N")},
                       {QStringLiteral("dpi"), QStringLiteral("printer dots per inch"), QStringLiteral("N")},
                       {QStringLiteral("pdf"), QStringLiteral("PDF file"), QStringLiteral("FILE")},
                       {QStringLiteral("pull-list"), QStringLiteral("the docket's pull list")},
                       {QStringLiteral("holder"), QStringLiteral("a holder's folders"), QStringLiteral("NAME")}});
}

bool Owns(const QString &option) { return Own.contains(option); }

bool Takes(const QString &command, const QString &option)
{
    return Handles(command) && (Own.contains(option) || option == QLatin1String("db") || PullOptions.contains(option));
}

int Run(const QStringList &args, const QCommandLineParser &parser, QTextStream &out, QTextStream &err)
{
    const std::optional<LabelLayout> layout = LabelLayout::FromName(parser.value(QStringLiteral("layout")).isEmpty()
                                                                        ? QStringLiteral("sheet")
                                                                        : parser.value(QStringLiteral("layout")));
    if (!layout)
        return Refuse(err, QStringLiteral("--layout \"%1\" is neither sheet nor roll").arg(parser.value(QStringLiteral("layout"))));
    bool numeric = true;
    const int start = parser.isSet(QStringLiteral("start")) ? parser.value(QStringLiteral("start")).toInt(&numeric) : 1;
    if (!numeric || !LabelPrinter::StartFits(*layout, start))
        return Refuse(err, layout->kind() == LabelLayout::Roll
                               ? QStringLiteral("--start is for a sheet: a roll has one label a page")
                               : QStringLiteral("--start \"%1\" is not a label of the sheet, 1 to %2")
                                     .arg(parser.value(QStringLiteral("start")))
                                     .arg(layout->PerPage()));
    const int dpi = parser.isSet(QStringLiteral("dpi")) ? parser.value(QStringLiteral("dpi")).toInt(&numeric)
                                                        : LabelPrinter::DefaultPdfDpi(*layout);
    if (!numeric || dpi < 100 || dpi > 2400)
        return Refuse(err, QStringLiteral("--dpi \"%1\" is not a printer's dots per inch, 100 to 2400")
                               .arg(parser.value(QStringLiteral("dpi"))));
    if (!parser.isSet(QStringLiteral("pdf")))
        return Refuse(err, QStringLiteral("labels needs --pdf FILE"));
    const bool pull = parser.isSet(QStringLiteral("pull-list")), holder = parser.isSet(QStringLiteral("holder"));
    if (int(pull) + int(holder) + int(!args.isEmpty()) != 1)
        return Refuse(err, QStringLiteral("labels needs case numbers, or --pull-list, or --holder NAME: one of them"));
    for (const QString &option : PullOptions)
        if (parser.isSet(option) && !pull)
            return Refuse(err, QStringLiteral("--%1 is for --pull-list").arg(option));

    QList<CaseKey> keys;
    for (const QString &arg : args) {
        const std::optional<CaseKey> key = CaseKey::Parse(arg);
        if (!key)
            return Refuse(err, QStringLiteral("\"%1\" is not a case number; write it as 2009-CV-123 or 2009CV000123").arg(arg));
        keys << *key;
    }
    DocketSelection selection;
    if (pull)
        if (const int refused = LocateCommands::PullSelection(parser, err, &selection))
            return refused;

    // Labels only read the court: without --db, the court in force, read-only too.
    Connection::Use(parser.value(QStringLiteral("db")), QStringLiteral("the --db option"), Connection::Access::ReadOnly);
    LocateQueries queries;
    QString failure;
    QObject::connect(queries.adoFILCHK(), &DataObject::Error,
                     [&failure](qint32, const QString &description) { failure = description; });
    if (pull) {
        QList<LocateQueries::Pull> pulls;
        if (!queries.PullList(selection, &pulls))
            return Fail(err, failure);
        for (const LocateQueries::Pull &p : pulls)
            if (p.key)
                keys << *p.key;
    } else if (holder) {
        QList<LocateQueries::Loan> loans;
        if (!queries.HeldBy(parser.value(QStringLiteral("holder")).trimmed().toUpper(), &loans))
            return Fail(err, failure);
        for (const LocateQueries::Loan &loan : loans)
            keys << loan.key;
    }
    out << "court: " << ConsoleText::CourtName(Connection::Current().url) << Qt::endl;
    if (keys.isEmpty())
        return Fail(err, QStringLiteral("no cases to label: nothing was written"));

    QList<FolderLabel> labels;
    QString error;
    if (!LabelCases::Titled(keys, &labels, &error))
        return Fail(err, error);
    const LabelPrinter printer(*layout, start, LabelSettings::CourtName());
    const QString path = parser.value(QStringLiteral("pdf"));
    if (!printer.WritePdf(path, labels, dpi, &error))
        return Fail(err, QStringLiteral("the labels were not written to %1: %2").arg(path, error));
    out << labels.size() << " label(s) on " << printer.PageCount(static_cast<int>(labels.size())) << " page(s), "
        << layout->Name() << (layout->kind() == LabelLayout::Sheet ? QStringLiteral(" from label %1").arg(start) : QString())
        << ", " << dpi << " dpi: " << path << Qt::endl;
    return Ok;
}

} // namespace LabelsCommand
