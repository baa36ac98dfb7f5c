// Why a file could not be read or written, for messages that name the true cause.
#pragma once

#include <cstdint>

enum class tFileFault : uint8_t {
    None,
    Unreadable,  // it exists but reading it failed (permissions, an I/O error)
    NotRegular,  // a folder, a pipe or a device stands where the file should be
    ReadOnly,    // the file or its folder may not be written
    NoFolder,    // the folder it belongs in does not exist
    Owner,       // replacing it would give it another owner or group
    WriteFailed, // writing failed (a full disk, an I/O error)
    Busy,        // another program kept the folder's lock too long
    NotStorable, // a name or value the file format cannot carry back
};
