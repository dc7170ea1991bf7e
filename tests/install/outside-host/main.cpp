// Opens the editor and the docket window through the installed component, as a host of the
// suite does, and prints the caption of every window that comes up; each is closed at once.
// A message box among them means the component missed something of its install.
#include <clsFolder.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int boxes = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&boxes] {
        QWidget *window = QApplication::activeModalWidget();
        if (!window)
            return;
        if (auto *box = qobject_cast<QMessageBox *>(window)) {
            ++boxes;
            std::printf("box: %s\n", qPrintable(box->text()));
        } else {
            std::printf("window: %s\n", qPrintable(window->windowTitle()));
        }
        std::fflush(stdout);
        window->hide();
    });
    poll.start(50);

    clsFolder folder;
    folder.Edit(2009, QStringLiteral("CV"), 123, QStringLiteral("CLERK1"));
    folder.UpdateBatch(QStringLiteral("CLERK1"));
    return boxes == 0 ? 0 : 1;
}
