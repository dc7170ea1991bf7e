// The component's windows as the clerk meets them, on a court of 100,000 cases: the editor, the
// docket window and the batch window, each from the component's call that opens it until it is
// shown, against a plain QDialog with the same controls opened the same way; and the batch grid's
// lookup, from the keystroke of a case's last digit until its title is shown, against the same
// two statements through the raw sqlite3 C API and a cell's text set in a plain QTableWidget.
// Real windows, drawn offscreen unless QT_QPA_PLATFORM says otherwise.
#include "BareWindows.h"
#include "BenchCourt.h"
#include "GridTyping.h"
#include "RatioReporter.h"
#include "WindowProbe.h"
#include "clsFolder.h"
#include "records/Connection.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>

namespace {

constexpr int Cases = 100000;
std::unique_ptr<BenchCourt> court;
std::unique_ptr<WindowProbe> probe;

// Settings, data and reference tables of the benchmark's own, never the user's.
void Isolate(const QTemporaryDir &home)
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath(QStringLiteral("settings")));
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    const QString tables = home.filePath(QStringLiteral("programs/" ZORVA_CLIENT_TABLES_SUBDIR "/"));
    QDir().mkpath(tables);
    for (const char *table : {"ARYTYP.XML", "ARYJDG.XML", "ARYROM.XML"}) {
        if (!QFile::copy(QStringLiteral(ZORVA_SOURCE_DIR "/data/") + QLatin1String(table), tables + QLatin1String(table)))
            throw std::runtime_error(std::string("cannot copy the reference table ") + table);
    }
    qputenv("ZORVA_PROGRAM_FILES", home.filePath(QStringLiteral("programs")).toUtf8());
}

// As a clerk leaves a window that has nothing to save: its Save or Run button is off, so no
// question comes.
void Close(QWidget *window)
{
    for (const char *name : {"cmdSave", "cmdRun"}) {
        if (auto *button = window->findChild<QPushButton *>(QLatin1String(name)))
            button->setEnabled(false);
    }
    window->close();
}

// The offscreen platform says so for every window of fixed size, hundreds of times a run.
QtMessageHandler standardHandler = nullptr;
void QuietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message != QLatin1String("This plugin does not support propagateSizeHints()"))
        standardHandler(type, context, message);
}

clsFolder &Folder()
{
    static clsFolder folder;
    return folder;
}

double Editor()
{
    return probe->Open(QStringLiteral("frmFolderEdit"), [] { Folder().Edit(2026, QStringLiteral("CF"), 100000, QStringLiteral("CLERK1")); }, Close);
}

double BareEditor()
{
    return probe->Open(QStringLiteral("bareFolderEdit"), [] { std::unique_ptr<QDialog>(BareWindows::Editor())->exec(); }, Close);
}

double Docket()
{
    return probe->Open(QStringLiteral("frmFolderDocket"), [] { Folder().UpdateBatch(QStringLiteral("CLERK1")); }, Close);
}

double BareDocket()
{
    return probe->Open(QStringLiteral("bareFolderDocket"), [] { std::unique_ptr<QDialog>(BareWindows::Docket())->exec(); }, Close);
}

double Batch()
{
    return probe->Open(QStringLiteral("frmFolderBatch"), [] { Folder().EditBatch(QStringLiteral("CLERK1")); }, Close);
}

double BareBatch()
{
    return probe->Open(QStringLiteral("bareFolderBatch"), [] {
        QDialog *d = BareWindows::Batch();
        d->setAttribute(Qt::WA_DeleteOnClose);
        d->show();
    }, Close);
}

void CheckNoBoxes()
{
    if (!probe->Boxes().isEmpty())
        throw std::runtime_error("a message box came up: " + probe->Boxes().join(QStringLiteral(" | ")).toStdString());
}

void Window(benchmark::State &state, double (*component)(), double (*bare)())
{
    // The first opening of each loads what every later one finds ready (fonts, styles, the
    // connection).
    component();
    bare();
    MeasureTimedPair(state, [] {}, component, bare);
    CheckNoBoxes();
}

void Keystroke(benchmark::State &state)
{
    // The plain grid first: the batch window, opened after it, is the active one as the clerk types.
    PlainGridLookup plain(court->File().toStdString());
    BatchGridTyping typing;
    // Both look up the same cases in the same order; the first of each is not timed.
    int typed = 0, looked = 0;
    typing.Type(TypedCase::Nth(typed++, Cases));
    plain.Lookup(TypedCase::Nth(looked++, Cases));
    MeasureTimedPair(
        state, [] {}, [&] { return typing.Type(TypedCase::Nth(typed++, Cases)); },
        [&] { return plain.Lookup(TypedCase::Nth(looked++, Cases)); });
    CheckNoBoxes();
}

void Register(const char *name, double (*component)(), double (*bare)())
{
    benchmark::RegisterBenchmark((std::string("Window/") + name).c_str(), Window, component, bare)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(51);
}

} // namespace

int main(int argc, char **argv)
{
    // The same windows wherever it runs, and none flashing on a desktop.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    standardHandler = qInstallMessageHandler(QuietPlatform);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir home;
    Isolate(home);
    court = std::make_unique<BenchCourt>(Cases);
    // The component library keeps a data layer of its own, which finds the court through the
    // environment.
    qputenv(Connection::EnvironmentVariable, (QStringLiteral("sqlite:") + court->File()).toUtf8());
    probe = std::make_unique<WindowProbe>();
    Register("editor", Editor, BareEditor);
    Register("docket", Docket, BareDocket);
    Register("batch", Batch, BareBatch);
    benchmark::RegisterBenchmark("Grid/lookup-keystroke", Keystroke)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(51);
    RatioReporter reporter(2.0);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    probe.reset();
    court.reset();
    return reporter.WithinBound() ? 0 : 1;
}
