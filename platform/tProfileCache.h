// Parsed copies of profile files, reused while the file on disk is unchanged.  A change made
// on this machine is seen by the very next operation: the kernel reports every change in the
// file's folder, and a reported change makes the cache compare the file's identity (device,
// inode, size, change times) again.  Without a report the identity is still compared at
// least once a second, for changes the kernel cannot report (a network file system).  Within
// one step of work (tWorkStep) the reports are taken once, at its first look.
#pragma once

#include "platform/FileFault.h"
#include "platform/tProfileFile.h"

#include <cstdint>
#include <functional>

#include <memory>
#include <string>
#include <unordered_map>

class tProfileCache {
public:
    static tProfileCache& Instance();
    ~tProfileCache();

    // The current content of the file named as the program names it ("\" or "/" between the
    // parts of a relative name); an absent or unreadable file reads as empty.
    std::shared_ptr<const tProfileFile> Get(const char* fileName);
    // Why the file could not be read the last time it was looked at; None when it was read
    // or does not exist.
    tFileFault ReadFault(const char* fileName);

    // The path the file is opened with.
    const std::string& NativeName(const char* fileName);

    // Changes the file: under the lock of its folder, reads it afresh, lets edit change the
    // parsed copy (edit returns whether it did) and replaces the file on disk atomically.  A
    // file that could not be read whole is never written.  afterWrite, if given, runs still
    // under the lock once the file is written (or found unchanged); its fault is returned.
    tFileFault Edit(const char* fileName, const std::function<bool(tProfileFile&)>& edit,
                    const std::function<tFileFault()>& afterWrite = {});

    void Clear();

    // The kernel's change reports as a descriptor for an event loop to watch (-1 where there
    // are none); once asked for, TakeReports is called when it is readable, and steps of work
    // that run straight from the loop take no reports themselves.
    int ReportDescriptor();
    bool LoopWatches() const { return m_LoopWatches; }
    void TakeReports() { TakeChangeReports(); }

    // Counts every reading, change and loss of a parsed copy, of any file, and every change
    // report: a value of it that is the same as before means no file read through the cache
    // is other than then, as far as the cache knows.
    uint64_t Changes() const { return m_Changes; }

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
        long long m_CheckedNs = 0; // when the identity was last compared, 0: must compare
        int m_Watch = -1;          // the watch on the file's folder, or -1
        tFileFault m_Fault = tFileFault::None; // why the last read failed
    };

    static tIdentity IdentityOf(const std::string& path);
    // Marks the entries whose folders changed since the last call.
    void TakeChangeReports();
    void Watch(const std::string& path, tEntry& entry);

    std::unordered_map<std::string, tEntry> m_Entries;
    int m_Notify = -1;          // the kernel's change reports, or -1 where there are none
    uint64_t m_ReportsStep = 0; // the step of work in which the reports were last taken
    uint64_t m_Changes = 1;     // a memo at 0 has seen nothing
    bool m_LoopWatches = false; // an event loop watches m_Notify
    // The program asks about the same file again and again: its name is converted once.
    std::string m_LastName;
    std::string m_LastNative;
};
