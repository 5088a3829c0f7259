// A dimension of a database: its options (case of codes, texts and host codes, what analyses
// display, the must-be-filled-in flag, ordering, column widths) and its names. Setters change a
// value only when it differs, then mark the database modified and broadcast the change.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/case_tables.h"
#include "model/change_code.h"
#include "model/component.h"

namespace jov {

class Database;

// Which identifiers analyses show for a component; stored as "C", "H", "T", "CT", "HT", "CH",
// "CHT" (C = JOV-Code, H = Host Code, T = Text).
enum class DisplayFields : unsigned char { kC, kH, kT, kCT, kHT, kCH, kCHT };
constexpr int kDisplayFieldsCount = 7;
std::string_view DisplayFieldsText(DisplayFields fields);
bool DisplayFieldsFromText(std::string_view text, DisplayFields* fields);
bool DisplaysField(DisplayFields fields, char field);  // field: 'C', 'H' or 'T'

// Which identifier a component field is.
enum class ComponentField : int { kCode = 0, kText = 1, kHost = 2 };

class Dimension {
 public:
  static constexpr std::array<int, 3> kDefaultWidths = {80, 160, 80};  // code, text, host
  static constexpr int kMinWidth = 24;
  static constexpr int kMaxWidth = 500;
  static constexpr std::string_view kOrderingLetters = "FSD";
  Dimension(Database& database, int index);

  int index() const { return index_; }
  ComponentRef root() const { return static_cast<ComponentRef>(index_); }

  CaseOption case_option(ComponentField field) const {
    return case_options_[static_cast<int>(field)];
  }
  DisplayFields display() const { return display_; }
  bool must_fill() const { return must_fill_; }
  char ordering() const { return ordering_; }
  // The width in pixels, the default when none (or an out-of-range one) is stored.
  int width(ComponentField field) const;
  // The stored width: 0 for the default.
  int stored_width(ComponentField field) const { return widths_[static_cast<int>(field)]; }
  const std::string& singular_name() const { return singular_; }  // empty: default
  const std::string& plural_name() const { return plural_; }      // empty: default

  // Changing to U, L, D or W rewrites that field of every component. The JOV-Code accepts only
  // U, L, S and N; false (nothing changed) for D or W there.
  bool SetCaseOption(ComponentField field, CaseOption option);
  void SetDisplay(DisplayFields display);
  void SetMustFill(bool must_fill);
  // One of "FSD"; false for any other letter.
  bool SetOrdering(char ordering);
  // Stores 0 for the default width; a value outside 24..500 also means the default.
  void SetWidth(ComponentField field, int width);
  // Storing the default text stores nothing.
  void SetSingularName(std::string_view name);
  void SetPluralName(std::string_view name);

  // Any setting other than its default.
  bool HasSettings() const;

 private:
  friend class Database;

  // Marks the database modified, broadcasts `code` and updates the used state.
  void Changed(ChangeCode code);

  Database& database_;
  int index_;
  std::array<CaseOption, 3> case_options_ = {CaseOption::kUpper, CaseOption::kCaseInsensitive,
                                             CaseOption::kCaseInsensitive};
  DisplayFields display_ = DisplayFields::kCT;
  bool must_fill_ = false;
  char ordering_ = 'S';
  std::array<uint16_t, 3> widths_ = {0, 0, 0};
  std::string singular_;
  std::string plural_;
};

}  // namespace jov
