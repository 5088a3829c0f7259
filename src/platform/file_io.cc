#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
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

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size > 0) bytes.reserve(static_cast<size_t>(size));
  in.seekg(0, std::ios::beg);
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
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
  path_ = path;
  std::string pattern = path + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkstemp(name.data());
  if (fd_ < 0) return Fail(error, errno);
  temporary_.assign(name.data());
  error_code_ = 0;
  // Keep the permissions an existing target has, else the usual ones for a new file.
  struct stat existing {};
  ::fchmod(fd_, ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644);
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
  if (code == 0 && ::fsync(fd_) != 0) code = errno;
  if (::close(fd_) != 0 && code == 0) code = errno;
  fd_ = -1;
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

}  // namespace jov
