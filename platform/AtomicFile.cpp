#include "platform/AtomicFile.h"

#include "platform/Joined.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
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

std::string BaseOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The temporary files of a save: ".DataFile.txt.XXXXXX" beside "DataFile.txt".
std::string TemporaryPrefix(const std::string& target) {
    return Joined({".", BaseOf(target), "."});
}

// Root may write anything; a file whose write bits are all clear still counts as read-only,
// as the user meant it to.
bool ExistingFileWritable(const std::string& path, const struct stat& info) {
    return (info.st_mode & 0222) != 0 && access(path.c_str(), W_OK) == 0;
}

tFileFault FaultOfErrno(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return tFileFault::NoFolder;
    case EACCES:
    case EPERM:
    case EROFS:
        return tFileFault::ReadOnly;
    default:
        return tFileFault::WriteFailed;
    }
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

std::string ResolveTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        std::string link(PATH_MAX, '\0');
        const ssize_t length = readlink(current.c_str(), link.data(), link.size());
        if (length <= 0)
            return current;
        link.resize(static_cast<size_t>(length));
        current = link.front() == '/' ? link : DirectoryOf(current) + "/" + link;
    }
    return current; // a loop: opening it fails and says so
}

std::optional<std::string> Read(const std::string& path, tFileFault* fault) {
    tFileFault ignored;
    tFileFault& result = fault ? *fault : ignored;
    result = tFileFault::None;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            result = errno == ENXIO ? tFileFault::NotRegular : tFileFault::Unreadable;
        return std::nullopt;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        result = tFileFault::NotRegular;
        return std::nullopt;
    }
    std::string contents;
    contents.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            close(fd);
            result = tFileFault::Unreadable;
            return std::nullopt;
        }
        if (got == 0)
            break;
        contents.append(buffer, static_cast<size_t>(got));
    }
    close(fd);
    return contents;
}

tFileFault CanReplace(const std::string& path) {
    const std::string target = ResolveTarget(path);
    struct stat info {};
    if (stat(target.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return tFileFault::NotRegular;
        if (!ExistingFileWritable(target, info))
            return tFileFault::ReadOnly;
        return info.st_uid != geteuid() && geteuid() != 0 ? tFileFault::Owner : tFileFault::None;
    }
    const std::string directory = DirectoryOf(target);
    if (stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return tFileFault::NoFolder;
    return access(directory.c_str(), W_OK) == 0 ? tFileFault::None : tFileFault::ReadOnly;
}

tFileFault Replace(const std::string& path, const tWriter& writer) {
    const std::string target = ResolveTarget(path);
    mode_t mode = 0600; // a new file holds personal data
    struct stat info {};
    const bool exists = stat(target.c_str(), &info) == 0;
    if (exists) {
        if (!S_ISREG(info.st_mode))
            return tFileFault::NotRegular;
        if (!ExistingFileWritable(target, info))
            return tFileFault::ReadOnly;
        // Another user's file would become ours: only root can give it back.
        if (info.st_uid != geteuid() && geteuid() != 0)
            return tFileFault::Owner;
        mode = info.st_mode & 07777;
    }
    const std::string directory = DirectoryOf(target);
    std::string temporary = directory + "/" + TemporaryPrefix(target) + "XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return FaultOfErrno(errno);
    tFileFault fault = tFileFault::None;
    if (exists && (info.st_uid != geteuid() || info.st_gid != getegid()) &&
        fchown(fd, info.st_uid, info.st_gid) != 0)
        fault = tFileFault::Owner;
    if (fault == tFileFault::None && fchmod(fd, mode) != 0)
        fault = tFileFault::WriteFailed;
    if (fault == tFileFault::None &&
        !(writer([fd](std::string_view piece) { return WriteAll(fd, piece); }) && fsync(fd) == 0))
        fault = tFileFault::WriteFailed;
    if (close(fd) != 0 && fault == tFileFault::None)
        fault = tFileFault::WriteFailed;
    if (fault == tFileFault::None && rename(temporary.c_str(), target.c_str()) != 0)
        fault = FaultOfErrno(errno);
    if (fault != tFileFault::None) {
        unlink(temporary.c_str());
        return fault;
    }
    SyncDirectory(directory);
    return tFileFault::None;
}

tFileFault Replace(const std::string& path, std::string_view contents) {
    return Replace(path, [contents](const tSink& sink) { return sink(contents); });
}

void RemoveLeftovers(const std::string& path) {
    const std::string target = ResolveTarget(path);
    const std::string directory = DirectoryOf(target);
    const std::string prefix = TemporaryPrefix(target);
    DIR* folder = opendir(directory.c_str());
    if (!folder)
        return;
    const int folderFd = dirfd(folder);
    while (const struct dirent* entry = readdir(folder)) {
        const std::string_view name(entry->d_name);
        // Exactly what mkostemp makes from our pattern, a regular file of our own.
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix))
            continue;
        struct stat info {};
        if (fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == geteuid())
            unlinkat(folderFd, entry->d_name, 0);
    }
    closedir(folder);
}

} // namespace AtomicFile
