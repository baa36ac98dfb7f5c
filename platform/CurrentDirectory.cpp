#include "platform/CurrentDirectory.h"

#include "platform/tWorkStep.h"

#include <algorithm>
#include <climits>
#include <unistd.h>

std::string GetCurrentDirectory() {
    // No length limit: a cut path would name a different folder.
    std::string buffer(PATH_MAX, '\0');
    while (!getcwd(buffer.data(), buffer.size())) {
        if (buffer.size() > (1u << 20))
            return ".";
        buffer.resize(buffer.size() * 2);
    }
    buffer.resize(buffer.find('\0'));
    return buffer;
}

std::string FullPath(const std::string& relative) {
    std::string directory = tWorkStep::CurrentDirectory();
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory + NativePath(relative);
}

std::string NativePath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}
