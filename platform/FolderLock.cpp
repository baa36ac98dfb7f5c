#include "platform/FolderLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& file) {
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
}

// Never follows a link planted in the folder, never blocks on a pipe.
int OpenLockFile(const std::string& path) {
    const int fd =
        open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid()) {
        close(fd);
        errno = EACCES;
        return -1;
    }
    return fd;
}

} // namespace

FolderLock::FolderLock(const std::string& file, int timeoutMs) {
    m_Fd = OpenLockFile(FolderOf(file) + "/" + kSaveLockName);
    if (m_Fd < 0) {
        m_Fault = errno == ENOENT || errno == ENOTDIR ? tFileFault::NoFolder : tFileFault::ReadOnly;
        return;
    }
    for (int waited = 0;; waited += 5) {
        if (flock(m_Fd, LOCK_EX | LOCK_NB) == 0)
            return;
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= timeoutMs)
            break;
        const struct timespec pause = {0, 5 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    close(m_Fd);
    m_Fd = -1;
    m_Fault = tFileFault::Busy;
}

FolderLock::~FolderLock() {
    if (m_Fd >= 0)
        close(m_Fd); // closing releases the lock
}

bool FolderLock::HoldForever(const std::string& folder, const char* name) {
    const int fd = OpenLockFile(folder + "/" + name);
    if (fd < 0)
        return true; // a read-only folder: nobody can hold it
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return false;
    }
    return true; // the descriptor stays open for the rest of the run
}
