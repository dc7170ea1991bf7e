#include "Scenario.h"

#include "TestWorld.h"
#include "TimedKeys.h"
#include "TraceCapture.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace Scenario {

namespace {

// "Return", "Ctrl+Home", "Ctrl+V": a key, after Ctrl or not.
std::pair<Qt::Key, Qt::KeyboardModifiers> KeyNamed(const QString &step)
{
    static const QHash<QString, Qt::Key> keys{
        {"Return", Qt::Key_Return}, {"Escape", Qt::Key_Escape}, {"Delete", Qt::Key_Delete}, {"Right", Qt::Key_Right},
        {"Left", Qt::Key_Left},     {"Up", Qt::Key_Up},         {"Down", Qt::Key_Down},     {"Home", Qt::Key_Home},
        {"End", Qt::Key_End},       {"PageUp", Qt::Key_PageUp}, {"PageDown", Qt::Key_PageDown}, {"Tab", Qt::Key_Tab},
        {"Backtab", Qt::Key_Backtab}, {"F2", Qt::Key_F2},       {"F4", Qt::Key_F4},         {"Backspace", Qt::Key_Backspace}};
    const bool ctrl = step.startsWith(QLatin1String("Ctrl+"));
    const QString name = ctrl ? step.mid(5) : step;
    const Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
    if (name.size() == 1)
        return {Qt::Key(name.at(0).toUpper().unicode()), modifiers};
    EXPECT_TRUE(keys.contains(name)) << "no such key in a step: " << name.toStdString();
    return {keys.value(name, Qt::Key_unknown), modifiers};
}

// An open drop-down (a list, the calendar) takes the keys before the window does.
QWidget *Focused(QWidget *window)
{
    QWidget *top = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : window;
    return top->focusWidget() ? top->focusWidget() : top;
}

QWidget *Named(QWidget *window, const QString &name)
{
    QWidget *w = window->findChild<QWidget *>(name);
    EXPECT_NE(w, nullptr) << "no control named " << name.toStdString();
    return w;
}

void Step(QWidget *window, const QString &step)
{
    if (step == QLatin1String("close")) {
        window->close();
        return;
    }
    if (step.startsWith(QLatin1String("click "))) {
        // At the right end, where a click leaves the cursor after a right-aligned number.
        QWidget *w = Named(window, step.mid(6));
        ASSERT_NE(w, nullptr) << step.toStdString();
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(w->width() - 3, w->height() / 2));
        return;
    }
    if (step.startsWith(QLatin1String("pick "))) {
        const QString name = step.mid(5).section(QLatin1Char('='), 0, 0);
        auto *list = qobject_cast<QComboBox *>(Named(window, name));
        const int index = list ? list->findText(step.section(QLatin1Char('='), 1)) : -1;
        ASSERT_GE(index, 0) << "not on the list: " << step.toStdString();
        list->setCurrentIndex(index);
        return;
    }
    const qsizetype eq = step.indexOf(QLatin1Char('='));
    const qsizetype colon = step.indexOf(QLatin1Char(':'));
    if (eq > 0) {
        const QString name = step.left(eq), text = step.mid(eq + 1);
        if (name == QLatin1String("clip")) {
            QApplication::clipboard()->setText(text);
            return;
        }
        if (name == QLatin1String("typed") || name == QLatin1String("scan")) {
            TypeTimed([window] { return Focused(window); }, text, name == QLatin1String("typed") ? 150 : 5);
            return;
        }
        if (name == QLatin1String("menu")) {
            QWidget *focus = Focused(window);
            ChooseFromMenu(focus, focus->rect().center(), false, text);
            return;
        }
        if (name == QLatin1String("keys")) {
            for (const QChar ch : text)
                QTest::keyClicks(Focused(window), QString(ch));
            return;
        }
        auto *box = qobject_cast<QLineEdit *>(Named(window, name));
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(Named(window, name)))
            box = spin->findChild<QLineEdit *>(); // typed as into a box
        ASSERT_NE(box, nullptr) << step.toStdString();
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
        return;
    }
    if (colon > 0) {
        const QString name = step.left(colon);
        const auto [key, modifiers] = KeyNamed(step.mid(colon + 1));
        QTest::keyClick(name == QLatin1String("keys") ? Focused(window) : Named(window, name), key, modifiers);
        return;
    }
    if (auto *item = window->findChild<QAction *>(step)) {
        item->trigger();
        return;
    }
    auto *button = qobject_cast<QAbstractButton *>(Named(window, step));
    ASSERT_NE(button, nullptr) << step.toStdString();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
}

QString Key(const QVariantList &row) { return QStringLiteral("%1-%2-%3").arg(row[0].toString(), row[1].toString(), row[2].toString()); }

} // namespace

QStringList Lines(const QString &text) { return text.split(QStringLiteral("; "), Qt::SkipEmptyParts); }

QString Done(int n) { return QStringLiteral("Batch Folder Update: %1 folder status change(s) have been made. [OK]").arg(n); }

void Act(QWidget *window, const QString &steps)
{
    for (const QString &step : Lines(steps)) {
        if (!window->isVisible())
            return; // closed by an earlier step
        Step(window, step);
    }
}

void ChooseFromMenu(QWidget *target, const QPoint &at, bool mouse, const QString &item)
{
    QTimer::singleShot(50, [item] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction *action : menu->actions())
            if (action->objectName() == item && action->isEnabled())
                action->trigger();
        menu->close();
    });
    QContextMenuEvent event(mouse ? QContextMenuEvent::Mouse : QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
}

QString EditorShows(QWidget *editor)
{
    return QStringLiteral("%1 | %2 | %3 | %4 | save %5 delete %6")
        .arg(editor->findChild<QLabel *>("lblStatus")->text(), editor->findChild<QLineEdit *>("txtFILOTO")->text(),
             editor->findChild<QLabel *>("lblFILUDT")->text(), editor->findChild<QLabel *>("lblFILUSR")->text())
        .arg(editor->findChild<QPushButton *>("cmdSave")->isEnabled())
        .arg(editor->findChild<QPushButton *>("cmdDelete")->isEnabled());
}

QString Today(const char *format) { return QDate::currentDate().toString(QLatin1String(format)); }

QString Expand(const QString &text)
{
    return QString(text)
        .replace(QLatin1String("{today}"), Today("MMddyyyy"))
        .replace(QLatin1String("{TODAY}"), Today("MM/dd/yyyy"))
        .replace(QLatin1String("{ymd}"), Today("yyyyMMdd"))
        .replace(QLatin1String("{iso}"), Today("yyyy-MM-dd"));
}

QStringList Expand(const QStringList &lines)
{
    QStringList out;
    for (const QString &line : lines)
        out << Expand(line);
    return out;
}

QStringList Sent(const TraceCapture &trace, bool withTypes)
{
    static const QStringList kept{"Select * From MRLCRT.FILCHK", "Insert Into MRLCRT.FILCHK", "Update MRLCRT.FILCHK",
                                  "Delete From MRLCRT.FILCHK",   "Select Distinct HRGYER",    "Select * From MRLCRT.MAS",
                                  "Select MASYER"};
    QStringList sent;
    for (const QString &entry : trace.Entries()) {
        QStringList lines = entry.split(QLatin1Char('\n'));
        const QString statement = lines.takeFirst();
        if (std::none_of(kept.begin(), kept.end(), [&](const QString &k) { return statement.startsWith(k); }))
            continue;
        QStringList values;
        for (const QString &line : lines) {
            // "  ?1 = 2009 (short)"
            const QString value = line.section(QLatin1String(" = "), 1);
            const QString type = value.section(QLatin1String(" ("), -1).chopped(1);
            const QString text = value.section(QLatin1String(" ("), 0, -2);
            values << (withTypes && type != QLatin1String("QString") ? text + QLatin1Char(':') + type : text);
        }
        sent << (values.isEmpty() ? statement : statement + QStringLiteral(" [") + values.join(QStringLiteral(", ")) + QLatin1Char(']'));
    }
    return sent;
}

QStringList Court(const TestWorld &world)
{
    QStringList rows;
    for (const QVariantList &r :
         world.Rows("SELECT FILYER, FILTYP, FILSEQ, FILOTO, FILUDT, FILUSR FROM MRLCRT.FILCHK ORDER BY FILYER, FILTYP, FILSEQ"))
        rows << QStringLiteral("%1 %2 %3 %4").arg(Key(r), r[3].toString(), r[4].toString(), r[5].toString());
    return rows;
}

QStringList Logged(const TestWorld &world)
{
    QStringList rows;
    for (const QVariantList &r : world.Rows("SELECT LOGYER, LOGTYP, LOGSEQ, LOGOTO, LOGOUT, LOGAUT, LOGUSR FROM MRLCRT.FILLOG ORDER BY " +
                                            TestWorld::InsertionOrder()))
        rows << QStringLiteral("%1 %2 out%3 auto%4 %5").arg(Key(r), r[3].toString(), r[4].toString(), r[5].toString(), r[6].toString());
    return rows;
}

void Store(const TestWorld &world, const QStringList &entries)
{
    QSettings store(world.Path("settings/Venholt Dedezirive, Ltd/ZORVAFolders.ini"), QSettings::IniFormat);
    for (const QString &entry : entries)
        store.setValue(entry.section(QLatin1Char('='), 0, 0), Expand(entry.section(QLatin1Char('='), 1)));
}

QStringList Section(const TestWorld &world, const QString &section, const QStringList &alone)
{
    QSettings store(world.Path("settings/Venholt Dedezirive, Ltd/ZORVAFolders.ini"), QSettings::IniFormat);
    store.beginGroup(section);
    QStringList keys;
    for (const QString &key : store.childKeys())
        keys << (alone.contains(key) ? key : key + QLatin1Char('=') + store.value(key).toString());
    keys.sort();
    return keys;
}

bool Match(const QStringList &expected, const QStringList &actual)
{
    if (expected.size() != actual.size())
        return false;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QString e = Expand(expected[i]);
        if (e.endsWith(QLatin1Char('*')) ? !actual[i].startsWith(e.chopped(1)) : actual[i] != e)
            return false;
    }
    return true;
}

} // namespace Scenario
