// The registry: per-user settings in the desktop's native store (a file under
// $XDG_CONFIG_HOME on Linux: Zembrola/Zembrola.conf).  Key paths use "\" as on Windows.
#pragma once

#include <cstdint>
#include <string>

struct tRegistryKey;
using HKEY = tRegistryKey*;

inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(uintptr_t{0x80000002});

constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_ACCESS_DENIED = 5;

// Opens the key below root, creating it when missing.
long RegCreateKeyEx(HKEY root, const char* subKey, HKEY* result);
// The text of a value; a null or empty name is the key's default value.  Fails when the value
// does not exist or is longer than size - 1 bytes.
long RegQueryValueEx(HKEY key, const char* valueName, char* data, uint32_t* size);
long RegCloseKey(HKEY key);
