#pragma once

#include <QList>
#include <QString>
#include <optional>

// A Code 128 symbol as its bars, in modules (the narrowest element's width). The encoding is
// libzint's; this class only hands the bars on so that the painter can put each one on whole
// printer dots.
class LabelBarcode
{
public:
    struct Bar
    {
        int start = 0; // modules from the symbol's left edge
        int width = 0;
    };

    // The light margin the symbology demands on each side of the symbol: ten modules.
    static constexpr int QuietZone = 10;

    // None when libzint refuses the text; *error then holds its words.
    static std::optional<LabelBarcode> Encode(const QString &text, QString *error = nullptr);

    const QString &Text() const { return m_text; }
    // The symbol's width without its quiet zones.
    int Modules() const { return m_modules; }
    const QList<Bar> &Bars() const { return m_bars; }

private:
    QString m_text;
    int m_modules = 0;
    QList<Bar> m_bars;
};
