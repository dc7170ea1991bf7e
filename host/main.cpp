// zorva-host: the demo host of the ZORVA Folders component.
#include "HostOptions.h"
#include "HostWindow.h"
#include "ScreenshotTour.h"
#include "ZorvaVersion.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

namespace {

QStringList RawArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The Program Files root that comes with this program: beside it in the build tree, under the
// prefix once installed. Used only when nobody said otherwise and it holds the client tables.
void UseOwnProgramFiles()
{
    if (!qEnvironmentVariableIsEmpty("ZORVA_PROGRAM_FILES"))
        return;
    const QDir root(QApplication::applicationDirPath() + QStringLiteral("/" ZORVA_HOST_PROGRAM_FILES));
    if (QFileInfo(root.filePath(QStringLiteral(ZORVA_CLIENT_TABLES_SUBDIR))).isDir())
        qputenv("ZORVA_PROGRAM_FILES", root.absolutePath().toUtf8());
}

} // namespace

int main(int argc, char **argv)
{
    // Read before the application object exists: that one needs a display, help does not.
    const HostOptionsResult parsed = ParseHostOptions(RawArguments(argc, argv));
    if (!parsed.options) {
        std::fprintf(stderr, "zorva-host: %s\n\n%s", qPrintable(parsed.error), qPrintable(HostUsage()));
        return 2;
    }
    const HostOptions &options = *parsed.options;
    if (options.help) {
        std::fputs(qPrintable(HostUsage()), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("zorva-host " ZORVA_VERSION);
        return 0;
    }
    // A tour needs no screen at all.
    if (!options.screenshots.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorva-host"));
    QApplication::setApplicationVersion(QStringLiteral(ZORVA_VERSION));

    // The component reads both from the environment, on every window it opens.
    if (!options.database.isEmpty()) {
        qputenv("ZORVA_DATABASE", options.database.toUtf8());
        // So that an error blames the option the clerk typed, not the environment.
        qputenv("ZORVA_DATABASE_ORIGIN", "the --database option of zorva-host");
    }
    if (!options.programFiles.isEmpty())
        qputenv("ZORVA_PROGRAM_FILES", QDir(options.programFiles).absolutePath().toUtf8());
    UseOwnProgramFiles();

    HostWindow window;
    if (!options.screenshots.isEmpty()) {
        auto *tour =
            new ScreenshotTour(&window, options.screenshots,
                               options.editCase.isEmpty() ? QStringLiteral("2009-CV-123") : options.editCase);
        QString error;
        if (!tour->Start(&error)) {
            std::fprintf(stderr, "zorva-host: --screenshots: %s\n", qPrintable(error));
            return 1;
        }
    }
    window.show();
    if (!options.editCase.isEmpty() && options.screenshots.isEmpty()) {
        window.SetCaseNumber(options.editCase);
        QTimer::singleShot(0, &window, &HostWindow::EditCase);
    }
    return QApplication::exec();
}
