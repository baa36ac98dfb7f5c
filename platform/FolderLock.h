// An advisory lock on a folder, so that programs saving files there take turns: each holds it
// from reading the file to replacing it.  The lock is a file in the folder itself, private to
// its user, and ends with the process that holds it, however that ends.
#pragma once

#include "platform/FileFault.h"

#include <string>

class FolderLock {
public:
    // Waits up to timeoutMs for the lock on the folder that holds file.
    explicit FolderLock(const std::string& file, int timeoutMs = 5000);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // None once held.
    tFileFault Fault() const { return m_Fault; }

    // Takes the lock file named in the folder without waiting and keeps it until the process
    // ends: one holder per folder.  False only when another process holds it (a folder where
    // the lock cannot be made at all is nobody's).
    static bool HoldForever(const std::string& folder, const char* name);

    static constexpr const char* kSaveLockName = ".zembrola-save.lock";

private:
    int m_Fd = -1;
    tFileFault m_Fault = tFileFault::None;
};
