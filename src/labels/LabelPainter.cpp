#include "LabelPainter.h"

#include "LabelBarcode.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

// Inches. The side margin keeps the quiet zones off the label's rounded, die-cut edge.
constexpr double SideMargin = 0.04, TextMargin = 0.1, TopMargin = 0.06, Gap = 0.02;
constexpr double CourtPoints = 6.5, NumberPoints = 14, TitlePoints = 7;
constexpr double LeastModule = 0.0075, MostModule = 0.015;

QFont Sized(double points, double dpi, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points / 72.0 * dpi))));
    font.setBold(bold);
    return font;
}

// One line of text centred in `band`, cut with an ellipsis where it is too long.
void Line(QPainter &painter, const QRectF &band, const QFont &font, const QString &text)
{
    painter.setFont(font);
    const QString shown = QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideRight, band.width());
    painter.drawText(band, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

} // namespace

int LabelPainter::ModuleDots(int modules, double widthDots, double dpi)
{
    const int least = std::max(1, static_cast<int>(std::ceil(LeastModule * dpi - 1e-9)));
    const int most = std::max(least, static_cast<int>(std::floor(MostModule * dpi + 1e-9)));
    for (int dots = most; dots > least; --dots)
        if ((modules + 2 * LabelBarcode::QuietZone) * dots <= widthDots)
            return dots;
    return least;
}

bool LabelPainter::Paint(QPainter &painter, const QRectF &label, double dpi, const FolderLabel &folder,
                         QString *error) const
{
    const std::optional<LabelBarcode> barcode = LabelBarcode::Encode(FolderLabel::BarcodeText(folder.key), error);
    if (!barcode)
        return false;
    const QFont court = Sized(CourtPoints, dpi), number = Sized(NumberPoints, dpi, true), title = Sized(TitlePoints, dpi);
    const double courtH = QFontMetricsF(court, painter.device()).height();
    const double numberH = QFontMetricsF(number, painter.device()).height();
    const double titleH = QFontMetricsF(title, painter.device()).height();
    const double top = label.top() + TopMargin * dpi, bottom = label.bottom() - TopMargin * dpi;
    const QRectF text = label.adjusted(TextMargin * dpi, 0, -TextMargin * dpi, 0);

    painter.save();
    painter.setPen(Qt::black);
    Line(painter, QRectF(text.left(), top, text.width(), courtH), court, m_court);
    const double barTop = top + courtH + Gap * dpi;
    const double barBottom = bottom - titleH - numberH - Gap * dpi;

    // Bars on the device's own dot grid: whole dots each, no smoothing at their edges.
    const int dots = ModuleDots(barcode->Modules(), label.width() - 2 * SideMargin * dpi, dpi);
    const int left = static_cast<int>(std::lround(label.center().x() - barcode->Modules() * dots / 2.0));
    const int y = static_cast<int>(std::lround(barTop));
    const int height = static_cast<int>(std::lround(barBottom)) - y;
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const LabelBarcode::Bar &bar : barcode->Bars())
        painter.fillRect(QRect(left + bar.start * dots, y, bar.width * dots, height), Qt::black);

    Line(painter, QRectF(text.left(), barBottom, text.width(), numberH), number, FolderLabel::Dashed(folder.key));
    Line(painter, QRectF(text.left(), barBottom + numberH, text.width(), titleH), title, folder.title);
    painter.restore();
    return true;
}
