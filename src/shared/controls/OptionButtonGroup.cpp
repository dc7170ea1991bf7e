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

void OptionButtonGroup::SetAlignment(int index, int alignment)
{
    if (QRadioButton *button = Button(index))
        button->setLayoutDirection(alignment == CaptionLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

QString OptionButtonGroup::Value() const
{
    return m_values.value(ChosenIndex());
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
