// How a table window writes its table out: the format, the separators, which parts of the table
// are included, the file attributes and the settings of copying. Every table window holds one,
// and every analysis template stores its window's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "shell/messages.h"
#include "shell/process.h"

namespace jov {

enum class ExportFormat : int32_t { kText = 0, kHtml = 1, kXml = 2 };

// How much of a table copying takes.
enum class CopyExtent : uint8_t { kAll, kMax30K, kMax10K, kMax3K, kVisibleOnly };

// A separator choice is one byte: these values have their own meaning, any other value is that
// character itself.
namespace separator {
inline constexpr uint8_t kSystem = 0;  // the system's own character
inline constexpr uint8_t kNone = 1;
inline constexpr uint8_t kCrLf = 2;
inline constexpr uint8_t kTab = 9;
inline constexpr uint8_t kLineFeed = 10;
inline constexpr uint8_t kReturn = 13;
inline constexpr uint8_t kSpace = 32;
inline constexpr uint8_t kDoubleQuote = 34;
inline constexpr uint8_t kApostrophe = 39;
inline constexpr uint8_t kComma = 44;
inline constexpr uint8_t kPoint = 46;
inline constexpr uint8_t kSemicolon = 59;
inline constexpr uint8_t kUnderscore = 95;
inline constexpr uint8_t kPadding = 160;  // the non-breaking space
}  // namespace separator

// The five separators a table export is written with.
enum class SeparatorSetting { kDecimal, kThousand, kBetweenFields, kAroundFields, kRowTerminator };

// A file attribute code of four characters; blanks when not set.
inline constexpr std::string_view kBlankCode = "    ";

struct ExportSettings {
  ExportFormat format = ExportFormat::kText;
  uint8_t decimal = separator::kSystem;
  uint8_t thousand = separator::kSystem;
  uint8_t between_fields = separator::kTab;
  uint8_t around_fields = separator::kNone;
  uint8_t row_terminator = separator::kSystem;
  bool exclude_quotes = false;  // removes '"' and '\'' from titles and cells
  bool include_title = false;
  bool include_column_titles = false;
  bool include_notes = false;
  bool include_definition = false;
  bool include_header_rows = true;
  bool include_data_rows = true;
  bool html_column_widths = false;
  // File attributes, used only where the platform has them. The table file's type code is not
  // stored in templates; the chart file's codes are kept as they were read.
  std::string creator = std::string(kBlankCode);
  std::string type = std::string(kBlankCode);
  std::string chart_creator = std::string(kBlankCode);
  std::string chart_type = std::string(kBlankCode);
  int chart_width = 0;  // points; 0 for the window's own size
  int chart_height = 0;
  // Copying to the clipboard.
  CopyExtent copy_extent = CopyExtent::kAll;
  uint8_t copy_between_fields = separator::kTab;
  uint8_t copy_around_fields = separator::kNone;
  uint8_t copy_row_terminator = separator::kCrLf;

  bool operator==(const ExportSettings&) const = default;
};

// The choices a setting's menu offers, in menu order (each menu also offers "Other...").
std::span<const uint8_t> SeparatorChoices(SeparatorSetting setting);

// The bytes a separator choice writes: the system's own for kSystem (CR LF as row terminator, a
// tab between fields, nothing around them), nothing for kNone, CR LF for kCrLf, else the byte.
std::string SeparatorText(SeparatorSetting setting, uint8_t value);

// The menu label of a choice: "comma", "tab", ...; the system's own character's label followed
// by " from System"; another character itself, or "#" and its code below 33.
std::string SeparatorLabel(SeparatorSetting setting, uint8_t value);

// The decimal and thousand separators that number formatting uses while the table is written.
NumberSeparators ChosenNumberSeparators(const ExportSettings& settings);

// Menu labels of the formats and copy extents.
MessageId FormatLabel(ExportFormat format);
MessageId CopyExtentLabel(CopyExtent extent);

// The length at which copying stops; SIZE_MAX for no limit.
size_t CopyByteLimit(CopyExtent extent);

// A code padded with blanks and cut to four characters.
std::string FourCharacterCode(std::string_view text);

}  // namespace jov
