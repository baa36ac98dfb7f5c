#include "image/tDibPalette.h"

#include "image/tDib.h"

namespace {

// The colours Windows keeps in the first and last ten entries of every palette.
constexpr uint8_t kStaticColours[20][3] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};

} // namespace

bool tDibPalette::CreateFromDib(const tDib& picture) {
    if (picture.GetColourCount() == 0)
        return false;
    for (int i = 0; i < 10; ++i) {
        m_Entries[static_cast<size_t>(i)] = {kStaticColours[i][0], kStaticColours[i][1],
                                             kStaticColours[i][2], 0};
        m_Entries[static_cast<size_t>(246 + i)] = {
            kStaticColours[10 + i][0], kStaticColours[10 + i][1], kStaticColours[10 + i][2], 0};
    }
    const uint8_t* table = picture.GetColourTable();
    for (int i = 0; i < 236; ++i) {
        const uint8_t* quad = table + 4 * i; // blue, green, red, reserved
        m_Entries[static_cast<size_t>(10 + i)] = {quad[2], quad[1], quad[0], PC_NOCOLLAPSE};
    }
    m_Created = true;
    return true;
}

int tDibPalette::GetNearestPaletteIndex(COLORREF colour) const {
    const int red = static_cast<int>(colour & 0xFF);
    const int green = static_cast<int>((colour >> 8) & 0xFF);
    const int blue = static_cast<int>((colour >> 16) & 0xFF);
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < GetEntryCount(); ++i) {
        const PALETTEENTRY& entry = m_Entries[static_cast<size_t>(i)];
        const int dr = entry.peRed - red, dg = entry.peGreen - green, db = entry.peBlue - blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}
