// Read faults for the tests, from outside the program: this test support defines the process's
// read(), which fails as asked for the files named and is the plain system call otherwise.
#include "tests/support/TestSupport.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
int g_Error = 0;
std::string g_NameEnd;
} // namespace

namespace TestSupport {

void InjectReadError(int error, const std::string& nameEnd) {
    g_Error = error;
    g_NameEnd = nameEnd;
}

} // namespace TestSupport

extern "C" ssize_t read(int fd, void* buffer, size_t size) {
    if (g_Error != 0) {
        char link[64];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        char path[4096];
        const ssize_t length = readlink(link, path, sizeof path);
        if (length > 0 &&
            std::string_view(path, static_cast<size_t>(length)).ends_with(g_NameEnd)) {
            errno = g_Error;
            return -1;
        }
    }
    return syscall(SYS_read, fd, buffer, size);
}
