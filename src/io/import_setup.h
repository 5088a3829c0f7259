// Import setups: the description of a text file exported by another system (character set, row
// and field delimiters, which rows start cards and which carry lines, where each card and line
// attribute is found, how dates and numbers are written, how unknown codes become components),
// and the named list of them that a database keeps.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/component.h"
#include "model/database.h"
#include "shell/message_ids.h"

namespace jov {

enum class FieldLayout : uint8_t { kVariable, kFixed };

// The character set of the file; the stored letters are "M7PWEU". UTF-8 is read into
// Windows-1252 with "?" for characters that it lacks.
enum class CharacterSet : uint8_t { kMacintosh, kAscii7, kOem, kAnsi, kEbcdic, kUtf8 };
inline constexpr std::string_view kCharacterSetLetters = "M7PWEU";

// The eight ways of writing a card date, in index order of their names.
enum class DateFormat : uint8_t { kYYMMDD, kYYDDMM, kMMDDYY, kDDMMYY, kYMD, kYDM, kMDY, kDMY };
inline constexpr int kDateFormatCount = 8;
inline constexpr std::array<std::string_view, kDateFormatCount> kDateFormatNames = {
    "YYMMDD", "YYDDMM", "MMDDYY", "DDMMYY", "Y/M/D", "Y/D/M", "M/D/Y", "D/M/Y"};

// How titles, notes and line texts are rewritten; values 0 and 1 both mean none. The stored
// letters are '-' none, 'U', 'L', 'S' Standard and 'W' Word Caps.
enum class TextConversion : uint8_t {
  kNone = 0,
  kUpper = 2,
  kLower = 3,
  kStandard = 4,
  kWordCaps = 5
};

// Where a component made for an unknown host code goes.
enum class NewComponentPlacement : uint8_t {
  kAppendAtEnd = 0,       // a generated code "#nnnnn" under "#"
  kHostAsCode = 1,        // JOV-Code = Host Code
  kAfterNearestHost = 2,  // below the component with the nearest host code not above it
};

// One part of a field description: where its text is found and what stands for it when empty.
struct FieldPart {
  int field = 0;  // 1..255 (Variable layout), 0 for none
  int first = 0;  // first and last character position, 1..1023, 0 for none
  int last = 0;
  std::string default_text;  // for an indicator, the text to match
  // Placed between this part's text and the next part's; 0 for none, else a code of 32 or more.
  unsigned char insert = 0;

  bool empty() const {
    return field == 0 && first == 0 && last == 0 && default_text.empty() && insert == 0;
  }
  bool operator==(const FieldPart&) const = default;
};

// A field description: a chain of parts whose texts are joined. No parts (or only empty ones)
// is the empty spec, which matches every row as an indicator and yields empty texts.
struct FieldSpec {
  std::vector<FieldPart> parts;

  bool empty() const;
  // The first part's default text, or an empty text.
  std::string_view default_text() const;
  bool operator==(const FieldSpec&) const = default;
};

inline constexpr int kMaxImportValueFields = Database::kMaxValueFields;

// One line of the database made from each line row.
struct LineDefinition {
  LineDefinition() { scale_factors.fill(1.0); }

  std::array<FieldSpec, kDimensionCount> components;
  FieldSpec line_text;
  std::array<FieldSpec, kMaxImportValueFields> values;
  std::array<double, kMaxImportValueFields> scale_factors;
  bool exclude_zero_lines = true;
  TextConversion line_text_conversion = TextConversion::kNone;
  std::array<uint8_t, kDimensionCount> zero_filling{};  // 0, or a width of 2..8
  std::array<NewComponentPlacement, kDimensionCount> placements{};

  bool operator==(const LineDefinition&) const = default;
};

struct ImportSetup {
  static constexpr MessageId kDefaultName = msg::kImportSetupName;
  static constexpr int kMaxRowsToSkip = 999;
  static constexpr int kMaxRowsPerRecord = 99;

  std::string name;
  FieldLayout layout = FieldLayout::kVariable;
  CharacterSet character_set = CharacterSet::kAnsi;
  unsigned char row_terminator = 13;
  unsigned char field_separator = 9;
  unsigned char decimal_separator = '.';
  int rows_to_skip = 0;
  bool exclude_control_characters = true;
  // Byte k of conversion_from is read as byte k of conversion_to.
  std::string conversion_from;
  std::string conversion_to;
  // Dropped from every field, as bytes 0..31 are.
  std::string excluded_characters;
  int rows_per_card = 1;
  int rows_per_line = 1;
  DateFormat date_format = DateFormat::kYYMMDD;
  TextConversion title_conversion = TextConversion::kNone;
  TextConversion notes_conversion = TextConversion::kNone;

  FieldSpec card_indicator;
  FieldSpec line_indicator;
  FieldSpec card_switcher;
  FieldSpec card_date;
  FieldSpec card_title;
  FieldSpec card_notes;
  FieldSpec created;
  FieldSpec modified;
  FieldSpec examined;
  FieldSpec approved;

  std::vector<LineDefinition> line_definitions = std::vector<LineDefinition>(1);
  // How the setup editor shows the example file; not stored.
  bool hex_display = false;

  bool operator==(const ImportSetup&) const = default;
};

// The import setups of a database, in the order they were read or made. Storing and removing a
// setup marks the database modified and tells its listeners (kImportSetups).
class ImportSetups : public DatabaseAttachment {
 public:
  explicit ImportSetups(Database& database) : database_(database) {}
  static ImportSetups& Of(Database& database) { return database.Attached<ImportSetups>(); }
  static const ImportSetups& Of(const Database& database) {
    return database.Attached<ImportSetups>();
  }

  std::vector<ImportSetup>& named() { return named_; }
  const std::vector<ImportSetup>& named() const { return named_; }
  // The setup of that name ignoring case; nullptr when there is none.
  ImportSetup* Find(std::string_view name);

  // `name` on one line (the default name when that is empty), its number counted up while a
  // setup other than the one named `except` bears it (ignoring case).
  std::string UniqueName(std::string_view name, std::string_view except = {}) const;
  // Writes an edited setup: it replaces the setup named `old_name`, or is added at the end when
  // there is none; its name is made unique first. Returns the stored setup, valid until the
  // list changes.
  ImportSetup& Store(const ImportSetup& edit, std::string_view old_name);
  // False when no setup has that name.
  bool Remove(std::string_view name);

 private:
  Database& database_;
  std::vector<ImportSetup> named_;
};

}  // namespace jov
