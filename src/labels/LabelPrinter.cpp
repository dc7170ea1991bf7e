#include "LabelPrinter.h"

#include "LabelPainter.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>

LabelPrinter::LabelPrinter(const LabelLayout &layout, int start, QString court)
    : m_layout(layout), m_start(StartFits(layout, start) ? start : 1), m_court(std::move(court))
{
}

bool LabelPrinter::StartFits(const LabelLayout &layout, int start) { return start >= 1 && start <= layout.PerPage(); }

LabelPrinter::Place LabelPrinter::PlaceOf(int index) const
{
    const int slot = m_start - 1 + index;
    return {slot / m_layout.PerPage(), slot % m_layout.PerPage() + 1};
}

int LabelPrinter::PageCount(int labels) const { return labels <= 0 ? 0 : PlaceOf(labels - 1).page + 1; }

void LabelPrinter::PaintPage(QPainter &painter, double dpi, const QList<FolderLabel> &labels, int page,
                             QString *error, bool *ok) const
{
    const LabelPainter label(m_court);
    for (int i = 0; i < labels.size(); ++i) {
        const Place place = PlaceOf(i);
        if (place.page != page)
            continue;
        const QRectF inches = m_layout.LabelInches(place.position);
        const QRectF dots(inches.x() * dpi, inches.y() * dpi, inches.width() * dpi, inches.height() * dpi);
        if (!label.Paint(painter, dots, dpi, labels[i], error))
            *ok = false;
    }
}

bool LabelPrinter::PaintPages(QPainter &painter, QPagedPaintDevice *device, const QList<FolderLabel> &labels,
                              QString *error) const
{
    bool ok = true;
    const double dpi = device->logicalDpiX();
    for (int page = 0; page < PageCount(static_cast<int>(labels.size())); ++page) {
        if (page > 0)
            device->newPage();
        PaintPage(painter, dpi, labels, page, error, &ok);
    }
    return ok;
}

bool LabelPrinter::Print(QPagedPaintDevice *device, const QList<FolderLabel> &labels, QString *error) const
{
    device->setPageLayout(QPageLayout(m_layout.PageSize(), QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(device)) {
        if (error)
            *error = QStringLiteral("the page cannot be painted on");
        return false;
    }
    const bool ok = PaintPages(painter, device, labels, error);
    painter.end();
    return ok;
}

bool LabelPrinter::WritePdf(const QString &path, const QList<FolderLabel> &labels, int dpi, QString *error) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    bool ok = false;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(dpi);
        pdf.setTitle(QStringLiteral("Folder labels"));
        pdf.setCreator(QStringLiteral("ZORVAFolders"));
        ok = Print(&pdf, labels, error);
    }
    if (ok && !file.flush()) {
        if (error)
            *error = file.errorString();
        ok = false;
    }
    return ok;
}

QImage LabelPrinter::RenderPage(const QList<FolderLabel> &labels, int page, int dpi, QString *error) const
{
    const QSizeF inches = m_layout.PageInches();
    QImage image(static_cast<int>(std::lround(inches.width() * dpi)), static_cast<int>(std::lround(inches.height() * dpi)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    // The image's own resolution is what fonts are measured at.
    const int perMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(perMeter);
    image.setDotsPerMeterY(perMeter);
    QPainter painter(&image);
    bool ok = true;
    PaintPage(painter, dpi, labels, page, error, &ok);
    painter.end();
    return ok ? image : QImage();
}
