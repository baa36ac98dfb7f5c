// Saves a picture of an X window (or of the whole screen) as PNG: used by the run script on a
// display without a screen, and by the desktop tests, which also ask how many colours it has.
//
//   zembrola_screenshot out.png [window-id] [--colours]
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSet>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
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
