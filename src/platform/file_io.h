// Stand-ins for the platform's file services: whole-file reads, atomic writes (a temporary file
// beside the target, written, flushed to the disk and renamed over it, so that a failed or
// stopped save never leaves a half-written file), sizes and modification times.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace jov {

// Why a file could not be read.
enum class ReadFailure {
  kNone,
  kCannotOpen,   // missing, not permitted, or a read error
  kNotRegular,   // a folder, a device, a FIFO or a socket: refused without reading (or waiting)
  kOutOfMemory,  // the file is larger than the memory that could be had for it
};

// The bytes of a regular file, read into a string of the file's size; nothing (with the reason
// in `failure` when given) when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path, ReadFailure* failure = nullptr);
// The first `max_bytes` bytes of a regular file (all of it when it is shorter), likewise.
std::optional<std::string> ReadFileHead(const std::string& path, size_t max_bytes,
                                        ReadFailure* failure = nullptr);

// A file read from its start in pieces of the caller's size, without a buffer of its own, so
// that a reader holds no more of it than its own block. Closed with the object.
class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // False (with the reason in `failure` when given) when the file cannot be opened for
  // reading or is no regular file.
  bool Open(const std::string& path, ReadFailure* failure = nullptr);
  // Reads up to `size` bytes; 0 at the end of the file, nothing on a read error.
  std::optional<size_t> Read(char* buffer, size_t size);
  // The file's size when it was opened.
  uint64_t size() const { return size_; }

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

// Writes `bytes` as the new content of `path` through an AtomicFileWriter. On failure the
// target is untouched, the temporary file removed, and `error` (when given) receives the
// system's reason.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         std::string* error = nullptr);

// Writes a file in pieces with the same guarantee: the bytes go to a temporary file beside the
// target, which replaces the target only at Commit. A writer destroyed without a successful
// Commit removes the temporary file and leaves the target untouched.
//
// The temporary file is hidden and named for the program: ".NAME.jov-tmp-XXXXXX" beside NAME
// (only a kill during the save leaves it behind). A symbolic link is followed to the file it
// names, which is replaced in its own folder, so the link stays a link. A terminal, another
// character device or a FIFO (a pipe, /dev/stdout) cannot be replaced: the bytes are written
// straight into it. Folders, block devices and sockets are refused (not_a_file()).
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file for `path`; false (with the reason in `error`) when it cannot.
  bool Open(const std::string& path, std::string* error = nullptr);
  // False once any write has failed; later writes do nothing.
  bool Write(std::string_view bytes);
  // Flushes the file to the disk and renames it over the target; false, with the target
  // untouched, when any step (or an earlier write) failed.
  bool Commit(std::string* error = nullptr);
  // True when Open refused the path because nothing can be saved there.
  bool not_a_file() const { return not_a_file_; }

 private:
  bool OpenStraight(const std::string& path, std::string* error);
  void Abandon();

  std::string path_;  // the file that Commit replaces
  std::string temporary_;
  int fd_ = -1;
  int error_code_ = 0;
  bool straight_ = false;  // writing straight into a device or FIFO
  bool not_a_file_ = false;
};

// Nanoseconds since the epoch of the last modification; nothing when the file is missing.
std::optional<int64_t> FileModificationTime(const std::string& path);
std::optional<int64_t> FileSize(const std::string& path);

// The folder part of a path ("." when it has none), its name part (what follows the last
// slash), and a name joined to a folder.
std::string FolderOf(const std::string& path);
std::string_view FileNameOf(std::string_view path);
std::string JoinPath(const std::string& folder, std::string_view name);

// `name` made a full path: against `folder` unless it is one already, with "." and ".."
// steps and links of the parts that exist resolved.
std::string FullPath(const std::string& folder, std::string_view name);
// Both name the same file, once made full paths against the current folder.
bool SameFile(const std::string& a, const std::string& b);
// `path` lies in `folder` or below it (both full paths as FullPath makes them).
bool IsInFolder(const std::string& path, const std::string& folder);

}  // namespace jov
