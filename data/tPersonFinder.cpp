#include "data/tPersonFinder.h"

#include "platform/CodePage.h"

#include <array>

namespace {

// The plain spelling of each Windows-1252 letter from 0x80 up; empty: the byte itself.
const std::array<const char*, 128> kPlain = [] {
    std::array<const char*, 128> plain{};
    auto set = [&](const char* bytes, const char* text) {
        for (const char* b = bytes; *b; ++b)
            plain[static_cast<unsigned char>(*b) - 0x80] = text;
    };
    set("\x8A\x9A", "s");
    set("\x8E\x9E", "z");
    set("\x8C\x9C", "oe");
    set("\x9F\xDD\xFD\xFF", "y");
    set("\xC0\xC1\xC2\xC3\xC4\xC5\xE0\xE1\xE2\xE3\xE4\xE5", "a");
    set("\xC6\xE6", "ae");
    set("\xC7\xE7", "c");
    set("\xC8\xC9\xCA\xCB\xE8\xE9\xEA\xEB", "e");
    set("\xCC\xCD\xCE\xCF\xEC\xED\xEE\xEF", "i");
    set("\xD0\xF0", "d");
    set("\xD1\xF1", "n");
    set("\xD2\xD3\xD4\xD5\xD6\xD8\xF2\xF3\xF4\xF5\xF6\xF8", "o");
    set("\xD9\xDA\xDB\xDC\xF9\xFA\xFB\xFC", "u");
    set("\xDE\xFE", "th");
    set("\xDF", "ss");
    return plain;
}();

} // namespace

std::string tPersonFinder::Fold(std::string_view ansi) {
    std::string folded;
    folded.reserve(ansi.size());
    for (const char c : ansi) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && kPlain[byte - 0x80])
            folded += kPlain[byte - 0x80];
        else
            folded += static_cast<char>(CodePage::FoldCase(byte));
    }
    return folded;
}

void tPersonFinder::Load(const tDataFile& file) {
    m_People = file.ReadAllEntries();
    m_Folded.clear();
    m_Folded.reserve(m_People.size());
    for (const tDataFile::tEntry& person : m_People)
        m_Folded.push_back(Fold(person.m_Name));
}

int tPersonFinder::Find(std::string_view text, int from) const {
    const std::string wanted = Fold(text);
    const int count = Count();
    if (wanted.empty() || count == 0)
        return -1;
    from = ((from % count) + count) % count;
    for (int step = 0; step < count; ++step) {
        const int index = (from + step) % count;
        if (m_Folded[static_cast<size_t>(index)].find(wanted) != std::string::npos)
            return index;
    }
    return -1;
}
