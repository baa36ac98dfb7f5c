// One colour table for every picture of the installation, and 8-bit bitmap files that use it.
#pragma once

#include <QImage>
#include <QList>
#include <QRgb>
#include <string>
#include <vector>

// 236 colours (the ones the shared palette takes) chosen by median cut over all pictures, with
// the program's own interface colours kept exact.
std::vector<QRgb> BuildSharedColours(const std::vector<const QImage*>& pictures,
                                     const std::vector<QRgb>& exact);

// The nearest colour's index, for each pixel.
class tColourMapper {
public:
    explicit tColourMapper(const std::vector<QRgb>& colours) : m_Colours(colours) {}
    int Nearest(QRgb colour);

private:
    std::vector<QRgb> m_Colours;
    std::vector<std::pair<QRgb, int>> m_Cache; // sorted by colour
};

// An uncompressed 8-bit Windows bitmap with a 256-entry table (unused entries black).
std::string Bitmap8Bytes(const QImage& picture, tColourMapper& mapper,
                         const std::vector<QRgb>& colours);

// Median cut to count colours, for a small picture such as the 16-colour icon.
std::vector<QRgb> MedianCut(const std::vector<std::pair<QRgb, long long>>& histogram, int count);
