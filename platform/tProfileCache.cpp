#include "platform/tProfileCache.h"

#include "platform/AtomicFile.h"

#include <sys/stat.h>

tProfileCache& tProfileCache::Instance() {
    static tProfileCache cache;
    return cache;
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

std::shared_ptr<const tProfileFile> tProfileCache::Get(const std::string& path) {
    const tIdentity identity = IdentityOf(path);
    auto found = m_Entries.find(path);
    if (found != m_Entries.end() && found->second.m_Identity == identity)
        return found->second.m_File;

    std::shared_ptr<const tProfileFile> file;
    if (!identity.m_Exists) {
        file = std::make_shared<const tProfileFile>();
    } else {
        const std::optional<std::string> contents = AtomicFile::Read(path);
        if (!contents) {
            // Unreadable now, perhaps readable later: do not remember it.
            m_Entries.erase(path);
            return std::make_shared<const tProfileFile>();
        }
        file = std::make_shared<const tProfileFile>(tProfileFile::Parse(*contents));
    }
    m_Entries[path] = tEntry{identity, file};
    return file;
}

bool tProfileCache::Store(const std::string& path, const tProfileFile& file) {
    if (!AtomicFile::Replace(path, file.Serialize()))
        return false;
    m_Entries[path] = tEntry{IdentityOf(path), std::make_shared<const tProfileFile>(file)};
    return true;
}

void tProfileCache::Clear() {
    m_Entries.clear();
}
