// Whole-file reads and crash-safe whole-file replacement.
#pragma once

#include "platform/FileFault.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace AtomicFile {

// The file's bytes.  Nothing when it cannot be read: *fault then says why, and stays None
// when the file simply does not exist.  Only a regular file is read (a pipe would block).
std::optional<std::string> Read(const std::string& path, tFileFault* fault = nullptr);

// Hands each piece of the new content to the file; false stops the write.
using tSink = std::function<bool(std::string_view)>;
using tWriter = std::function<bool(const tSink&)>;

// Replaces the file's content so that a crash or power cut leaves either the old file or the
// new one, whole: the bytes go to a temporary file beside the target, are flushed to disk and
// renamed over it.  A symbolic link is followed to its target, even one that does not exist
// yet.  The file keeps its permissions, owner and group (or the save is refused); a new one
// is private to its owner.  On any fault the old file stays as it was.
tFileFault Replace(const std::string& path, const tWriter& writer);
tFileFault Replace(const std::string& path, std::string_view contents);

// Whether Replace could succeed without trying it.
tFileFault CanReplace(const std::string& path);

// Removes the temporary files that saves killed half-way left beside the file.
void RemoveLeftovers(const std::string& path);

// The file a path names once symbolic links are followed (also to a target not yet there).
std::string ResolveTarget(const std::string& path);

} // namespace AtomicFile
