// An 8-bit picture held as one packed block: the 40-byte info header, a 256-entry colour
// table and the pixel rows, bottom row first, each padded to a multiple of 4 bytes.  The
// painter draws straight from the block.
#pragma once

#include "platform/CRect.h"
#include "platform/Gdi.h"

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <memory>

class QIODevice;
class QPainter;
class tDibPalette;

class tDib {
public:
    static constexpr int kHeaderSize = 40;
    static constexpr int kTableSize = 1024;
    static constexpr int kPixelOffset = kHeaderSize + kTableSize;
    // Larger pictures are refused: no picture of the program comes near this.
    static constexpr int kMaxSide = 16384;

    tDib();
    tDib(const tDib&) = delete;
    tDib& operator=(const tDib&) = delete;
    virtual ~tDib();

    virtual int GetWidth() const;
    virtual int GetHeight() const;
    // red + green * 256 + blue * 65536 of the pixel's table entry; entry 0 outside the picture.
    virtual COLORREF GetPixelColour(int x, int y) const;
    virtual CRect GetRect() const;
    // A blank width x height picture with a grey ramp for a colour table.
    virtual bool Create(int width, int height);
    // Reads a bitmap file from the device; the picture is unchanged when it fails.
    virtual bool Load(QIODevice& file);
    // Loads the named file, or asks for one when path is null or empty.  Failures are shown.
    virtual bool Load(const char* path);
    virtual bool MapToPalette(const tDibPalette* palette);
    virtual void CopyTo(tDib& target, int x, int y, int width, int height, int sourceX, int sourceY,
                        int transparent) const;
    // Stretched into destination, nearest neighbour.
    virtual void Draw(QPainter* painter, CRect destination);
    virtual void Draw(QPainter* painter, int x, int y);
    virtual void Draw(QPainter* painter, QPoint point);
    // Natural size in the middle of area, cropped to its middle part when larger.
    virtual void DrawCentred(QPainter* painter, const CRect* area);

    void DrawPart(QPainter* painter, CRect source, CRect destination);
    void Redraw(QPainter* painter);

    // The colour-count rule, applied to an info header of at least 40 bytes.
    static int GetColourCount(const uint8_t* header);
    int GetColourCount() const { return GetColourCount(m_Block.get()); }
    uint8_t* GetPixelAddress(int x, int y);
    const uint8_t* GetPixelAddress(int x, int y) const;
    int GetPixelIndex(int x, int y) const;
    int GetStride() const { return StrideOf(GetWidth()); }
    const uint8_t* GetColourTable() const { return m_Block.get() + kHeaderSize; }
    uint8_t* GetColourTable() { return m_Block.get() + kHeaderSize; }
    const uint8_t* GetPixels() const { return m_Block.get() + kPixelOffset; }
    uint8_t* GetPixels() { return m_Block.get() + kPixelOffset; }
    // The image the painter draws: the block's own rows, bottom row first.
    const QImage& Image() const { return m_Image; }

    CRect m_SourceRect; // source of the last drawing, y counted from the top
    CRect m_DestRect;   // destination of the last drawing

private:
    static int StrideOf(int width) { return (width + 3) & ~3; }
    void Adopt(std::unique_ptr<uint8_t[]> block);
    void DrawFlipped(QPainter& painter, const CRect& source, const CRect& destination) const;
    void UpdateColourTable();

    std::unique_ptr<uint8_t[]> m_Block;
    QImage m_Image;
};
