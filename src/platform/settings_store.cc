#include "platform/settings_store.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/file_io.h"
#include "platform/text_encoding.h"

namespace jov {
namespace {

// The section that holds the values, named after the registry key it stands for.
constexpr std::string_view kSection = "[Software\\Ledra\\JOV/LR]";

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

SettingsStore::SettingsStore(std::string path) : path_(std::move(path)) {}

std::string SettingsStore::DefaultPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && *config != '\0') {
    base = config;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    base = std::string(home) + "/.config";
  } else {
    return {};
  }
  return base + "/Ledra/JOV/LR.conf";
}

bool SettingsStore::Load() {
  std::error_code error;
  if (!std::filesystem::exists(path_, error)) return !error;
  const std::optional<std::string> text = ReadWholeFile(path_);
  if (!text) return false;
  Parse(*text);
  return true;
}

void SettingsStore::Parse(std::string_view text) {
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    values_[std::string(Trimmed(line.substr(0, equals)))] =
        std::string(Trimmed(line.substr(equals + 1)));
  }
}

bool SettingsStore::Save() const {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path target(path_);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
  const std::string temporary = path_ + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << kSection << "\n";
    for (const auto& [name, value] : values_) out << name << "=" << value << "\n";
    out.flush();
    if (!out) {
      fs::remove(temporary, error);
      return false;
    }
  }
  fs::rename(temporary, target, error);
  if (!error) return true;
  fs::remove(temporary, error);
  return false;
}

std::optional<std::string> SettingsStore::Get(std::string_view name) const {
  const auto found = values_.find(name);
  if (found == values_.end()) return std::nullopt;
  // A value in the file may be longer than the store keeps; it is cut as Set cuts it.
  std::string value = Cp1252FromUtf8(found->second);
  if (value.size() > kMaxValueBytes) value.resize(kMaxValueBytes);
  return value;
}

void SettingsStore::Set(std::string_view name, std::string_view value) {
  std::string text = Utf8FromCp1252(value.substr(0, kMaxValueBytes));
  // A line break would end the value early when the file is read back.
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  values_[std::string(name)] = std::move(text);
}

}  // namespace jov
