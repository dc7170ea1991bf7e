// zorva-host: the demo host of the ZORVA Folders component.
#include "HostOptions.h"
#include "HostWindow.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorva-host"));

    const HostOptionsResult parsed = ParseHostOptions(QApplication::arguments());
    if (!parsed.options) {
        std::fprintf(stderr, "zorva-host: %s\n\n%s", qPrintable(parsed.error), qPrintable(HostUsage()));
        return 2;
    }
    const HostOptions &options = *parsed.options;
    if (options.help) {
        std::fputs(qPrintable(HostUsage()), stdout);
        return 0;
    }

    // The component reads both from the environment, on every window it opens.
    if (!options.database.isEmpty()) {
        qputenv("ZORVA_DATABASE", options.database.toUtf8());
        // So that an error blames the option the clerk typed, not the environment.
        qputenv("ZORVA_DATABASE_ORIGIN", "the --database option of zorva-host");
    }
    if (!options.programFiles.isEmpty())
        qputenv("ZORVA_PROGRAM_FILES", QDir(options.programFiles).absolutePath().toUtf8());

    HostWindow window;
    window.show();
    if (!options.editCase.isEmpty()) {
        window.SetCaseNumber(options.editCase);
        QTimer::singleShot(0, &window, &HostWindow::EditCase);
    }
    return QApplication::exec();
}
