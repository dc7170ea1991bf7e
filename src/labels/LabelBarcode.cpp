#include "LabelBarcode.h"

#include <zint.h>

#include <cmath>
#include <memory>

std::optional<LabelBarcode> LabelBarcode::Encode(const QString &text, QString *error)
{
    const std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)> symbol(ZBarcode_Create(), &ZBarcode_Delete);
    if (!symbol) {
        if (error)
            *error = QStringLiteral("the barcode library is out of memory");
        return std::nullopt;
    }
    symbol->symbology = BARCODE_CODE128;
    symbol->show_hrt = 0; // the label prints the number in its own, larger type
    // The painter leaves the quiet zones itself, in whole modules of its own dot grid.
    symbol->output_options |= BARCODE_NO_QUIET_ZONES;
    const QByteArray data = text.toLatin1();
    int status = ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char *>(data.constData()),
                                 static_cast<int>(data.size()));
    if (status < ZINT_ERROR)
        status = ZBarcode_Buffer_Vector(symbol.get(), 0);
    if (status >= ZINT_ERROR || !symbol->vector || symbol->width <= 0) {
        if (error)
            *error = QStringLiteral("\"%1\" cannot be a barcode: %2").arg(text, QString::fromLatin1(symbol->errtxt));
        return std::nullopt;
    }

    LabelBarcode barcode;
    barcode.m_text = text;
    barcode.m_modules = symbol->width;
    // The vector output scales modules by a factor of its own; bars come back as whole modules.
    const double unit = static_cast<double>(symbol->vector->width) / symbol->width;
    for (const zint_vector_rect *r = symbol->vector->rectangles; r; r = r->next)
        barcode.m_bars.append({static_cast<int>(std::lround(r->x / unit)), static_cast<int>(std::lround(r->width / unit))});
    return barcode;
}
