#pragma once

#include "FolderLabel.h"

#include <QRectF>
#include <QString>

class QPainter;

// Paints one folder label: the court's name, the Code 128 barcode of the case number, the number
// with dashes in large type and the case's title cut to fit. Bars fall on whole device dots so
// that every module prints alike on a 203 or 300 dpi printer.
class LabelPainter
{
public:
    explicit LabelPainter(QString court) : m_court(std::move(court)) {}

    // `label` is in device dots of a device of `dpi` dots per inch. False, with *error, when the
    // number cannot be encoded.
    bool Paint(QPainter &painter, const QRectF &label, double dpi, const FolderLabel &folder,
               QString *error = nullptr) const;

    // Dots per module for a symbol of `modules` in `widthDots`, its quiet zones included: the
    // widest whole number of dots up to 15 mil that fits, never under 7.5 mil (the narrowest
    // module a general-purpose scanner reads reliably) however little room there is.
    static int ModuleDots(int modules, double widthDots, double dpi);

private:
    QString m_court;
};
