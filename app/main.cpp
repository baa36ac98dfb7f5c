// Zembrola: a birthday calendar in the system tray.  It takes nothing on its command line and
// works in Cal_Data/ below its current directory.
#include "app/tApp.h"

int main(int argc, char** argv) {
    tApp app(argc, argv);
    return app.Run();
}
