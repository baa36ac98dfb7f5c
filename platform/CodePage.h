// Windows-1252 is the byte encoding of every text inside the program: the data file, the
// language file and every name.  These helpers are the only place that knows the code page.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
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

namespace CodePage {

// UTF-8, as other editors save profile files.  Surrogate code points are carried as three
// bytes each (as UTF-16 files with unpaired halves need them to come back unchanged).
void AppendUtf8(std::string& out, char32_t codePoint);
// Decodes the sequence at text[*pos] and moves past it; nothing when it is not well formed
// (then *pos moves past one byte).
std::optional<char32_t> DecodeUtf8(std::string_view text, size_t* pos);
// Whether text is well-formed UTF-8 with at least one character beyond ASCII.
bool LooksLikeUtf8(std::string_view text);
std::string Utf8FromAnsi(std::string_view ansi);
// Characters the code page lacks, and malformed bytes, become "?".
std::string AnsiFromUtf8(std::string_view utf8);

} // namespace CodePage

// Windows-1252 bytes to and from Qt's text; characters outside the code page are dropped.
QString ToQString(std::string_view text);
std::string FromQString(const QString& text);
bool IsInCodePage(const QString& text);
