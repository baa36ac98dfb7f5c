#include "platform/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicFile {
namespace {

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Writing through a symbolic link replaces the file it points to, not the link.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (realpath(path.c_str(), resolved))
            return resolved;
    }
    return path;
}

// Root may write anything; a file whose write bits are all clear still counts as read-only,
// as the user meant it to.
bool ExistingFileWritable(const std::string& path, const struct stat& info) {
    return S_ISREG(info.st_mode) && (info.st_mode & 0222) != 0 && access(path.c_str(), W_OK) == 0;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

void SyncDirectory(const std::string& directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

std::optional<std::string> Read(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string contents;
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        contents.append(buffer, static_cast<size_t>(got));
    }
    close(fd);
    return contents;
}

bool CanReplace(const std::string& path) {
    const std::string target = ResolveTarget(path);
    struct stat info {};
    if (stat(target.c_str(), &info) == 0)
        return ExistingFileWritable(target, info);
    const std::string directory = DirectoryOf(target);
    return stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           access(directory.c_str(), W_OK) == 0;
}

bool Replace(const std::string& path, std::string_view contents) {
    const std::string target = ResolveTarget(path);
    mode_t mode = 0600; // a new file holds personal data
    struct stat info {};
    const bool exists = stat(target.c_str(), &info) == 0;
    if (exists) {
        if (!ExistingFileWritable(target, info))
            return false;
        mode = info.st_mode & 07777;
    }
    const std::string directory = DirectoryOf(target);
    const size_t slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = directory + "/." + base + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = fchmod(fd, mode) == 0;
    if (ok && exists && (info.st_uid != geteuid() || info.st_gid != getegid())) {
        // Keep the owner when root saves a user's file; failing that is harmless.
        [[maybe_unused]] const int ignored = fchown(fd, info.st_uid, info.st_gid);
    }
    ok = ok && WriteAll(fd, contents) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    SyncDirectory(directory);
    return true;
}

} // namespace AtomicFile
