#include "tools/Raster.h"

QImage RenderSmooth(int width, int height, QColor background,
                    const std::function<void(QPainter&)>& draw) {
    QImage big(width * kSupersample, height * kSupersample, QImage::Format_RGB32);
    big.fill(background);
    {
        QPainter painter(&big);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.scale(kSupersample, kSupersample);
        draw(painter);
    }
    QImage small(width, height, QImage::Format_RGB32);
    constexpr int samples = kSupersample * kSupersample;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int red = 0, green = 0, blue = 0;
            for (int sy = 0; sy < kSupersample; ++sy) {
                const QRgb* row =
                    reinterpret_cast<const QRgb*>(big.constScanLine(y * kSupersample + sy));
                for (int sx = 0; sx < kSupersample; ++sx) {
                    const QRgb pixel = row[x * kSupersample + sx];
                    red += qRed(pixel);
                    green += qGreen(pixel);
                    blue += qBlue(pixel);
                }
            }
            small.setPixel(x, y,
                           qRgb((red + samples / 2) / samples, (green + samples / 2) / samples,
                                (blue + samples / 2) / samples));
        }
    }
    return small;
}
