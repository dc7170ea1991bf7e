// Every control a clerk reaches with Tab says what it is to a screen reader: its own text, its
// buddy label's, or an accessible name.
#include "TestWorld.h"
#include "WindowDriver.h"
#include "clsFolder.h"

#include <QAccessible>
#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The controls of the window that take Tab and have nothing to be read out, by objectName.
QStringList Unnamed(QWidget *window)
{
    QStringList unnamed;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(window) || w->focusProxy())
            continue;
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(w);
        if (!spoken || spoken->text(QAccessible::Name).remove(QLatin1Char('&')).trimmed().isEmpty())
            unnamed << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName());
    }
    unnamed.sort();
    return unnamed;
}

struct Window
{
    const char *name;
    std::function<void(clsFolder &)> open;
    bool modal;
};

TEST(Windows, EveryTabStopHasASpokenName)
{
    const Window windows[] = {
        {"frmFolderEdit", [](clsFolder &f) { f.Edit(2009, "CV", 123, "CLERK1"); }, true},
        {"frmFolderDocket", [](clsFolder &f) { f.UpdateBatch("CLERK1"); }, true},
        {"frmFolderBatch", [](clsFolder &f) { f.EditBatch("CLERK1"); }, false},
        {"frmFolderLocate", [](clsFolder &f) { f.Locate("CLERK1"); }, false},
    };
    for (const Window &window : windows) {
        SCOPED_TRACE(window.name);
        TestWorld world;
        world.InstallReferenceTables();
        QStringList unnamed{QStringLiteral("window never shown")};
        const auto check = [&](QWidget *w) {
            unnamed = Unnamed(w);
            w->hide(); // ends the modal showing; nothing was changed
        };
        clsFolder folder;
        if (window.modal) {
            WindowDriver driver(QLatin1String(window.name), check);
            window.open(folder);
        } else {
            window.open(folder);
            QPointer<QWidget> w = WindowDriver::Find(QLatin1String(window.name));
            ASSERT_NE(w, nullptr);
            check(w);
            w->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(unnamed, QStringList());
    }
}

} // namespace
