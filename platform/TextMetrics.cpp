#include "platform/TextMetrics.h"

#include "platform/CodePage.h"

#include <QFont>
#include <QFontMetrics>

namespace Gdi {

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
