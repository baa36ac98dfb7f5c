#include "image/tDib.h"

#include "image/tDibPalette.h"
#include "platform/CurrentDirectory.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

#include <QFile>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace {

// Offsets in the info header.
constexpr int kSize = 0, kWidth = 4, kHeight = 8, kBitCount = 14, kCompression = 16, kClrUsed = 32;
constexpr int kFileHeaderSize = 14;

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
void WriteU32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

bool ReadExactly(QIODevice& file, void* buffer, qint64 size) {
    return size == 0 || file.read(static_cast<char*>(buffer), size) == size;
}

void ShowFailure(const std::string& name) {
    AfxMessageBox("Failed to open file " + name + "\n");
}

} // namespace

tDib::tDib() {
    Create(16, 16);
    m_SourceRect = m_DestRect = CRect(0, 0, 16, 16);
}

tDib::~tDib() = default;

int tDib::GetWidth() const {
    return static_cast<int>(ReadU32(m_Block.get() + kWidth));
}

int tDib::GetHeight() const {
    return static_cast<int>(ReadU32(m_Block.get() + kHeight));
}

CRect tDib::GetRect() const {
    return CRect(0, 0, GetWidth(), GetHeight());
}

int tDib::GetColourCount(const uint8_t* header) {
    int bits = 0;
    if (ReadU32(header + kSize) == kHeaderSize) {
        bits = ReadU16(header + kBitCount);
        if (const uint32_t used = ReadU32(header + kClrUsed); used != 0)
            return used > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(used);
    } else {
        bits = ReadU16(header + 10); // where a 12-byte core header keeps its bit count
    }
    return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
}

const uint8_t* tDib::GetPixelAddress(int x, int y) const {
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return nullptr;
    return GetPixels() + static_cast<size_t>(GetHeight() - y - 1) * GetStride() + x;
}

uint8_t* tDib::GetPixelAddress(int x, int y) {
    return const_cast<uint8_t*>(static_cast<const tDib*>(this)->GetPixelAddress(x, y));
}

int tDib::GetPixelIndex(int x, int y) const {
    const uint8_t* pixel = GetPixelAddress(x, y);
    return pixel ? *pixel : 0;
}

COLORREF tDib::GetPixelColour(int x, int y) const {
    const uint8_t* quad = GetColourTable() + 4 * GetPixelIndex(x, y);
    return static_cast<COLORREF>(quad[2]) | static_cast<COLORREF>(quad[1]) << 8 |
           static_cast<COLORREF>(quad[0]) << 16;
}

void tDib::Adopt(std::unique_ptr<uint8_t[]> block) {
    m_Block = std::move(block);
    // The image is a view of the block's rows: drawing reads the pixels where they are.
    m_Image = QImage(GetPixels(), GetWidth(), GetHeight(), GetStride(), QImage::Format_Indexed8);
    UpdateColourTable();
}

void tDib::UpdateColourTable() {
    QList<QRgb> colours(256);
    const uint8_t* table = GetColourTable();
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(table[4 * i + 2], table[4 * i + 1], table[4 * i]);
    m_Image.setColorTable(colours);
}

bool tDib::Create(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return false;
    const size_t size = kPixelOffset + static_cast<size_t>(StrideOf(width)) * height;
    // The old picture stays until the new one exists, so a failure leaves a usable picture.
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[size]());
    if (!block)
        return false;
    uint8_t* header = block.get();
    WriteU32(header + kSize, kHeaderSize);
    WriteU32(header + kWidth, static_cast<uint32_t>(width));
    WriteU32(header + kHeight, static_cast<uint32_t>(height));
    header[12] = 1; // planes
    header[kBitCount] = 8;
    uint8_t* table = header + kHeaderSize;
    for (int i = 0; i < 256; ++i)
        table[4 * i] = table[4 * i + 1] = table[4 * i + 2] = static_cast<uint8_t>(i);
    const int stride = StrideOf(width);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = block.get() + kPixelOffset + static_cast<size_t>(height - y - 1) * stride;
        std::memset(row, 256 * y / height, static_cast<size_t>(width));
    }
    Adopt(std::move(block));
    return true;
}

bool tDib::Load(QIODevice& file) {
    uint8_t fileHeader[kFileHeaderSize];
    uint8_t header[kHeaderSize];
    if (!ReadExactly(file, fileHeader, sizeof fileHeader) ||
        !ReadExactly(file, header, sizeof header))
        return false;
    const int colours = GetColourCount(header);
    const int32_t width = static_cast<int32_t>(ReadU32(header + kWidth));
    const int32_t height = static_cast<int32_t>(ReadU32(header + kHeight));
    // No file may make the loader read or write outside its block, nor ask for a huge one.
    if (colours > 256 || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return false;
    const uint32_t pixelOffset = ReadU32(fileHeader + 10);
    const qint64 pixelBytes = static_cast<qint64>(StrideOf(width)) * height;
    if (!file.isSequential() && pixelOffset + pixelBytes > file.size())
        return false; // too short for its pixels: known before allocating them

    std::unique_ptr<uint8_t[]> block(new (std::nothrow)
                                         uint8_t[kPixelOffset + static_cast<size_t>(pixelBytes)]());
    if (!block)
        return false;
    std::memcpy(block.get(), header, kHeaderSize);
    WriteU32(block.get() + kClrUsed, 256);
    if (!ReadExactly(file, block.get() + kHeaderSize, 4LL * colours))
        return false;
    if (!file.seek(pixelOffset) || !ReadExactly(file, block.get() + kPixelOffset, pixelBytes))
        return false;
    if (ReadU16(header + kBitCount) != 8) {
        AfxMessageBox("Only 8 bit DIBs are supported");
        return false;
    }
    if (ReadU32(header + kCompression) != 0) {
        AfxMessageBox("Compressed (RLE) DIBs are not supported");
        return false;
    }
    Adopt(std::move(block));
    m_SourceRect = m_DestRect = GetRect();
    return true;
}

bool tDib::Load(const char* path) {
    std::string name;
    if (path && *path) {
        name = path;
    } else {
        const std::optional<std::string> chosen =
            GetOpenFileName("Image files (*.DIB, *.BMP)|*.DIB;*.BMP|All files (*.*)|*.*||");
        if (!chosen)
            return false;
        name = *chosen;
    }
    QFile file(QString::fromLocal8Bit(NativePath(name)));
    if (!file.open(QIODevice::ReadOnly)) {
        ShowFailure(name);
        return false;
    }
    const bool loaded = Load(file);
    file.close();
    if (!loaded)
        ShowFailure(name);
    return loaded;
}

bool tDib::MapToPalette(const tDibPalette* palette) {
    if (!palette || !palette->IsCreated())
        return false;
    uint8_t translation[256];
    uint8_t* table = GetColourTable();
    for (int i = 0; i < 256; ++i) {
        const COLORREF colour = static_cast<COLORREF>(table[4 * i + 2]) |
                                static_cast<COLORREF>(table[4 * i + 1]) << 8 |
                                static_cast<COLORREF>(table[4 * i]) << 16;
        translation[i] = static_cast<uint8_t>(palette->GetNearestPaletteIndex(colour));
    }
    uint8_t* pixels = GetPixels();
    const size_t count = static_cast<size_t>(GetStride()) * GetHeight();
    for (size_t i = 0; i < count; ++i)
        pixels[i] = translation[pixels[i]];
    for (int i = 0; i < palette->GetEntryCount(); ++i) {
        const PALETTEENTRY& entry = palette->GetEntry(i);
        table[4 * i] = entry.peBlue;
        table[4 * i + 1] = entry.peGreen;
        table[4 * i + 2] = entry.peRed;
    }
    UpdateColourTable();
    return true;
}

void tDib::CopyTo(tDib& target, int x, int y, int width, int height, int sourceX, int sourceY,
                  int transparent) const {
    // Clipped to both pictures, so a block reaching outside either copies only what overlaps.
    const CRect wanted(sourceX, sourceY, sourceX + width, sourceY + height);
    const CRect inTarget(sourceX - x, sourceY - y, sourceX - x + target.GetWidth(),
                         sourceY - y + target.GetHeight());
    const CRect block = CRect::Intersection(CRect::Intersection(wanted, GetRect()), inTarget);
    if (block.IsRectEmpty())
        return;
    const int dx = x - sourceX, dy = y - sourceY;
    for (int row = block.bottom - 1; row >= block.top; --row) {
        const uint8_t* from = GetPixelAddress(block.left, row);
        uint8_t* to = target.GetPixelAddress(block.left + dx, row + dy);
        for (int column = 0; column < block.Width(); ++column)
            if (transparent == -1 || from[column] != static_cast<uint8_t>(transparent))
                to[column] = from[column];
    }
}

void tDib::DrawFlipped(QPainter& painter, const CRect& source, const CRect& destination) const {
    // The rows lie bottom row first: draw them through a vertical flip onto destination.
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setTransform(QTransform(1, 0, 0, -1, 0, destination.top + destination.bottom), true);
    painter.drawImage(
        QRectF(destination.left, destination.top, destination.Width(), destination.Height()),
        m_Image, QRectF(source.left, GetHeight() - source.bottom, source.Width(), source.Height()));
    painter.restore();
}

void tDib::DrawPart(QPainter* painter, CRect source, CRect destination) {
    source = CRect::Intersection(source, GetRect());
    if (source.IsRectEmpty())
        return;
    if (painter) {
        if (source.Width() == destination.Width() && source.Height() == destination.Height()) {
            // Qt hands an image of more than about 96 rows to low-priority helper threads and
            // waits for them; in bands the drawing stays on this thread and takes half the time.
            constexpr int kBand = 64;
            for (int top = 0; top < source.Height(); top += kBand) {
                const int rows = std::min(kBand, source.Height() - top);
                DrawFlipped(
                    *painter,
                    CRect(source.left, source.top + top, source.right, source.top + top + rows),
                    CRect(destination.left, destination.top + top, destination.right,
                          destination.top + top + rows));
            }
        } else {
            DrawFlipped(*painter, source, destination);
        }
    }
    m_SourceRect = source;
    m_DestRect = destination;
}

void tDib::Redraw(QPainter* painter) {
    DrawPart(painter, m_SourceRect, m_DestRect);
}

void tDib::Draw(QPainter* painter, CRect destination) {
    DrawPart(painter, GetRect(), destination);
}

void tDib::Draw(QPainter* painter, int x, int y) {
    Draw(painter, CRect(x, y, x + GetWidth(), y + GetHeight()));
}

void tDib::Draw(QPainter* painter, QPoint point) {
    Draw(painter, point.x(), point.y());
}

namespace {

// One axis of centring: a picture of size in an area: where its part goes, and which part.
void Centre(int size, int areaBegin, int areaEnd, int* sourceBegin, int* sourceEnd,
            int* destinationBegin, int* destinationEnd) {
    const int difference = (areaEnd - areaBegin - size) / 2;
    if (difference >= 0) {
        *sourceBegin = 0, *sourceEnd = size;
        *destinationBegin = areaBegin + difference, *destinationEnd = *destinationBegin + size;
    } else {
        *sourceBegin = -difference, *sourceEnd = size + difference;
        *destinationBegin = areaBegin, *destinationEnd = areaEnd;
    }
}

} // namespace

void tDib::DrawCentred(QPainter* painter, const CRect* area) {
    Centre(GetWidth(), area->left, area->right, &m_SourceRect.left, &m_SourceRect.right,
           &m_DestRect.left, &m_DestRect.right);
    Centre(GetHeight(), area->top, area->bottom, &m_SourceRect.top, &m_SourceRect.bottom,
           &m_DestRect.top, &m_DestRect.bottom);
    Redraw(painter);
}
