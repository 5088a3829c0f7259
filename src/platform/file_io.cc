#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <utility>
#include <vector>

namespace jov {
namespace {

bool Fail(std::string* error, int code) {
  if (error != nullptr) *error = std::strerror(code);
  return false;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// Ends the name of a save's temporary file, after "." and the target's name.
constexpr std::string_view kTemporarySuffix = ".jov-tmp-XXXXXX";
// Symbolic links followed at most; a longer chain is a loop.
constexpr int kMaxLinkHops = 40;

// The file that `path` names after following its symbolic links (the last one's target may not
// exist yet); `path` itself when it is no link.
std::string LinkTarget(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    char target[4096];
    const ssize_t length = ::readlink(current.c_str(), target, sizeof target);
    if (length < 0 || static_cast<size_t>(length) == sizeof target) break;
    const std::string_view link(target, static_cast<size_t>(length));
    current = link.front() == '/' ? std::string(link) : JoinPath(FolderOf(current), link);
  }
  return current;
}

std::optional<std::string> Refuse(ReadFailure reason, ReadFailure* failure) {
  if (failure != nullptr) *failure = reason;
  return std::nullopt;
}

// Reads into bytes[got..] until `bytes` is full or the file ends; false on a read error.
bool ReadInto(int fd, std::string& bytes, size_t& got) {
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return true;
}

// Appends what the file holds past what was read, for a file that grew since its size was
// taken; false on a read error.
bool ReadRest(int fd, std::string& bytes, std::optional<size_t> limit) {
  char chunk[65536];
  while (!limit || bytes.size() < *limit) {
    const size_t want = limit ? std::min(sizeof chunk, *limit - bytes.size()) : sizeof chunk;
    const ssize_t n = ::read(fd, chunk, want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    bytes.append(chunk, static_cast<size_t>(n));
  }
  return true;
}

// The bytes of a regular file, at most `limit` of them when one is given. Anything else is
// refused after a look at the opened file: opening does not wait for a FIFO's writer, and a
// folder or a device is never read. The string is sized to the file, so reading holds the
// file's bytes and nothing more.
std::optional<std::string> ReadRegularFile(const std::string& path, std::optional<size_t> limit,
                                           ReadFailure* failure) {
  if (failure != nullptr) *failure = ReadFailure::kNone;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Refuse(ReadFailure::kCannotOpen, failure);
  struct stat info {};
  const bool known = ::fstat(fd, &info) == 0;
  if (!known || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return Refuse(known ? ReadFailure::kNotRegular : ReadFailure::kCannotOpen, failure);
  }
  const size_t size = static_cast<size_t>(std::max<off_t>(info.st_size, 0));
  std::string bytes;
  bool read = false;
  try {
    bytes.resize(limit ? std::min(size, *limit) : size);
    size_t got = 0;
    read = ReadInto(fd, bytes, got);
    if (read && got < bytes.size()) bytes.resize(got);  // the file shrank
    if (read && got == size) read = ReadRest(fd, bytes, limit);
  } catch (const std::bad_alloc&) {
    ::close(fd);
    return Refuse(ReadFailure::kOutOfMemory, failure);
  }
  ::close(fd);
  if (!read) return Refuse(ReadFailure::kCannotOpen, failure);
  return bytes;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, ReadFailure* failure) {
  return ReadRegularFile(path, std::nullopt, failure);
}

std::optional<std::string> ReadFileHead(const std::string& path, size_t max_bytes,
                                        ReadFailure* failure) {
  return ReadRegularFile(path, max_bytes, failure);
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool InputFile::Open(const std::string& path, ReadFailure* failure) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (failure != nullptr) *failure = ReadFailure::kNone;
  // As ReadRegularFile: opening does not wait for a FIFO's writer, and only a regular file is
  // read, which never blocks.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Refuse(ReadFailure::kCannotOpen, failure);
    return false;
  }
  struct stat info {};
  const bool known = ::fstat(fd, &info) == 0;
  if (!known || !S_ISREG(info.st_mode)) {
    ::close(fd);
    Refuse(known ? ReadFailure::kNotRegular : ReadFailure::kCannotOpen, failure);
    return false;
  }
  fd_ = fd;
  size_ = static_cast<uint64_t>(info.st_size);
  return true;
}

std::optional<size_t> InputFile::Read(char* buffer, size_t size) {
  if (fd_ < 0) return std::nullopt;
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, size);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) return std::nullopt;
  }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error) {
  AtomicFileWriter writer;
  if (!writer.Open(path, error)) return false;
  writer.Write(bytes);
  return writer.Commit(error);
}

AtomicFileWriter::~AtomicFileWriter() { Abandon(); }

bool AtomicFileWriter::Open(const std::string& path, std::string* error) {
  Abandon();
  not_a_file_ = false;
  struct stat target {};
  if (::stat(path.c_str(), &target) == 0 && !S_ISREG(target.st_mode)) {
    if (S_ISCHR(target.st_mode) || S_ISFIFO(target.st_mode)) return OpenStraight(path, error);
    not_a_file_ = true;
    return Fail(error, S_ISDIR(target.st_mode) ? EISDIR : EINVAL);
  }
  path_ = LinkTarget(path);
  const std::string pattern =
      JoinPath(FolderOf(path_), "." + std::string(FileNameOf(path_)).append(kTemporarySuffix));
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) return Fail(error, errno);
  temporary_.assign(name.data());
  error_code_ = 0;
  // Keep the permissions an existing target has, else the usual ones for a new file.
  ::fchmod(fd_, ::stat(path_.c_str(), &target) == 0 ? target.st_mode & 07777 : 0644);
  return true;
}

bool AtomicFileWriter::OpenStraight(const std::string& path, std::string* error) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd_ < 0) return Fail(error, errno);
  path_ = path;
  straight_ = true;
  error_code_ = 0;
  return true;
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  if (fd_ < 0 || error_code_ != 0) return false;
  if (!WriteAll(fd_, bytes)) error_code_ = errno;
  return error_code_ == 0;
}

bool AtomicFileWriter::Commit(std::string* error) {
  if (fd_ < 0) return Fail(error, EBADF);
  int code = error_code_;
  const bool straight = std::exchange(straight_, false);
  // A device or a pipe has nothing to flush to a disk, and nothing to rename.
  if (code == 0 && !straight && ::fsync(fd_) != 0) code = errno;
  if (::close(fd_) != 0 && code == 0) code = errno;
  fd_ = -1;
  if (straight) return code == 0 ? true : Fail(error, code);
  if (code == 0 && ::rename(temporary_.c_str(), path_.c_str()) != 0) code = errno;
  if (code != 0) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
    return Fail(error, code);
  }
  temporary_.clear();
  return true;
}

void AtomicFileWriter::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  straight_ = false;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

std::optional<int64_t> FileModificationTime(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
}

std::optional<int64_t> FileSize(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return static_cast<int64_t>(info.st_size);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string_view FileNameOf(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  if (folder.empty() || folder == ".") return std::string(name);
  return folder.back() == '/' ? folder + std::string(name) : folder + "/" + std::string(name);
}

std::string FullPath(const std::string& folder, std::string_view name) {
  namespace fs = std::filesystem;
  fs::path path{std::string(name)};
  if (path.is_relative()) path = fs::path(folder) / path;
  std::error_code error;
  fs::path full = fs::absolute(path, error);
  if (error) full = path;
  fs::path resolved = fs::weakly_canonical(full, error);
  return (error ? full.lexically_normal() : resolved).string();
}

bool SameFile(const std::string& a, const std::string& b) {
  return FullPath(".", a) == FullPath(".", b);
}

bool IsInFolder(const std::string& path, const std::string& folder) {
  const std::filesystem::path inner(path);
  const std::filesystem::path outer(folder);
  auto step = inner.begin();
  for (const auto& part : outer) {
    if (part.empty()) continue;  // the empty last step of a folder written with a slash
    if (step == inner.end() || *step != part) return false;
    ++step;
  }
  return true;
}

}  // namespace jov
