// The profile functions of the platform: reading and writing sections and keys of INI files.
// Section and key names compare without regard to case; paths may use "\" or "/".
#pragma once

#include "platform/FileFault.h"

#include <cstdint>
#include <string_view>

// With a section and a key: the key's value without surrounding blanks and without one pair
// of enclosing quotation marks, cut to size - 1 bytes; the default when the key is missing.
// With a section and no key: the section's key names, each ended by a NUL, then one more NUL,
// cut so that the closing NULs end at the buffer's end; the default when the section is
// missing or has no keys.  With no section: the section names in the same form.
// Returns the number of bytes copied, without the final NUL.
uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultText,
                                 char* buffer, uint32_t size, const char* fileName);

// The key's value as a signed decimal integer; the default when the key is missing or empty.
int GetPrivateProfileInt(const char* section, const char* key, int defaultValue,
                         const char* fileName);

// Sets a key (value given), removes it (no value) or removes the whole section (no key).
// With no section, key and value it flushes, which here is immediate: every successful write
// is already complete on disk.  False when the file cannot be written, and for any name or
// value that would not read back as written; nothing is written then.
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* fileName);

// Why the last WritePrivateProfileString failed (None after a success): the file's read or
// write fault, or a name or value the format cannot carry.  A file that exists but could not
// be read whole is never written.
tFileFault ProfileWriteFault();
// Why the file cannot be read now; None when it can, or when it does not exist.
tFileFault ProfileReadFault(const char* fileName);
// Whether the section holds at least one key.
bool ProfileSectionHasKeys(const char* section, const char* fileName);

// A raw value as the reading functions give it: without surrounding blanks and one pair of
// enclosing quotation marks.
std::string_view ProfileTrimmedValue(std::string_view raw);

// What the format carries back unchanged.
bool ProfileSectionIsStorable(std::string_view section);
bool ProfileKeyIsStorable(std::string_view key);
bool ProfileValueIsStorable(std::string_view value);
