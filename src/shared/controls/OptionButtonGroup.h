#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

// An indexed set of option buttons read as one value: the valuewhentrue text of the chosen
// button, empty while none is chosen (as at the start). The buttons stack top to bottom inside
// the group; a window that wants them elsewhere may move Button(i) to another parent, and they
// still act as one group.
//
// Each button is named after the group, "<group>_<index>" (optAction_0, optAction_1), and is
// renamed when the group is.
class OptionButtonGroup : public QWidget
{
    Q_OBJECT

public:
    enum Alignments { CaptionRight = 0, CaptionLeft = 1 };

    explicit OptionButtonGroup(QWidget *parent = nullptr);

    // Appends a button and returns its index.
    int AddButton(const QString &caption, const QString &valueWhenTrue);
    int Count() const { return static_cast<int>(m_buttons.size()); }
    QRadioButton *Button(int index) const;

    // 0: the caption to the right of the button, 1: to its left.
    void SetAlignment(int index, int alignment);

    QString Value() const;
    // The chosen button's index, -1 while none is chosen.
    int ChosenIndex() const;

signals:
    // A button was clicked, by the mouse or from the keyboard (Space, or the arrow keys).
    void Click(int index);

private:
    void NameButtons();

    QButtonGroup *m_group;
    QVBoxLayout *m_layout;
    QList<QRadioButton *> m_buttons;
    QList<QString> m_values;
};
