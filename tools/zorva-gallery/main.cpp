// zorva-gallery: the window controls of the ZORVA Folders component, side by side.
#include "GalleryCourt.h"
#include "GalleryWindow.h"
#include "ZorvaVersion.h"

#include <QApplication>
#include <cstdio>
#include <cstring>

namespace {

const char Usage[] = R"(Usage: zorva-gallery [--help | --version]

Shows every window control of the ZORVA Folders component in one window.
)";

} // namespace

int main(int argc, char **argv)
{
    // Answered before the application object, which needs a display.
    if (argc > 1) {
        if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (argc == 2 && !std::strcmp(argv[1], "--version")) {
            std::puts("zorva-gallery " ZORVA_VERSION);
            return 0;
        }
        std::fprintf(stderr, "zorva-gallery: takes --help or --version alone\n\n%s", Usage);
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorva-gallery"));

    // Before the window: the party box's suggestions need the court it reads.
    const GalleryCourt court;
    GalleryWindow window(QStringLiteral(ZORVA_GALLERY_DATA_DIR), court.Error());
    window.show();
    return QApplication::exec();
}
