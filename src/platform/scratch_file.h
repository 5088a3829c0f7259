// A temporary file for bytes that must pass through the file system on their way into a reader
// that only takes files: made in the system's temporary folder under a unique name, and removed
// when the object goes, whatever happened meanwhile.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jov {

class ScratchFile {
 public:
  // A new file named `prefix` and six unique characters in $TMPDIR (else /tmp), holding
  // `bytes` and readable only by the user; nothing when it cannot be made or written whole.
  static std::optional<ScratchFile> Create(std::string_view prefix, std::string_view bytes);

  ScratchFile(ScratchFile&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
  ScratchFile& operator=(ScratchFile&&) = delete;
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile();

  const std::string& path() const { return path_; }

 private:
  explicit ScratchFile(std::string path) : path_(std::move(path)) {}

  std::string path_;
};

}  // namespace jov
