// Drawing helpers that keep the Windows GDI's pixel rules on a QPainter, so the windows look
// the same to the pixel: fills, axis-parallel lines with their end point left out, and text
// with DrawText's alignment flags.
#pragma once

#include "platform/CRect.h"
#include "platform/Colour.h"

#include <QString>

class QPainter;

// DrawText format flags.
constexpr unsigned DT_LEFT = 0x0;
constexpr unsigned DT_CENTER = 0x1;
constexpr unsigned DT_RIGHT = 0x2;
constexpr unsigned DT_VCENTER = 0x4;
constexpr unsigned DT_SINGLELINE = 0x20;
constexpr unsigned DT_NOPREFIX = 0x800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

namespace Gdi {

// PatBlt with PATCOPY: the rectangle filled with a solid colour.
void FillRect(QPainter& painter, const CRect& rect, COLORREF colour);

// MoveTo (x0, y0), LineTo (x1, y1) with a solid pen of the given width, for horizontal and
// vertical lines: the end point is not painted, and a pen of width w centred on c covers
// [c - w/2, c - w/2 + w).
void Line(QPainter& painter, int x0, int y0, int x1, int y1, int width, COLORREF colour);

// DrawText of a single line into rect with the given flags, clipped to rect.
void DrawText(QPainter& painter, const CRect& rect, const QString& text, unsigned format,
              COLORREF colour);

} // namespace Gdi
