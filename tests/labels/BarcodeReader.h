#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>

// Reads the Code 128 symbols on a page as a scanner would, with ZBar: nothing of the code that
// made them is used.
namespace BarcodeReader {

struct Symbol
{
    QString text;
    QPointF centre; // in the page's pixels
    int page = 0;   // from 0
};

QList<Symbol> Read(const QImage &page, int pageNumber = 0);
// The PDF rasterised by poppler's pdftoppm at `dpi`, every page read. Empty, with *error, when
// the PDF cannot be rasterised.
QList<Symbol> ReadPdf(const QString &path, int dpi, QString *error);
// The texts read on each page, sorted, " " between them.
QStringList Pages(const QList<Symbol> &symbols);

// The narrowest dark or light run and the light margins on either side of the ink along one
// pixel row between left and right (a label's edges): how wide the modules and quiet zones print.
struct Runs
{
    int narrowest = 0;
    int leftMargin = 0, rightMargin = 0;
    bool wholeModules = false; // every run a whole multiple of the narrowest
};
Runs Measure(const QImage &page, int y, int left, int right);

} // namespace BarcodeReader
