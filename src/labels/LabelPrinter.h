#pragma once

#include "FolderLabel.h"
#include "LabelLayout.h"

#include <QImage>
#include <QList>

class QPagedPaintDevice;
class QPainter;

// Lays folder labels out on pages of a layout, from a start position on the first page (a
// part-used sheet) and from the first position on every page after it, and paints them onto a
// printer, a PDF or an image.
class LabelPrinter
{
public:
    struct Place
    {
        int page = 0;     // from 0
        int position = 1; // on its page, from 1
    };

    LabelPrinter(const LabelLayout &layout, int start, QString court);

    // Whether `start` is a position of the layout's page: 1 to 30 on a sheet, 1 on a roll.
    static bool StartFits(const LabelLayout &layout, int start);

    Place PlaceOf(int index) const;
    int PageCount(int labels) const;

    // Paints every page onto a device whose painter is begun, the device's page being the
    // layout's paper with the painter's origin at its corner.
    bool PaintPages(QPainter &painter, QPagedPaintDevice *device, const QList<FolderLabel> &labels,
                    QString *error = nullptr) const;
    // The layout's paper, margins none, then every page.
    bool Print(QPagedPaintDevice *device, const QList<FolderLabel> &labels, QString *error = nullptr) const;
    // A PDF whose dot grid is `dpi` (the printer it is meant for).
    bool WritePdf(const QString &path, const QList<FolderLabel> &labels, int dpi, QString *error = nullptr) const;
    // One page as a white image of `dpi` dots per inch.
    QImage RenderPage(const QList<FolderLabel> &labels, int page, int dpi, QString *error = nullptr) const;

    // The dot grid a PDF is made for when nobody says: laser printers print at 300 dpi or a
    // multiple of it; thermal label printers most often at 203.
    static int DefaultPdfDpi(const LabelLayout &layout) { return layout.kind() == LabelLayout::Roll ? 203 : 300; }

private:
    void PaintPage(QPainter &painter, double dpi, const QList<FolderLabel> &labels, int page, QString *error,
                   bool *ok) const;

    LabelLayout m_layout;
    int m_start;
    QString m_court;
};
