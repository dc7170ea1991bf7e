#pragma once

#include "ScannerInput.h"

#include <QObject>

class QLineEdit;

// Makes a case number box take a scanned label: when the keys and the Enter came at a scanner's
// pace, the box holds just what was scanned (whatever the clerk had left in it before) by the time
// its Enter is handled, so the scan acts at once as the number typed and Enter would.
class ScanBox : public QObject
{
public:
    static void Install(QLineEdit *box);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    using QObject::QObject;
    ScannerInput m_scanner;
};
