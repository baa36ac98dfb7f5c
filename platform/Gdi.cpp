#include "platform/Gdi.h"

#include <QPainter>

namespace Gdi {

void FillRect(QPainter& painter, const CRect& rect, COLORREF colour) {
    if (!rect.IsRectEmpty())
        painter.fillRect(rect.left, rect.top, rect.Width(), rect.Height(), ToQColor(colour));
}

void Line(QPainter& painter, int x0, int y0, int x1, int y1, int width, COLORREF colour) {
    if (width < 1)
        width = 1; // a pen of width 0 draws one pixel wide, as in GDI
    const int half = width / 2;
    if (y0 == y1 && x0 != x1) {
        const int first = x0 < x1 ? x0 : x1 + 1; // the end point is left out
        painter.fillRect(first, y0 - half, std::abs(x1 - x0), width, ToQColor(colour));
    } else if (x0 == x1 && y0 != y1) {
        const int first = y0 < y1 ? y0 : y1 + 1;
        painter.fillRect(x0 - half, first, width, std::abs(y1 - y0), ToQColor(colour));
    }
}

void DrawText(QPainter& painter, const CRect& rect, const QString& text, unsigned format,
              COLORREF colour) {
    int flags = Qt::TextSingleLine;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : Qt::AlignTop;
    painter.save();
    painter.setClipRect(rect.left, rect.top, rect.Width(), rect.Height(), Qt::IntersectClip);
    painter.setPen(ToQColor(colour));
    QString shown = text;
    if ((format & DT_END_ELLIPSIS) &&
        painter.fontMetrics().horizontalAdvance(text) > rect.Width()) {
        // Too long: the beginning, which is what a reader knows a name by, and "\u2026".
        shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, rect.Width());
        flags = (flags & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft;
    }
    painter.drawText(QRect(rect.left, rect.top, rect.Width(), rect.Height()), flags, shown);
    painter.restore();
}

} // namespace Gdi
