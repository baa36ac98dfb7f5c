#include "support/ErrorLog.h"

#include "platform/DebugOutput.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

void ErrorLogWrite(const char* text, bool alsoDebugger) {
    if (FILE* file = std::fopen(g_LogPath.c_str(), "wb")) {
        std::fprintf(file, "%s\n", text);
        std::fflush(file);
        const bool failed = std::ferror(file) != 0;
        std::fclose(file);
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
