#include "model/dimension.h"

#include <array>

#include "model/database.h"
#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

constexpr std::array<std::string_view, kDisplayFieldsCount> kDisplayTexts = {"C",  "H",  "T",  "CT",
                                                                             "HT", "CH", "CHT"};

constexpr std::array<ChangeCode, 3> kCaseChangeCodes = {
    ChangeCode::kCodeCase, ChangeCode::kTextCase, ChangeCode::kHostCase};
constexpr std::array<char, 3> kFieldLetters = {'C', 'T', 'H'};

}  // namespace

std::string_view DisplayFieldsText(DisplayFields fields) {
  return kDisplayTexts[static_cast<size_t>(fields)];
}

bool DisplayFieldsFromText(std::string_view text, DisplayFields* fields) {
  for (size_t i = 0; i < kDisplayTexts.size(); ++i) {
    if (EqualsIgnoringCase(kDisplayTexts[i], text)) {
      *fields = static_cast<DisplayFields>(i);
      return true;
    }
  }
  return false;
}

bool DisplaysField(DisplayFields fields, char field) {
  return DisplayFieldsText(fields).find(field) != std::string_view::npos;
}

Dimension::Dimension(Database& database, int index) : database_(database), index_(index) {}

int Dimension::width(ComponentField field) const {
  const int stored = widths_[static_cast<int>(field)];
  if (stored < kMinWidth || stored > kMaxWidth) return kDefaultWidths[static_cast<int>(field)];
  return stored;
}

bool Dimension::SetCaseOption(ComponentField field, CaseOption option) {
  const int f = static_cast<int>(field);
  if (field == ComponentField::kCode &&
      (option == CaseOption::kStandard || option == CaseOption::kWordCaps)) {
    return false;
  }
  if (case_options_[f] == option) return true;
  case_options_[f] = option;
  if (CaseOptionRewrites(option)) database_.RewriteField(index_, field, option);
  Changed(kCaseChangeCodes[f]);
  if (DisplaysField(display_, kFieldLetters[f])) database_.Notify(ChangeCode::kDisplay, index_);
  return true;
}

void Dimension::SetDisplay(DisplayFields display) {
  if (display_ == display) return;
  display_ = display;
  Changed(ChangeCode::kDisplayOption);
}

void Dimension::SetMustFill(bool must_fill) {
  if (must_fill_ == must_fill) return;
  must_fill_ = must_fill;
  Changed(ChangeCode::kMustFill);
}

bool Dimension::SetOrdering(char ordering) {
  const char letter = static_cast<char>(UpperCase(static_cast<unsigned char>(ordering)));
  if (letter == '\0' || kOrderingLetters.find(letter) == std::string_view::npos) return false;
  if (ordering_ == letter) return true;
  ordering_ = letter;
  Changed(ChangeCode::kOrdering);
  return true;
}

void Dimension::SetWidth(ComponentField field, int width) {
  const int f = static_cast<int>(field);
  const bool is_default = width == kDefaultWidths[f] || width < kMinWidth || width > kMaxWidth;
  const uint16_t stored = is_default ? 0 : static_cast<uint16_t>(width);
  if (widths_[f] == stored) return;
  widths_[f] = stored;
  Changed(ChangeCode::kWidths);
}

void Dimension::SetSingularName(std::string_view name) {
  const std::string stored =
      name == MessageText(msg::kFirstDimensionSingular + index_) ? "" : std::string(name);
  if (singular_ == stored) return;
  singular_ = stored;
  Changed(ChangeCode::kSingularName);
}

void Dimension::SetPluralName(std::string_view name) {
  const std::string stored =
      name == MessageText(msg::kFirstDimensionPlural + index_) ? "" : std::string(name);
  if (plural_ == stored) return;
  plural_ = stored;
  Changed(ChangeCode::kPluralName);
}

void Dimension::Changed(ChangeCode code) {
  database_.MarkModified();
  database_.Notify(code, index_);
  database_.UpdateUsedState(index_);
}

bool Dimension::HasSettings() const {
  const Dimension defaults(database_, index_);
  return case_options_ != defaults.case_options_ || display_ != defaults.display_ ||
         must_fill_ != defaults.must_fill_ || ordering_ != defaults.ordering_ ||
         widths_ != defaults.widths_ || !singular_.empty() || !plural_.empty();
}

}  // namespace jov
