#include "tests/support/BitmapFile.h"

namespace TestSupport {
namespace {

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

uint32_t tBitmapFile::Colour(int index) {
    const uint32_t red = (10u * index) & 0xFF, green = (255u - 10u * index) & 0xFF,
                   blue = (5u * index) & 0xFF;
    return red | green << 8 | blue << 16;
}

std::string tBitmapFile::Bytes() const {
    std::string rows;
    if (m_Width > 0 && m_Height > 0 && m_Width < 4096 && m_Height < 4096) {
        const int stride = (m_Width * m_BitCount / 8 + 3) & ~3;
        rows.assign(static_cast<size_t>(stride) * m_Height, '\0');
        if (m_BitCount == 8)
            for (int y = 0; y < m_Height; ++y)
                for (int x = 0; x < m_Width; ++x)
                    rows[static_cast<size_t>(m_Height - 1 - y) * stride + x] =
                        static_cast<char>(IndexAt(x, y, m_Width));
    }
    const uint32_t tableOffset = 14 + m_HeaderSize;
    const uint32_t offBits = tableOffset + 4 * m_TableEntries;
    std::string out;
    out += "BM";
    Put32(out, static_cast<uint32_t>(offBits + rows.size()));
    Put32(out, 0);
    Put32(out, offBits);
    Put32(out, m_HeaderSize);
    Put32(out, static_cast<uint32_t>(m_Width));
    Put32(out, static_cast<uint32_t>(m_Height));
    Put16(out, 1);
    Put16(out, m_BitCount);
    Put32(out, m_Compression);
    Put32(out, static_cast<uint32_t>(rows.size()));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, m_ClrUsed);
    Put32(out, 0);
    out.resize(tableOffset, '\0');
    for (int i = 0; i < m_TableEntries; ++i) {
        const uint32_t colour = Colour(i);
        out += static_cast<char>((colour >> 16) & 0xFF);
        out += static_cast<char>((colour >> 8) & 0xFF);
        out += static_cast<char>(colour & 0xFF);
        out += '\0';
    }
    return out + rows;
}

} // namespace TestSupport
