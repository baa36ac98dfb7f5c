// Ends a server the test started, by its process: asked first, killed if it does not go.
#pragma once

#include <QProcess>

namespace TestSupport {

inline void StopProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace TestSupport
