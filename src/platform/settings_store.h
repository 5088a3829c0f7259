// Stand-in for the platform's settings registry: named text values kept in a small INI file,
// by default $XDG_CONFIG_HOME/Ledra/JOV/LR.conf (~/.config/Ledra/JOV/LR.conf). The file is UTF-8
// for the people who may read it; values pass in and out as the engine's Windows-1252 texts.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace jov {

class SettingsStore {
 public:
  // Every value is a text of at most this many bytes; longer ones are cut.
  static constexpr size_t kMaxValueBytes = 256;

  explicit SettingsStore(std::string path);

  // The default location, from XDG_CONFIG_HOME or HOME; empty when neither is set.
  static std::string DefaultPath();

  // Reads the file; a missing file is an empty store. False when it exists but cannot be read
  // (or is no regular file).
  bool Load();
  // Takes the "name=value" lines of a file's text; blank lines, comments ("#", ";") and section
  // lines ("[") are skipped.
  void Parse(std::string_view text);
  // Writes the file atomically (a temporary file renamed over it), creating its folders.
  bool Save() const;

  std::optional<std::string> Get(std::string_view name) const;
  void Set(std::string_view name, std::string_view value);

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::map<std::string, std::string, std::less<>> values_;  // UTF-8 as in the file
};

}  // namespace jov
