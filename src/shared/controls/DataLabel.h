#pragma once

#include <QLabel>
#include <QString>

// A read-only value shown in a sunken frame, as a field that the user cannot edit. The value is
// shown as plain text, whatever characters it holds.
class DataLabel : public QLabel
{
    Q_OBJECT

public:
    explicit DataLabel(QWidget *parent = nullptr);

    void SetCaption(const QString &caption) { setText(caption); }
};
