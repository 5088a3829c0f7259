#include "files/export_settings_xml.h"

#include <optional>
#include <string_view>

#include "model/case_tables.h"

namespace jov {
namespace {

struct Word {
  std::string_view name;
  uint8_t value;
};

constexpr Word kSeparatorWords[] = {
    {"system", separator::kSystem},
    {"none", separator::kNone},
    {"crlf", separator::kCrLf},
    {"tab", separator::kTab},
    {"linefeed", separator::kLineFeed},
    {"return", separator::kReturn},
    {"space", separator::kSpace},
    {"comma", separator::kComma},
    {"point", separator::kPoint},
    {"semicolon", separator::kSemicolon},
    {"quote", separator::kDoubleQuote},
    {"apostrophe", separator::kApostrophe},
    {"underscore", separator::kUnderscore},
    {"padding", separator::kPadding},
};

std::optional<uint8_t> SeparatorOf(std::string_view text) {
  for (const Word& word : kSeparatorWords) {
    if (EqualsIgnoringCase(word.name, text)) return word.value;
  }
  if (text.size() == 1) return static_cast<uint8_t>(text[0]);
  return std::nullopt;
}

std::optional<bool> SwitchOf(std::string_view text) {
  if (EqualsIgnoringCase(text, "on")) return true;
  if (EqualsIgnoringCase(text, "off")) return false;
  return std::nullopt;
}

std::optional<ExportFormat> FormatOf(std::string_view text) {
  if (EqualsIgnoringCase(text, "text")) return ExportFormat::kText;
  if (EqualsIgnoringCase(text, "html")) return ExportFormat::kHtml;
  if (EqualsIgnoringCase(text, "xml")) return ExportFormat::kXml;
  return std::nullopt;
}

// Sets the setting an attribute names; false for a value it does not take. `known` is cleared
// for a name that is no setting.
bool Apply(ExportSettings& settings, std::string_view name, std::string_view value, bool* known) {
  const std::pair<std::string_view, bool*> switches[] = {
      {"title", &settings.include_title},
      {"columntitles", &settings.include_column_titles},
      {"notes", &settings.include_notes},
      {"definition", &settings.include_definition},
      {"headers", &settings.include_header_rows},
      {"data", &settings.include_data_rows},
      {"columnwidths", &settings.html_column_widths},
      {"excludequotes", &settings.exclude_quotes}};
  for (const auto& [switch_name, flag] : switches) {
    if (!EqualsIgnoringCase(name, switch_name)) continue;
    const std::optional<bool> on = SwitchOf(value);
    if (on) *flag = *on;
    return on.has_value();
  }
  const std::pair<std::string_view, uint8_t*> separators[] = {
      {"decimal", &settings.decimal},
      {"thousand", &settings.thousand},
      {"between", &settings.between_fields},
      {"around", &settings.around_fields},
      {"terminator", &settings.row_terminator}};
  for (const auto& [separator_name, choice] : separators) {
    if (!EqualsIgnoringCase(name, separator_name)) continue;
    const std::optional<uint8_t> chosen = SeparatorOf(value);
    if (chosen) *choice = *chosen;
    return chosen.has_value();
  }
  if (EqualsIgnoringCase(name, "format")) {
    const std::optional<ExportFormat> format = FormatOf(value);
    if (format) settings.format = *format;
    return format.has_value();
  }
  *known = false;
  return false;
}

}  // namespace

bool ReadExportSettingsXml(XmlReader& reader, ExportSettings& settings) {
  for (const XmlAttribute& attribute : reader.attributes()) {
    bool known = true;
    if (Apply(settings, attribute.name, attribute.value, &known)) continue;
    if (!known) {
      reader.ReportUnknownAttribute(attribute.name);
    } else {
      reader.ReportUnknownValue(attribute.value, attribute.name);
    }
  }
  return reader.SkipElement();
}

}  // namespace jov
