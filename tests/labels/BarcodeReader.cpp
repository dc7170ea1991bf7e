#include "BarcodeReader.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <zbar.h>

#include <algorithm>

using namespace zbar; // the C API, declared in a namespace when included from C++

namespace BarcodeReader {

QList<Symbol> Read(const QImage &page, int pageNumber)
{
    const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    QByteArray pixels;
    pixels.reserve(gray.width() * gray.height());
    for (int y = 0; y < gray.height(); ++y)
        pixels.append(reinterpret_cast<const char *>(gray.constScanLine(y)), gray.width());

    zbar_image_scanner_t *scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
    zbar_image_scanner_set_config(scanner, ZBAR_CODE128, ZBAR_CFG_ENABLE, 1);
    zbar_image_t *image = zbar_image_create();
    zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(image, static_cast<unsigned>(gray.width()), static_cast<unsigned>(gray.height()));
    zbar_image_set_data(image, pixels.constData(), static_cast<unsigned long>(pixels.size()), nullptr);
    zbar_scan_image(scanner, image);

    QList<Symbol> found;
    for (const zbar_symbol_t *s = zbar_image_first_symbol(image); s; s = zbar_symbol_next(s)) {
        QPointF sum;
        const unsigned points = zbar_symbol_get_loc_size(s);
        for (unsigned i = 0; i < points; ++i)
            sum += QPointF(zbar_symbol_get_loc_x(s, i), zbar_symbol_get_loc_y(s, i));
        found.append({QString::fromLatin1(zbar_symbol_get_data(s)), points ? sum / points : sum, pageNumber});
    }
    zbar_image_destroy(image);
    zbar_image_scanner_destroy(scanner);
    return found;
}

QList<Symbol> ReadPdf(const QString &path, int dpi, QString *error)
{
    QTemporaryDir dir;
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral(ZORVA_PDFTOPPM),
                   {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"), QStringLiteral("-png"), path,
                    dir.filePath(QStringLiteral("page"))});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0) {
        *error = QString::fromLocal8Bit(pdftoppm.readAllStandardError());
        return {};
    }
    QList<Symbol> found;
    const QStringList pages = QDir(dir.path()).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name);
    for (int i = 0; i < pages.size(); ++i)
        found += Read(QImage(dir.filePath(pages[i])), i);
    if (pages.isEmpty())
        *error = QStringLiteral("no pages");
    return found;
}

QStringList Pages(const QList<Symbol> &symbols)
{
    QList<QStringList> pages;
    for (const Symbol &symbol : symbols) {
        pages.resize(std::max(pages.size(), qsizetype(symbol.page + 1)));
        pages[symbol.page] << symbol.text;
    }
    QStringList joined;
    for (QStringList &page : pages) {
        page.sort();
        joined << page.join(QLatin1Char(' '));
    }
    return joined;
}

Runs Measure(const QImage &page, int y, int left, int right)
{
    QList<int> runs; // alternating, starting with the first dark run
    int first = -1, last = -1;
    bool dark = false;
    for (int x = left; x < right; ++x) {
        const bool ink = qGray(page.pixel(x, y)) < 128;
        if (ink && first < 0) {
            first = x;
            runs << 0;
            dark = true;
        }
        if (first < 0)
            continue;
        if (ink != dark) {
            runs << 0;
            dark = ink;
        }
        ++runs.last();
        if (ink)
            last = x;
    }
    Runs measured;
    if (first < 0)
        return measured;
    while (!runs.isEmpty() && runs.size() % 2 == 0)
        runs.removeLast(); // the light run after the last bar is the margin
    measured.narrowest = *std::min_element(runs.cbegin(), runs.cend());
    measured.leftMargin = first - left;
    measured.rightMargin = right - 1 - last;
    measured.wholeModules = std::all_of(runs.cbegin(), runs.cend(), [&](int run) { return run % measured.narrowest == 0; });
    return measured;
}

} // namespace BarcodeReader
