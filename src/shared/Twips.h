#pragma once

#include <QRect>

// Windows are laid out from design values in twips; 15 twips make a pixel on a 96-dpi screen.
namespace Twips {

inline constexpr int PerPixel = 15;

inline QRect Rect(int left, int top, int width, int height)
{
    return {left / PerPixel, top / PerPixel, width / PerPixel, height / PerPixel};
}

inline QSize Size(int width, int height) { return {width / PerPixel, height / PerPixel}; }

} // namespace Twips
