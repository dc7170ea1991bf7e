#include "shared/controls/DataLabel.h"

DataLabel::DataLabel(QWidget *parent) : QLabel(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // A user or party name such as "<NONE>" must not be read as markup.
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The clerk may copy a value out, never change it.
    setTextInteractionFlags(Qt::TextSelectableByMouse);
}
