#include "shell/command_line.h"

#include <cctype>

namespace jov {
namespace {

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// True when the space at `pos` starts the next name: a drive letter and colon, or "\\".
bool StartsNextName(std::string_view line, size_t pos) {
  const std::string_view rest = line.substr(pos + 1);
  return (rest.size() >= 2 && IsLetter(rest[0]) && rest[1] == ':') || rest.starts_with("\\\\");
}

}  // namespace

std::vector<std::string> DocumentNames(std::string_view line) {
  std::vector<std::string> names;
  if (line.empty() || line[0] == '/' || line[0] == '-') return names;
  size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos >= line.size()) break;
    size_t end;
    if (line[pos] == '"') {
      const size_t close = line.find('"', pos + 1);
      end = close == std::string_view::npos ? line.size() : close;
      if (end > pos + 1) names.emplace_back(line.substr(pos + 1, end - pos - 1));
      pos = end + 1;
      continue;
    }
    end = pos;
    while (end < line.size() && !(line[end] == ' ' && StartsNextName(line, end))) ++end;
    names.emplace_back(line.substr(pos, end - pos));
    pos = end;
  }
  return names;
}

}  // namespace jov
