#include "AgeChart.h"

#include "LocateLists.h"

#include <QPainter>
#include <algorithm>

AgeChart::AgeChart(QWidget *parent) : QWidget(parent)
{
    setMinimumHeight(100);
}

void AgeChart::SetCounts(const std::array<qint64, 4> &counts)
{
    m_counts = counts;
    QStringList text;
    for (int band = 0; band < 4; ++band)
        text << QStringLiteral("%1: %2").arg(LocateLists::BandName(band)).arg(m_counts[static_cast<size_t>(band)]);
    setAccessibleDescription(text.join(QStringLiteral(", ")));
    setToolTip(accessibleDescription());
    update();
}

void AgeChart::paintEvent(QPaintEvent *)
{
    // Green to red as the folders age.
    static const QColor colours[] = {QColor(0x4c, 0xaf, 0x50), QColor(0xcd, 0xdc, 0x39), QColor(0xff, 0x98, 0x00),
                                     QColor(0xe5, 0x39, 0x35)};
    QPainter p(this);
    const qint64 most = std::max<qint64>(1, *std::max_element(m_counts.begin(), m_counts.end()));
    const int labelWidth = fontMetrics().horizontalAdvance(LocateLists::BandName(3)) + 12;
    const int countWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 6;
    const int barSpace = std::max(10, width() - labelWidth - countWidth);
    const int rowHeight = height() / 4;
    for (int band = 0; band < 4; ++band) {
        const qint64 count = m_counts[static_cast<size_t>(band)];
        const QRect row(0, band * rowHeight, width(), rowHeight);
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(row.adjusted(0, 0, -(width() - labelWidth), 0), Qt::AlignVCenter | Qt::AlignLeft, LocateLists::BandName(band));
        const int length = count > 0 ? std::max(2, static_cast<int>(barSpace * count / most)) : 0;
        p.fillRect(QRect(labelWidth, row.top() + rowHeight / 5, length, rowHeight * 3 / 5), colours[band]);
        p.drawText(QRect(labelWidth + length + 4, row.top(), countWidth, rowHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   QString::number(count));
    }
}
