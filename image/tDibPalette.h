// The one palette every picture is drawn with, built from the reference picture.  On a
// true-colour display selecting it changes nothing; it still answers nearest-colour queries.
#pragma once

#include "platform/Gdi.h"

#include <array>
#include <cstdint>

class tDib;

struct PALETTEENTRY {
    uint8_t peRed = 0;
    uint8_t peGreen = 0;
    uint8_t peBlue = 0;
    uint8_t peFlags = 0;
};

class tDibPalette {
public:
    static constexpr uint8_t PC_NOCOLLAPSE = 4;

    // Entries 10 to 245 take the picture's colours 0 to 235; the rest are the display's
    // twenty static colours.
    bool CreateFromDib(const tDib& picture);
    bool IsCreated() const { return m_Created; }
    int GetEntryCount() const { return m_Created ? 256 : 0; }
    const PALETTEENTRY& GetEntry(int index) const { return m_Entries[static_cast<size_t>(index)]; }
    // The index of the colour nearest to (red, green, blue); the lowest index on a tie.
    int GetNearestPaletteIndex(COLORREF colour) const;
    // Selecting and realising on a true-colour display: no entry changes.
    int RealizePalette() const { return 0; }

private:
    std::array<PALETTEENTRY, 256> m_Entries{};
    bool m_Created = false;
};
