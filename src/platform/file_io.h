// Stand-ins for the platform's file services: whole-file reads, atomic writes (a temporary file
// beside the target, written, flushed to the disk and renamed over it, so that a failed or
// stopped save never leaves a half-written file), sizes and modification times.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace jov {

// The file's bytes; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes `bytes` as the new content of `path`. On failure the target is untouched, the
// temporary file removed, and `error` (when given) receives the system's reason.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error = nullptr);

// Nanoseconds since the epoch of the last modification; nothing when the file is missing.
std::optional<int64_t> FileModificationTime(const std::string& path);
std::optional<int64_t> FileSize(const std::string& path);

// The folder part of a path ("." when it has none) and a name joined to a folder.
std::string FolderOf(const std::string& path);
std::string JoinPath(const std::string& folder, std::string_view name);

}  // namespace jov
