// Starts Zembrola as the program does, over the data in the folder given, and prints the
// monotonic clock at the first paint of the calendar window; then ends.  The start-up benchmark
// runs it as a process of its own.
#include "app/tApp.h"

#include <QPaintEvent>
#include <cstdio>
#include <time.h>
#include <unistd.h>

namespace {

class tFirstPaint : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            m_Painted = true;
        return false;
    }
    bool m_Painted = false;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || chdir(argv[1]) != 0)
        return 2;
    tApp app(argc, argv);
    tFirstPaint watch;
    app.m_MainFrame.installEventFilter(&watch);
    if (!app.InitInstance())
        return 3;
    while (!watch.m_Painted)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    struct timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld\n", now.tv_sec * 1000000000LL + now.tv_nsec);
    return 0;
}
