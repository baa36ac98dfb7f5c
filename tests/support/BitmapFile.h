// Builds Windows bitmap files byte by byte, so the loader tests can make every kind of file,
// well-formed or not.
#pragma once

#include <cstdint>
#include <string>

namespace TestSupport {

struct tBitmapFile {
    int32_t m_Width = 4;
    int32_t m_Height = 3;
    uint16_t m_BitCount = 8;
    uint32_t m_Compression = 0;
    uint32_t m_ClrUsed = 0;
    uint32_t m_HeaderSize = 40; // a larger value writes a newer header of that size
    int m_TableEntries = 256;   // colour table entries written after the header

    // Colour table entry i: red 10 i, green 255 - 10 i, blue 5 i (mod 256).
    static uint32_t Colour(int index);
    // Generated pixels: the index of (x, y), y from the top, is 1 + y * width + x.
    static int IndexAt(int x, int y, int width) { return 1 + y * width + x; }

    std::string Bytes() const;
};

} // namespace TestSupport
