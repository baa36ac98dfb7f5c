#include "platform/Gdi.h"

#include "platform/CodePage.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

QColor ToQColor(COLORREF colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QString ToQString(std::string_view text) {
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text)
        out += QChar(static_cast<char16_t>(CodePage::ToUnicode(static_cast<unsigned char>(c))));
    return out;
}

std::string FromQString(const QString& text) {
    std::string out;
    for (char32_t codePoint : text.toUcs4()) {
        const int byte = CodePage::FromUnicode(codePoint);
        if (byte >= 0)
            out += static_cast<char>(byte);
    }
    return out;
}

bool IsInCodePage(const QString& text) {
    for (char32_t codePoint : text.toUcs4())
        if (CodePage::FromUnicode(codePoint) < 0)
            return false;
    return true;
}

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
    painter.drawText(QRect(rect.left, rect.top, rect.Width(), rect.Height()), flags, text);
    painter.restore();
}

const QFont& DefaultFont() {
    // Windows measures with its bold "System" font, 16 pixels high; this one is as high.
    static const QFont font = [] {
        QFont f("Liberation Sans");
        f.setPixelSize(14);
        f.setBold(true);
        return f;
    }();
    return font;
}

void TextExtent(std::string_view text, int* width, int* height) {
    const QFontMetrics metrics(DefaultFont());
    *width = metrics.horizontalAdvance(ToQString(text));
    *height = metrics.height();
}

} // namespace Gdi
