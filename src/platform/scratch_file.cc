#include "platform/scratch_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace jov {
namespace {

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<ScratchFile> ScratchFile::Create(std::string_view prefix, std::string_view bytes) {
  std::string name = TemporaryFolder();
  if (name.back() != '/') name.push_back('/');
  name.append(prefix).append("XXXXXX");
  std::vector<char> pattern(name.begin(), name.end());
  pattern.push_back('\0');
  // mkstemp makes the file with mode 0600 and never reuses an existing name.
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return std::nullopt;
  ScratchFile file(std::string(pattern.data()));
  const bool written = WriteAll(fd, bytes);
  const bool closed = ::close(fd) == 0;
  if (!written || !closed) return std::nullopt;  // the file goes with `file`
  return file;
}

ScratchFile::~ScratchFile() {
  if (!path_.empty()) ::unlink(path_.c_str());
}

}  // namespace jov
