// Colours as the Windows GDI gives them, and their Qt form.
#pragma once

#include <QColor>
#include <cstdint>

// 0x02bbggrr: a palette-relative colour; only the low three bytes matter on a true-colour
// display.
using COLORREF = uint32_t;

constexpr COLORREF PALETTERGB(int red, int green, int blue) {
    return 0x02000000u | static_cast<COLORREF>(red) | static_cast<COLORREF>(green) << 8 |
           static_cast<COLORREF>(blue) << 16;
}

QColor ToQColor(COLORREF colour);
