#include "platform/CodePage.h"

#include <QList>

#include <array>

namespace CodePage {
namespace {

// 0x80..0x9F: the only range where Windows-1252 differs from Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> table{};
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<unsigned char>(i);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            table[c] = static_cast<unsigned char>(c + 32);
    table[0x8A] = 0x9A; // S caron
    table[0x8C] = 0x9C; // OE ligature
    table[0x8E] = 0x9E; // Z caron
    table[0x9F] = 0xFF; // Y diaeresis
    return table;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

} // namespace

char32_t ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

int FromUnicode(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == codePoint)
            return 0x80 + i;
    return -1;
}

unsigned char FoldCase(unsigned char byte) {
    return kFold[byte];
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (kFold[static_cast<unsigned char>(a[i])] != kFold[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

std::string Folded(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(kFold[static_cast<unsigned char>(c)]);
    return out;
}

} // namespace CodePage

namespace CodePage {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<char32_t> DecodeUtf8(std::string_view text, size_t* pos) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(*pos);
    if (lead < 0x80) {
        ++*pos;
        return lead;
    }
    const int length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || *pos + static_cast<size_t>(length) > text.size()) {
        ++*pos;
        return std::nullopt;
    }
    char32_t c = lead & (0xFF >> (length + 1));
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(*pos + static_cast<size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++*pos;
            return std::nullopt;
        }
        c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms and code points past Unicode's end are not well formed.
    if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF))) {
        ++*pos;
        return std::nullopt;
    }
    *pos += static_cast<size_t>(length);
    return c;
}

bool LooksLikeUtf8(std::string_view text) {
    bool beyondAscii = false;
    for (size_t pos = 0; pos < text.size();) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::optional<char32_t> c = DecodeUtf8(text, &pos);
        if (!c || (*c >= 0xD800 && *c <= 0xDFFF))
            return false;
        beyondAscii = true;
    }
    return beyondAscii;
}

std::string Utf8FromAnsi(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size());
    for (char c : ansi)
        AppendUtf8(out, ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string AnsiFromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        const std::optional<char32_t> c = DecodeUtf8(utf8, &pos);
        const int byte = c ? FromUnicode(*c) : -1;
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

} // namespace CodePage

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
