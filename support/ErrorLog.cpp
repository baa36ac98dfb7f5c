#include "support/ErrorLog.h"

#include "platform/DebugOutput.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string g_LogPath = MakeErrorLogPath(std::getenv("TMP"), std::getenv("TEMP"));

// The error indicator of the original C library's streams had this value.
constexpr int kStreamErrorCode = 32;

} // namespace

std::string MakeErrorLogPath(const char* tmp, const char* temp) {
    std::string path = tmp ? tmp : temp ? temp : ".";
    if (path.empty())
        return "Errors.log"; // an empty setting means the current directory, not the root
    if (path.back() != '\\' && path.back() != '/' && path.back() != ':')
        path += '/';
    return path + "Errors.log";
}

const char* ErrorLogPath() {
    return g_LogPath.c_str();
}

namespace {

// The log lies in a temporary folder that other users may write to as well.  It is opened
// without following a link planted there and without waiting on a pipe, and only a regular
// file of our own is written; a folder others may change files in (no sticky bit) is not used.
int OpenLog(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || ((info.st_mode & 022) && !(info.st_mode & S_ISVTX)))
        return -1;
    const int fd = open(path.c_str(),
                        O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0)
        return -1;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
        ftruncate(fd, 0) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

void ErrorLogWrite(const char* text, bool alsoDebugger) {
    const int fd = OpenLog(g_LogPath);
    if (fd >= 0) {
        const std::string line = std::string(text) + "\n";
        bool failed = write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size());
        failed = close(fd) != 0 || failed;
        if (failed) {
            char message[512];
            std::snprintf(message, sizeof message,
                          "*** Failed to write to log file '%s' (code %d)\n", g_LogPath.c_str(),
                          kStreamErrorCode);
            OutputDebugString(message);
        }
    }
    if (alsoDebugger)
        OutputDebugString(text);
}

void ErrorLogPrintf(const char* format, ...) {
    char buffer[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    ErrorLogWrite(buffer, true);
}

char* ErrorText(char* buffer, unsigned size, const char* format, ...) {
    if (size < 2)
        return buffer;
    va_list arguments;
    va_start(arguments, format);
    // Too long a message is cut so that its line feed still fits.
    std::vsnprintf(buffer, size - 1, format, arguments);
    va_end(arguments);
    std::strcat(buffer, "\n");
    ErrorLogWrite(buffer, false);
    return buffer;
}

void AssumptionFailed(const char* condition, const char* file, int line) {
    std::string source(file);
    const size_t slash = source.find_last_of("/\\");
    if (slash != std::string::npos)
        source.erase(0, slash + 1);
    const size_t dot = source.rfind('.');
    if (dot != std::string::npos)
        source.erase(dot);
    ErrorLogPrintf("Assumption '%s' failed in file '%s' line %d\n", condition, source.c_str(),
                   line);
}
