// Whole-file reads and crash-safe whole-file replacement.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace AtomicFile {

// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> Read(const std::string& path);

// Replaces the file's content so that a crash or power cut leaves either the old file or the
// new one, whole: the bytes go to a temporary file beside the target, are flushed to disk and
// renamed over it.  An existing file keeps its permissions; a new one is private to its owner.
// A read-only file, a missing folder or a full disk give false and leave the old file as it was.
bool Replace(const std::string& path, std::string_view contents);

// Whether Replace could succeed without trying it: the file is writable, or it is missing and
// its folder exists and is writable.
bool CanReplace(const std::string& path);

} // namespace AtomicFile
