// Saves a picture of an X window (or of the whole screen) as PNG: used by the run script on a
// display without a screen, and by the desktop tests, which also ask how many colours it has.
//
//   zembrola_screenshot out.png [window-id] [--colours]
//   zembrola_screenshot --match picture.png x y width height rrggbb
//       prints how many of the rectangle's pixels, in percent, have that colour (within 8 a
//       channel): whether a window is in sight on a picture of the screen.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QSet>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Match(char** argv) {
    const QImage image = QImage(argv[2]).convertToFormat(QImage::Format_RGB32);
    const QRect area =
        QRect(std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]))
            .intersected(image.rect());
    const QRgb want = static_cast<QRgb>(std::strtoul(argv[7], nullptr, 16));
    const auto near = [](int a, int b) { return std::abs(a - b) <= 8; };
    long long matching = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            matching += near(qRed(pixel), qRed(want)) && near(qGreen(pixel), qGreen(want)) &&
                        near(qBlue(pixel), qBlue(want));
        }
    const long long all = static_cast<long long>(area.width()) * area.height();
    std::printf("%lld\n", all > 0 ? 100 * matching / all : 0);
    return image.isNull() ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 8 && std::strcmp(argv[1], "--match") == 0)
        return Match(argv);
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s out.png [window-id] [--colours]\n", argv[0]);
        return 2;
    }
    const WId window = argc > 2 ? static_cast<WId>(std::strtoull(argv[2], nullptr, 0)) : 0;
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    if (picture.isNull() || !picture.save(argv[1], "PNG"))
        return 1;
    if (argc > 3 && std::strcmp(argv[3], "--colours") == 0) {
        const QImage image = picture.toImage().convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y));
        std::printf("%lld\n", static_cast<long long>(colours.size()));
    }
    return 0;
}
