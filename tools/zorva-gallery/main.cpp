// zorva-gallery: the window controls of the ZORVA Folders component, side by side.
#include "GalleryCourt.h"
#include "GalleryWindow.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorva-gallery"));

    // Before the window: the party box's suggestions need the court it reads.
    const GalleryCourt court;
    GalleryWindow window(QStringLiteral(ZORVA_GALLERY_DATA_DIR), court.Error());
    window.show();
    return QApplication::exec();
}
