// Zembrola: a birthday calendar in the system tray.  It works in Cal_Data/ below its current
// directory; a few options do their work in the terminal instead of opening the window.
#include "app/CommandLine.h"
#include "app/tApp.h"

int main(int argc, char** argv) {
    if (const std::optional<int> status = RunCommandLine(argc, argv, stdout, stderr))
        return *status;
    tApp app(argc, argv);
    return app.Run();
}
