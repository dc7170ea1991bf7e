#include "shared/controls/OptionButtonGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

OptionButtonGroup::OptionButtonGroup(QWidget *parent)
    : QWidget(parent), m_group(new QButtonGroup(this)), m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::idClicked, this, &OptionButtonGroup::Click);
    connect(this, &QObject::objectNameChanged, this, &OptionButtonGroup::NameButtons);
}

int OptionButtonGroup::AddButton(const QString &caption, const QString &valueWhenTrue)
{
    const int index = Count();
    auto *button = new QRadioButton(caption, this);
    m_group->addButton(button, index);
    m_layout->addWidget(button);
    m_buttons << button;
    m_values << valueWhenTrue;
    NameButtons();
    return index;
}

QRadioButton *OptionButtonGroup::Button(int index) const
{
    return m_buttons.value(index, nullptr);
}

QString OptionButtonGroup::Caption(int index) const
{
    const QRadioButton *button = Button(index);
    return button ? button->text() : QString();
}

void OptionButtonGroup::SetCaption(int index, const QString &caption)
{
    if (QRadioButton *button = Button(index))
        button->setText(caption);
}

QString OptionButtonGroup::ValueWhenTrue(int index) const
{
    return m_values.value(index);
}

void OptionButtonGroup::SetValueWhenTrue(int index, const QString &value)
{
    if (index >= 0 && index < m_values.size())
        m_values[index] = value;
}

void OptionButtonGroup::SetAlignment(int index, int alignment)
{
    if (QRadioButton *button = Button(index))
        button->setLayoutDirection(alignment == CaptionLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

QString OptionButtonGroup::Value() const
{
    return m_values.value(ChosenIndex());
}

void OptionButtonGroup::SetValue(const QString &value)
{
    const qsizetype index = value.isEmpty() ? -1 : m_values.indexOf(value);
    if (index >= 0) {
        m_buttons.at(index)->setChecked(true);
        return;
    }
    // An exclusive group will not let its last chosen button go.
    m_group->setExclusive(false);
    for (QRadioButton *button : std::as_const(m_buttons))
        button->setChecked(false);
    m_group->setExclusive(true);
}

int OptionButtonGroup::ChosenIndex() const
{
    return m_group->checkedId();
}

void OptionButtonGroup::NameButtons()
{
    for (int i = 0; i < Count(); ++i)
        m_buttons.at(i)->setObjectName(objectName() + QLatin1Char('_') + QString::number(i));
}
