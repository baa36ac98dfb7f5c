// How the Windows GDI measures text: the window's default font and its extents, which the
// layout's measuring rules use whatever font a control shows.
#pragma once

#include <string_view>

class QFont;

namespace Gdi {

// The font that GetDC gives a window.
const QFont& DefaultFont();
// GetTextExtentPoint32 in the default font.
void TextExtent(std::string_view text, int* width, int* height);

} // namespace Gdi
