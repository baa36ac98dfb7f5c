#include "platform/tProfileCache.h"

#include "platform/AtomicFile.h"
#include "platform/CurrentDirectory.h"
#include "platform/FolderLock.h"
#include "platform/tWorkStep.h"

#include <cerrno>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr long long kRecheckNs = 1000000000LL; // at least once a second

long long MonotonicNs() {
    struct timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

} // namespace

tProfileCache& tProfileCache::Instance() {
    static tProfileCache cache;
    return cache;
}

tProfileCache::~tProfileCache() {
    if (m_Notify >= 0)
        close(m_Notify);
}

tProfileCache::tIdentity tProfileCache::IdentityOf(const std::string& path) {
    tIdentity identity;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return identity;
    identity.m_Exists = true;
    identity.m_Device = info.st_dev;
    identity.m_Inode = info.st_ino;
    identity.m_Size = info.st_size;
    identity.m_ModifiedNs = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
    identity.m_ChangedNs = info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec;
    return identity;
}

void tProfileCache::TakeChangeReports() {
    if (m_Notify < 0)
        return;
    alignas(struct inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = read(m_Notify, buffer, sizeof buffer);
        if (got <= 0)
            return;  // nothing more reported (EAGAIN)
        ++m_Changes; // something changed in a watched folder: what was made of it is old
        for (ssize_t offset = 0; offset < got;) {
            const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + offset);
            for (auto& [path, entry] : m_Entries) {
                if ((event->mask & IN_Q_OVERFLOW) || entry.m_Watch == event->wd) {
                    entry.m_CheckedNs = 0;
                    if (event->mask & IN_IGNORED)
                        entry.m_Watch = -1; // the folder went away: watch again later
                }
            }
            offset += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
        }
    }
}

void tProfileCache::Watch(const std::string& path, tEntry& entry) {
    if (entry.m_Watch >= 0)
        return;
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
        return; // the file lives elsewhere: compare its identity every time
    if (m_Notify < 0)
        m_Notify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_Notify < 0)
        return;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    entry.m_Watch =
        inotify_add_watch(m_Notify, folder.c_str(),
                          IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE |
                              IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF);
}

const std::string& tProfileCache::NativeName(const char* fileName) {
    const char* name = fileName ? fileName : "";
    if (m_LastName != name) {
        m_LastName = name;
        // The program's own relative names are written with "\"; a full path is the folder's
        // real name, which may hold a "\" of its own.
        m_LastNative = name[0] == '/' ? m_LastName : NativePath(m_LastName);
    }
    return m_LastNative;
}

std::shared_ptr<const tProfileFile> tProfileCache::Get(const char* fileName) {
    const std::string& path = NativeName(fileName);
    // Once a step of work, or at every call outside one; not at all in a step the event loop
    // began, whose poll took them.
    const bool polled = m_LoopWatches && tWorkStep::LoopPolled();
    if (!polled && (!tWorkStep::Running() || m_ReportsStep != tWorkStep::Number())) {
        TakeChangeReports();
        m_ReportsStep = tWorkStep::Running() ? tWorkStep::Number() : 0;
    }
    const long long now = MonotonicNs();
    auto found = m_Entries.find(path);
    if (found != m_Entries.end() && found->second.m_Fault == tFileFault::None) {
        tEntry& entry = found->second;
        if (entry.m_Watch >= 0 && entry.m_CheckedNs != 0 && now - entry.m_CheckedNs < kRecheckNs)
            return entry.m_File; // nothing changed in the file's folder
        if (entry.m_Identity == IdentityOf(path)) {
            entry.m_CheckedNs = now;
            Watch(path, entry);
            return entry.m_File;
        }
    }

    const tIdentity identity = IdentityOf(path);
    tFileFault fault = tFileFault::None;
    std::optional<std::string> contents;
    struct stat info {};
    if (identity.m_Exists ||
        (stat(path.c_str(), &info) != 0 && errno != ENOENT && errno != ENOTDIR))
        contents = AtomicFile::Read(path, &fault);
    std::shared_ptr<const tProfileFile> file;
    if (contents) {
        try {
            file = std::make_shared<const tProfileFile>(tProfileFile::Parse(std::move(*contents)));
        } catch (const std::exception&) {
            fault = tFileFault::Unreadable; // larger than it can hold in memory
        }
    }
    if (!file)
        file = std::make_shared<const tProfileFile>();
    ++m_Changes;
    tEntry& entry = m_Entries[path];
    entry.m_Identity = identity;
    entry.m_File = file;
    entry.m_Fault = fault;
    entry.m_CheckedNs = now;
    Watch(path, entry);
    return file;
}

tFileFault tProfileCache::ReadFault(const char* fileName) {
    Get(fileName);
    const auto found = m_Entries.find(NativeName(fileName));
    return found == m_Entries.end() ? tFileFault::None : found->second.m_Fault;
}

tFileFault tProfileCache::Edit(const char* fileName, const std::function<bool(tProfileFile&)>& edit,
                               const std::function<tFileFault()>& afterWrite) {
    const std::string path = NativeName(fileName);
    const std::string target = AtomicFile::ResolveTarget(path);
    // A file that cannot be read says so first, whatever else is wrong.
    if (const tFileFault fault = ReadFault(fileName); fault != tFileFault::None)
        return fault;
    if (const tFileFault fault = AtomicFile::CanReplace(target); fault != tFileFault::None)
        return fault;
    FolderLock lock(target);
    if (lock.Fault() != tFileFault::None)
        return lock.Fault();
    // Another program may have saved a moment ago: look at the file itself, not the reports.
    if (auto found = m_Entries.find(path); found != m_Entries.end())
        found->second.m_CheckedNs = 0;
    std::shared_ptr<const tProfileFile> current = Get(fileName);
    tEntry& entry = m_Entries[path];
    if (entry.m_Fault != tFileFault::None)
        return entry.m_Fault;
    ++m_Changes;
    // Nobody else holds the parsed copy between two calls: change it in place.
    auto file = std::const_pointer_cast<tProfileFile>(current);
    current.reset();
    entry.m_File.reset();
    if (file.use_count() > 1)
        file = std::make_shared<tProfileFile>(*file);
    bool changed = false;
    try {
        changed = edit(*file);
    } catch (const std::exception&) {
        m_Entries.erase(path); // half changed, perhaps: read the file again
        return tFileFault::WriteFailed;
    }
    if (!changed) {
        entry.m_File = file;
        const tFileFault fault = AtomicFile::CanReplace(target);
        return fault == tFileFault::None && afterWrite ? afterWrite() : fault;
    }
    if (!file->KeepsItsForm()) {
        m_Entries.erase(path); // the change stays unwritten: read the file again
        return tFileFault::NotStorable;
    }
    const tFileFault fault = AtomicFile::Replace(
        target, [&file](const AtomicFile::tSink& sink) { return file->Write(sink); });
    if (fault != tFileFault::None) {
        m_Entries.erase(path); // the file on disk is still the old one: read it again
        return fault;
    }
    entry.m_Identity = IdentityOf(path);
    entry.m_File = file;
    entry.m_CheckedNs = 0; // our own write is reported too; compare once more
    Watch(path, entry);
    return afterWrite ? afterWrite() : tFileFault::None;
}

void tProfileCache::Clear() {
    ++m_Changes;
    // A descriptor an event loop watches stays open: only the watches go.
    for (const auto& [path, entry] : m_Entries)
        if (m_LoopWatches && entry.m_Watch >= 0)
            inotify_rm_watch(m_Notify, entry.m_Watch);
    m_Entries.clear();
    m_LastName.clear();
    m_LastNative.clear();
    if (m_Notify >= 0 && !m_LoopWatches) {
        close(m_Notify);
        m_Notify = -1;
    }
    TakeChangeReports(); // the removals' own reports
}

int tProfileCache::ReportDescriptor() {
    if (m_Notify < 0)
        m_Notify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    m_LoopWatches = m_Notify >= 0;
    return m_Notify;
}
