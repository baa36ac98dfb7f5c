// Starts Zembrola as the program does, over the data in the folder given, and prints the
// monotonic clock at the first paint of the calendar window and the number of shared objects
// loaded by then; then ends.  The start-up benchmark
// runs it as a process of its own.
#include "app/tApp.h"

#include <QPaintEvent>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
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

// The shared objects mapped into the process.
size_t SharedObjects() {
    std::ifstream maps("/proc/self/maps");
    std::set<std::string> objects;
    std::string line;
    while (std::getline(maps, line)) {
        const size_t path = line.find('/');
        if (path != std::string::npos && line.find(".so", path) != std::string::npos)
            objects.insert(line.substr(path));
    }
    return objects.size();
}

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
    std::printf("%lld %zu\n", now.tv_sec * 1000000000LL + now.tv_nsec, SharedObjects());
    return 0;
}
