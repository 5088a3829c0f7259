#include "io/import_fields.h"

#include <algorithm>
#include <cstring>

namespace jov {
namespace {

void TrimTrailingSpaces(std::string& text) {
  const size_t keep = text.find_last_not_of(' ');
  text.resize(keep == std::string::npos ? 0 : keep + 1);
}

}  // namespace

FieldReader::FieldReader(const ImportSetup& setup)
    : variable_(setup.layout == FieldLayout::kVariable),
      exclude_controls_(setup.exclude_control_characters),
      separator_(static_cast<char>(setup.field_separator)),
      excluded_(ExcludedCharacters(setup)) {}

void FieldReader::SetRow(std::string_view row) {
  row_ = row;
  starts_.clear();
  starts_.push_back(0);
  if (!variable_) return;
  const char* const begin = row.data();
  const char* const end = begin + row.size();
  for (const char* at = begin; at < end;) {
    const void* hit = std::memchr(at, separator_, static_cast<size_t>(end - at));
    if (hit == nullptr) break;
    at = static_cast<const char*>(hit) + 1;
    starts_.push_back(static_cast<uint32_t>(at - begin));
  }
  starts_.push_back(static_cast<uint32_t>(row.size() + 1));
}

std::string_view FieldReader::Field(int number) const {
  const size_t index = static_cast<size_t>(number - 1);
  if (index + 1 >= starts_.size()) return {};
  return row_.substr(starts_[index], starts_[index + 1] - 1 - starts_[index]);
}

std::string_view FieldReader::Part(const FieldPart& part) {
  text_.clear();
  if (part.first == 0 && part.last == 0 && (!variable_ || part.field == 0)) return text_;
  const std::string_view field = variable_ ? Field(std::max(part.field, 1)) : row_;
  if (part.first <= 1 && part.last == 0 && field.size() <= kMaxPartCharacters) {
    // The whole field, as most separated files are read: no copy when nothing is left out.
    size_t clean = 0;
    while (clean < field.size() && !excluded_[static_cast<unsigned char>(field[clean])]) ++clean;
    if (clean == field.size()) return field;
  }
  const size_t first = part.first > 0 ? static_cast<size_t>(part.first) : 1;
  const size_t last = part.last > 0 ? static_cast<size_t>(part.last) : SIZE_MAX;
  size_t position = 0;
  for (const char c : field) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 32 && exclude_controls_) continue;
    if (++position < first) continue;
    if (position > last || position - first >= kMaxPartCharacters) break;
    if (!excluded_[byte]) text_.push_back(c);
  }
  return text_;
}

bool FieldReader::Matches(const FieldSpec& spec) {
  for (const FieldPart& part : spec.parts) {
    if (Part(part) != part.default_text) return false;
  }
  return true;
}

void FieldReader::PlainJoin(const FieldSpec& spec, std::string& out) {
  out.clear();
  for (const FieldPart& part : spec.parts) out.append(Part(part));
  TrimTrailingSpaces(out);
}

void FieldReader::TextJoin(const FieldSpec& spec, std::string& out) {
  out.clear();
  for (size_t i = 0; i < spec.parts.size(); ++i) {
    const std::string_view text = Part(spec.parts[i]);
    if (text.empty()) continue;
    if (!out.empty() && i > 0 && spec.parts[i - 1].insert != 0) {
      out.push_back(static_cast<char>(spec.parts[i - 1].insert));
    }
    out.append(text);
  }
  TrimTrailingSpaces(out);
  if (out.empty()) out.assign(spec.default_text());
}

void FieldReader::CodeJoin(const FieldSpec& spec, std::string& out) {
  out.clear();
  for (size_t i = 0; i < spec.parts.size(); ++i) {
    out.append(Part(spec.parts[i]));
    if (i + 1 < spec.parts.size() && spec.parts[i].insert != 0) {
      out.push_back(static_cast<char>(spec.parts[i].insert));
    }
  }
}

}  // namespace jov
