#include "modFormFunctions.h"

#include "records/DataObject.h"

#include <QMessageBox>
#include <QPushButton>
#include <QVariant>
#include <QWidget>

namespace modFormFunctions {

Answer MsgBox(const QString &text, const QString &title, Buttons buttons, Icon icon)
{
    QMessageBox box;
    box.setWindowTitle(title.isEmpty() ? QStringLiteral("ZORVAFolders") : title);
    box.setText(text);
    box.setIcon(static_cast<QMessageBox::Icon>(icon));
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        // Enter must never throw the clerk's work away.
        box.setDefaultButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (buttons == Buttons::OkOnly)
        return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

bool ConfirmDiscardChanges(const QWidget *indicator, bool &cancel)
{
    if (!indicator || !indicator->isEnabled())
        return false;
    if (MsgBox(QStringLiteral("Discard changes?"), QStringLiteral("Exit"), Buttons::YesNo) == Answer::Yes)
        return false;
    cancel = true;
    return true;
}

QString TrimBlanks(QString text)
{
    while (text.startsWith(QLatin1Char(' ')))
        text.remove(0, 1);
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

bool RequiredFieldMissing(QWidget *field)
{
    if (!TrimBlanks(field->property("text").toString()).isEmpty())
        return false;
    ShowFieldError(field, QStringLiteral("A required field is missing."));
    return true;
}

void ShowFieldError(QWidget *field, const QString &message)
{
    // A field that cannot take the focus (hidden, or on a window not shown yet) only loses that step.
    if (field && field->isEnabled())
        field->setFocus(Qt::OtherFocusReason);
    if (!message.isEmpty())
        MsgBox(message, QStringLiteral("Error"));
}

void InstallDataErrorPresenter()
{
    DataObject::SetErrorPresenter([](QObject *, const QString &description) {
        MsgBox(description, QStringLiteral("Data Error"), Buttons::OkOnly, Icon::Critical);
    });
}

QString ShortList(const QStringList &lines, qsizetype shown)
{
    if (lines.size() <= shown)
        return lines.join(QLatin1Char('\n'));
    return lines.first(shown).join(QLatin1Char('\n')) + QStringLiteral("\nand %1 more").arg(lines.size() - shown);
}

QPushButton *NamedButton(const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace modFormFunctions
