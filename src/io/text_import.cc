#include "io/text_import.h"

#include <array>
#include <deque>
#include <string>

#include "files/base_options_section.h"
#include "files/database_file.h"
#include "files/file_kind.h"
#include "files/identifier_cache.h"
#include "io/import_fields.h"
#include "io/import_values.h"
#include "io/line_fields.h"
#include "io/new_component.h"
#include "model/case_tables.h"
#include "platform/file_io.h"
#include "shell/alert.h"
#include "shell/command_error.h"
#include "shell/pending_error.h"
#include "shell/progress.h"

namespace jov {
namespace {

void ReportFile(MessageId message, std::string_view file) {
  AlertRecord alert(message, 1);
  if (!file.empty()) alert.Arg(file);
  alert.Button(msg::kButtonOk);
  ReportAlert(alert);
}

void Convert(TextConversion conversion, std::string& text) {
  switch (conversion) {
    case TextConversion::kNone:
      return;
    case TextConversion::kUpper:
      return ApplyCaseOption(CaseOption::kUpper, text);
    case TextConversion::kLower:
      return ApplyCaseOption(CaseOption::kLower, text);
    case TextConversion::kStandard:
      return ApplyCaseOption(CaseOption::kStandard, text);
    case TextConversion::kWordCaps:
      return ApplyCaseOption(CaseOption::kWordCaps, text);
  }
}

// What a line definition needs beyond the setup, worked out at the start of every import.
struct DefinitionState {
  DefinitionState(const LineDefinition& definition, unsigned char decimal_separator)
      : fields(definition, decimal_separator) {}

  LineFieldReader fields;
  // The component of an empty code: the dimension's root without a default text, kNoComponent
  // while a default text has not been found or made yet.
  std::array<ComponentRef, kDimensionCount> default_components{};
};

class Importer : public UnreadableValue {
 public:
  Importer(Database& database, ImportInput& input, std::string_view name, const ImportSetup& setup)
      : database_(database),
        cards_(database.cards()),
        setup_(setup),
        name_(name),
        reader_(input, setup),
        fields_(setup),
        value_count_(database.value_field_count()) {}

  ImportResult Run();

 private:
  void Derive();
  bool Advance();
  void Join(int rows);
  bool Matches(const FieldSpec& spec) { return fields_.Matches(spec); }
  bool ContinuesCard();
  bool StartCard();
  void ReadCardTexts();
  Stamp ReadStampField(const FieldSpec& spec);
  bool FindFirstLineRow(bool* at_end);
  void MakeLines();
  void MakeLine(DefinitionState& state);
  void Report(std::string_view text) override;
  ComponentRef Component(DefinitionState& state, int dimension);
  ComponentRef ComponentOfHost(int dimension, std::string_view host,
                               NewComponentPlacement placement);
  void CloseCard();
  void Finish();

  Database& database_;
  CardStore& cards_;
  const ImportSetup& setup_;
  std::string_view name_;
  RowReader reader_;
  FieldReader fields_;
  const int value_count_;
  std::deque<DefinitionState> definitions_;
  DayCode default_day_ = kNoDay;
  std::array<IdentifierCache, kDimensionCount> hosts_;
  CardRef card_ = kNoRecord;
  uint64_t card_lines_ = 0;
  Sequence largest_number_ = 0;
  std::string switcher_;
  std::string text_;
  std::array<double, kMaxImportValueFields> values_{};
  std::array<ComponentRef, kDimensionCount> components_{};
  ImportResult result_;
  bool card_failed_ = false;
};

ImportResult Importer::Run() {
  ReportProgressSection(msg::kSectionCardsLines);
  Derive();
  bool more = true;
  for (int i = 0; more && i < setup_.rows_to_skip; ++i) more = Advance();
  more = more && Advance();
  while (more && !StopRequested()) {
    if (!Matches(setup_.card_indicator)) {
      more = Advance();
      continue;
    }
    if (!StartCard()) break;
    bool at_end = false;
    if (!FindFirstLineRow(&at_end)) {
      more = !at_end;
      continue;
    }
    fields_.PlainJoin(setup_.card_switcher, switcher_);
    do {
      Join(setup_.rows_per_line);
      MakeLines();
      ReportProgress(static_cast<int64_t>(reader_.bytes_read()));
      more = !StopRequested() && Advance();
    } while (more && ContinuesCard());
    CloseCard();
  }
  Finish();
  return result_;
}

void Importer::Derive() {
  const DayCode day = ReadImportDate(setup_.card_date.default_text(), setup_.date_format);
  default_day_ = day != kNoDay ? day : Today();
  for (const LineDefinition& definition : setup_.line_definitions) {
    DefinitionState& state = definitions_.emplace_back(definition, setup_.decimal_separator);
    for (int d = 0; d < kDimensionCount; ++d) {
      const std::string_view host = state.fields.DefaultCode(d);
      ComponentRef found = static_cast<ComponentRef>(d);
      if (!host.empty()) {
        found = database_.FindByHost(d, host);
        if (found == kNoComponent) found = database_.FindByCode(d, host);
      }
      state.default_components[d] = found;
    }
  }
}

bool Importer::Advance() {
  if (!reader_.NextRow()) return false;
  fields_.SetRow(reader_.row());
  return true;
}

void Importer::Join(int rows) {
  if (rows <= 1) return;
  reader_.JoinRows(rows);
  fields_.SetRow(reader_.row());
}

// A line row that follows the card's first one belongs to the card when its switcher value is
// empty or the card's. Without a switcher, a row that starts a card starts the next card: so a
// file without indicators gives a card for every row.
bool Importer::ContinuesCard() {
  if (!Matches(setup_.line_indicator)) return false;
  if (setup_.card_switcher.empty()) return !Matches(setup_.card_indicator);
  fields_.PlainJoin(setup_.card_switcher, text_);
  return text_.empty() || text_ == switcher_;
}

// Makes the card of the current card row; false when no card could be made.
bool Importer::StartCard() {
  Join(setup_.rows_per_card);
  fields_.TextJoin(setup_.card_date, text_);
  DayCode day = text_.empty() ? kNoDay : ReadImportDate(text_, setup_.date_format);
  if (day == kNoDay) day = default_day_;
  card_ = cards_.CreateCard({day, 1});
  if (card_ == kNoRecord) {
    card_failed_ = true;
    return false;
  }
  card_lines_ = 0;
  ReadCardTexts();
  return true;
}

void Importer::ReadCardTexts() {
  fields_.TextJoin(setup_.card_title, text_);
  Convert(setup_.title_conversion, text_);
  if (!text_.empty()) cards_.SetTitle(card_, text_);
  Card& card = cards_.mutable_card(card_);
  card.created = ReadStampField(setup_.created);
  card.notes_stamp = card.created;
  card.modified = ReadStampField(setup_.modified);
  card.examined = ReadStampField(setup_.examined);
  card.approved = ReadStampField(setup_.approved);
  fields_.TextJoin(setup_.card_notes, text_);
  Convert(setup_.notes_conversion, text_);
  if (!text_.empty()) cards_.SetNotes(card_, text_, card.created);
}

Stamp Importer::ReadStampField(const FieldSpec& spec) {
  if (spec.empty()) return Stamp();
  fields_.PlainJoin(spec, text_);
  if (text_.empty()) text_.assign(spec.default_text());
  return ReadStamp(text_);
}

// Moves to the card's first line row. False when the card ends without one: it is deleted, and
// the current row is the next card row, or the file ended (`at_end`).
bool Importer::FindFirstLineRow(bool* at_end) {
  for (;;) {
    if (Matches(setup_.line_indicator)) return true;
    if (StopRequested() || !Advance()) {
      *at_end = true;
      break;
    }
    if (Matches(setup_.card_indicator)) break;
  }
  cards_.DeleteCard(card_);
  card_ = kNoRecord;
  return false;
}

void Importer::MakeLines() {
  for (DefinitionState& state : definitions_) MakeLine(state);
}

void Importer::MakeLine(DefinitionState& state) {
  const LineDefinition& definition = state.fields.definition();
  bool all_zero = true;
  for (int v = 0; v < value_count_; ++v) {
    values_[v] = state.fields.Value(fields_, v, this);
    if (values_[v] != 0) all_zero = false;
  }
  if (definition.exclude_zero_lines && all_zero) return;
  // Components first: one made in a dimension without components widens every line.
  for (int d = 0; d < kDimensionCount; ++d) components_[d] = Component(state, d);
  const GroupRef group = cards_.FindOrAddGroup(card_, components_[0]);
  if (group == kNoRecord) return;
  const LineRef line = cards_.CreateLine(group);
  if (line == kNoLine) return;
  const int slots = database_.line_layout().slots;
  cards_.SetComponents(line, std::span<const ComponentRef>(components_.data() + 1, slots));
  cards_.SetValues(line, std::span<const double>(values_.data(), value_count_));
  if (!definition.line_text.empty()) {
    fields_.TextJoin(definition.line_text, text_);
    Convert(definition.line_text_conversion, text_);
    if (!text_.empty()) cards_.SetLineText(line, text_);
  }
  ++card_lines_;
  ++result_.lines;
}

// A text that gives no number is a command error: the value is changed to zero.
void Importer::Report(std::string_view text) {
  AlertRecord alert(msg::kValueChangedToZero);
  alert.Arg(text).Arg(CardIdText(cards_.CardId(card_)));
  RaiseCommandError(alert);
}

ComponentRef Importer::Component(DefinitionState& state, int dimension) {
  const NewComponentPlacement placement = state.fields.definition().placements[dimension];
  const std::string_view code = state.fields.Code(fields_, dimension);
  if (!code.empty()) return ComponentOfHost(dimension, code, placement);
  ComponentRef& by_default = state.default_components[dimension];
  if (by_default == kNoComponent) {
    by_default = ComponentOfHost(dimension, state.fields.DefaultCode(dimension), placement);
  }
  return by_default;
}

ComponentRef Importer::ComponentOfHost(int dimension, std::string_view host,
                                       NewComponentPlacement placement) {
  ComponentRef ref = hosts_[dimension].Find(host);
  if (ref != kNoComponent) return ref;
  ref = database_.FindByHost(dimension, host);
  if (ref == kNoComponent) ref = AddImportedComponent(database_, dimension, host, placement);
  hosts_[dimension].Add(host, ref);
  return ref;
}

void Importer::CloseCard() {
  if (card_ == kNoRecord) return;
  if (card_lines_ > 0) {
    ++result_.cards;
    largest_number_ = std::max(largest_number_, cards_.card(card_).sequence);
  }
  cards_.FinishCard(card_);
  card_ = kNoRecord;
}

void Importer::Finish() {
  CloseCard();
  if (result_.cards > 0) {
    database_.MarkModified();
    database_.SetCardDigits(
        std::max(database_.card_digits(), DigitsForCardNumber(largest_number_)));
  } else {
    cards_.TakeCardsChanged();  // cards made and deleted again changed nothing
  }
  database_.FlushChangeFlags();
  result_.rows = reader_.rows();
  if (reader_.replaced_characters() > 0) {
    AlertRecord alert(msg::kCharactersReplaced, 1);
    alert.Arg(static_cast<long long>(reader_.replaced_characters())).Arg(name_);
    ReportAlert(alert);
  }
  if (reader_.read_failed()) ReportFile(msg::kErrorReading, name_);
  result_.outcome = reader_.read_failed() || card_failed_ ? ImportOutcome::kFailed
                    : StopRequested()                     ? ImportOutcome::kStopped
                                                          : ImportOutcome::kDone;
}

}  // namespace

ImportResult ImportText(Database& database, ImportInput& input, std::string_view name,
                        const ImportSetup& setup) {
  return Importer(database, input, name, setup).Run();
}

ImportResult ImportTextFile(Database& database, const std::string& path, const ImportSetup& setup) {
  const std::optional<std::string> head = ReadFileBytes(path, kQuickTestBytes);
  if (!head) return ImportResult();
  if (LooksLikeDatabaseFile(*head)) {
    ReportFile(msg::kDatabaseFileNotImported, {});
    return ImportResult();
  }
  FileImportInput input;
  if (!input.Open(path)) {
    ReportFile(msg::kUnableToOpen, path);
    return ImportResult();
  }
  ScopedProgress progress(ProgressMode::kImporting, FileNameOf(path), FileSize(path).value_or(0));
  return ImportText(database, input, path, setup);
}

}  // namespace jov
