// Saves a picture of an X window (or of the whole screen) as PNG: used by the run script on a
// display without a screen, and by the desktop tests.
//
//   zembrola_screenshot out.png [window-id]
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s out.png [window-id]\n", argv[0]);
        return 2;
    }
    const WId window = argc > 2 ? static_cast<WId>(std::strtoull(argv[2], nullptr, 0)) : 0;
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(window);
    return !picture.isNull() && picture.save(argv[1], "PNG") ? 0 : 1;
}
