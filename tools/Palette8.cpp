#include "tools/Palette8.h"

#include <algorithm>
#include <map>

namespace {

struct tBox {
    std::vector<std::pair<QRgb, long long>> m_Colours;
    long long Weight() const {
        long long weight = 0;
        for (const auto& entry : m_Colours)
            weight += entry.second;
        return weight;
    }
    // The channel with the widest range, and that range.
    int WidestChannel(int* range) const {
        int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
        for (const auto& [colour, weight] : m_Colours) {
            const int channels[3] = {qRed(colour), qGreen(colour), qBlue(colour)};
            for (int c = 0; c < 3; ++c) {
                low[c] = std::min(low[c], channels[c]);
                high[c] = std::max(high[c], channels[c]);
            }
        }
        int best = 0;
        for (int c = 1; c < 3; ++c)
            if (high[c] - low[c] > high[best] - low[best])
                best = c;
        *range = high[best] - low[best];
        return best;
    }
    QRgb Mean() const {
        long long red = 0, green = 0, blue = 0, weight = 0;
        for (const auto& [colour, count] : m_Colours) {
            red += qRed(colour) * count;
            green += qGreen(colour) * count;
            blue += qBlue(colour) * count;
            weight += count;
        }
        return qRgb(static_cast<int>((red + weight / 2) / weight),
                    static_cast<int>((green + weight / 2) / weight),
                    static_cast<int>((blue + weight / 2) / weight));
    }
};

int Channel(QRgb colour, int channel) {
    return channel == 0 ? qRed(colour) : channel == 1 ? qGreen(colour) : qBlue(colour);
}

int Distance(QRgb a, QRgb b) {
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    // Green counts most and blue least to the eye.
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

} // namespace

std::vector<QRgb> MedianCut(const std::vector<std::pair<QRgb, long long>>& histogram, int count) {
    std::vector<tBox> boxes(1);
    boxes[0].m_Colours = histogram;
    while (static_cast<int>(boxes.size()) < count) {
        // Split the box with the most weight times range; stop when nothing can be split.
        int chosen = -1;
        long long bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            int range = 0;
            boxes[i].WidestChannel(&range);
            const long long score = boxes[i].m_Colours.size() > 1 ? boxes[i].Weight() * range : 0;
            if (score > bestScore) {
                bestScore = score;
                chosen = static_cast<int>(i);
            }
        }
        if (chosen < 0)
            break;
        tBox& box = boxes[static_cast<size_t>(chosen)];
        int range = 0;
        const int channel = box.WidestChannel(&range);
        std::sort(box.m_Colours.begin(), box.m_Colours.end(),
                  [channel](const auto& a, const auto& b) {
                      const int ca = Channel(a.first, channel), cb = Channel(b.first, channel);
                      return ca != cb ? ca < cb : a.first < b.first;
                  });
        const long long half = box.Weight() / 2;
        long long running = 0;
        size_t cut = 1;
        for (; cut < box.m_Colours.size() - 1; ++cut) {
            running += box.m_Colours[cut - 1].second;
            if (running >= half)
                break;
        }
        tBox upper;
        upper.m_Colours.assign(box.m_Colours.begin() + static_cast<std::ptrdiff_t>(cut),
                               box.m_Colours.end());
        box.m_Colours.resize(cut);
        boxes.push_back(std::move(upper));
    }
    std::vector<QRgb> colours;
    for (const tBox& box : boxes)
        colours.push_back(box.Mean());
    return colours;
}

std::vector<QRgb> BuildSharedColours(const std::vector<const QImage*>& pictures,
                                     const std::vector<QRgb>& exact) {
    std::map<QRgb, long long> counts;
    for (const QImage* picture : pictures)
        for (int y = 0; y < picture->height(); ++y)
            for (int x = 0; x < picture->width(); ++x)
                ++counts[picture->pixel(x, y) | 0xFF000000u];
    for (QRgb colour : exact)
        counts.erase(colour | 0xFF000000u);
    const std::vector<std::pair<QRgb, long long>> histogram(counts.begin(), counts.end());
    std::vector<QRgb> colours = exact;
    for (QRgb colour : MedianCut(histogram, 236 - static_cast<int>(exact.size())))
        colours.push_back(colour);
    // A stable order: dark to light.
    std::stable_sort(colours.begin() + static_cast<std::ptrdiff_t>(exact.size()), colours.end(),
                     [](QRgb a, QRgb b) { return qGray(a) < qGray(b); });
    return colours;
}

int tColourMapper::Nearest(QRgb colour) {
    colour |= 0xFF000000u;
    auto found = std::lower_bound(m_Cache.begin(), m_Cache.end(), std::make_pair(colour, -1));
    if (found != m_Cache.end() && found->first == colour)
        return found->second;
    int best = 0;
    for (size_t i = 1; i < m_Colours.size(); ++i)
        if (Distance(colour, m_Colours[i]) < Distance(colour, m_Colours[static_cast<size_t>(best)]))
            best = static_cast<int>(i);
    m_Cache.insert(found, {colour, best});
    return best;
}

std::string Bitmap8Bytes(const QImage& picture, tColourMapper& mapper,
                         const std::vector<QRgb>& colours) {
    const int width = picture.width(), height = picture.height();
    const int stride = (width + 3) & ~3;
    const uint32_t offBits = 14 + 40 + 1024;
    const uint32_t imageSize = static_cast<uint32_t>(stride * height);
    std::string out;
    auto put16 = [&out](uint32_t v) {
        out += static_cast<char>(v & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
    };
    auto put32 = [&put16](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    out += "BM";
    put32(offBits + imageSize);
    put32(0);
    put32(offBits);
    put32(40);
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));
    put16(1);
    put16(8);
    put32(0);
    put32(imageSize);
    put32(3780); // 96 pixels per inch
    put32(3780);
    put32(256);
    put32(0);
    for (int i = 0; i < 256; ++i) {
        const QRgb colour =
            i < static_cast<int>(colours.size()) ? colours[static_cast<size_t>(i)] : 0;
        out += static_cast<char>(qBlue(colour));
        out += static_cast<char>(qGreen(colour));
        out += static_cast<char>(qRed(colour));
        out += '\0';
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x)
            out += static_cast<char>(mapper.Nearest(picture.pixel(x, y)));
        out.append(static_cast<size_t>(stride - width), '\0');
    }
    return out;
}
