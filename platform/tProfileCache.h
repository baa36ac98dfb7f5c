// Parsed copies of profile files, reused while the file on disk is unchanged.  Every
// operation checks the file's identity (device, inode, size, change times), so a file edited
// by hand is seen by the next operation, and an unchanged file is never parsed twice.
#pragma once

#include "platform/tProfileFile.h"

#include <memory>
#include <string>
#include <unordered_map>

class tProfileCache {
public:
    static tProfileCache& Instance();

    // The current content; an absent or unreadable file reads as empty.
    std::shared_ptr<const tProfileFile> Get(const std::string& path);

    // Writes the new content to disk atomically and keeps it as the parsed copy.
    bool Store(const std::string& path, const tProfileFile& file);

    void Clear();

private:
    struct tIdentity {
        bool m_Exists = false;
        dev_t m_Device = 0;
        ino_t m_Inode = 0;
        off_t m_Size = 0;
        long long m_ModifiedNs = 0;
        long long m_ChangedNs = 0;
        bool operator==(const tIdentity&) const = default;
    };
    struct tEntry {
        tIdentity m_Identity;
        std::shared_ptr<const tProfileFile> m_File;
    };

    static tIdentity IdentityOf(const std::string& path);

    std::unordered_map<std::string, tEntry> m_Entries;
};
