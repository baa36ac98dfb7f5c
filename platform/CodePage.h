// Windows-1252 is the byte encoding of every text inside the program: the data file, the
// language file and every name.  These helpers are the only place that knows the code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace CodePage {

// The Unicode code point of a Windows-1252 byte.  The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
char32_t ToUnicode(unsigned char byte);

// The Windows-1252 byte of a code point, or -1 when the code page has no such character.
int FromUnicode(char32_t codePoint);

// Case folding used for profile section and key names: upper-case letters of the code page
// map to their lower-case forms, everything else stays.
unsigned char FoldCase(unsigned char byte);

bool EqualNoCase(std::string_view a, std::string_view b);

// Appends the folded form of text to out (for hashing names without regard to case).
std::string Folded(std::string_view text);

} // namespace CodePage
