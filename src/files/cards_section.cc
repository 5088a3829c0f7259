#include "files/cards_section.h"

#include <algorithm>
#include <array>
#include <string>

#include "files/base_options_section.h"
#include "files/identifier_cache.h"
#include "files/multiline_text.h"
#include "files/section_input.h"
#include "files/section_output.h"
#include "model/database.h"
#include "shell/number_text.h"

namespace jov {
namespace {

// A value field: an empty or absent field is 0, as files have always been read; the missing
// number is written as a text without digits (text_format::kMissingValue), which the tolerant
// parser reads back as missing.
double ReadValue(std::string_view field) { return field.empty() ? 0.0 : ParseNumber(field); }

class CardsReader {
 public:
  explicit CardsReader(SectionInput& input)
      : input_(input),
        database_(input.database()),
        cards_(database_.cards()),
        in_effect_(database_.Attached<SaveSetups>().in_effect()) {
    kinds_.fill(IdentifierKind::kCode);
  }

  void Read();

 private:
  void ReadDirective(const Fields& fields);
  void StartCard(const Fields& fields);
  void ReadNotes();
  void ReadStamps(const Fields& fields);
  void StartGroup(const Fields& fields);
  void ReadLine(const Fields& fields);
  void FinishCard();
  ComponentRef Resolve(int dimension, std::string_view text);

  SectionInput& input_;
  Database& database_;
  CardStore& cards_;
  SaveSetup& in_effect_;
  std::array<IdentifierKind, kDimensionCount> kinds_;
  std::array<IdentifierCache, kDimensionCount> resolved_;
  CardRef card_ = kNoRecord;
  GroupRef group_ = kNoRecord;
  Sequence largest_ = 0;
  std::array<double, Database::kMaxValueFields> values_{};
  std::array<ComponentRef, kDimensionCount> slots_{};
  std::string notes_;
};

void CardsReader::Read() {
  while (input_.NextBodyLine()) {
    const std::string_view line = input_.line();
    if (line.empty()) continue;
    switch (line[0]) {
      case text_format::kDirectiveRecord:
        ReadDirective(input_.Split());
        break;
      case text_format::kCardRecord:
        StartCard(input_.Split());
        break;
      case text_format::kNotesRecord:
        ReadNotes();
        break;
      case text_format::kStampsRecord:
        ReadStamps(input_.Split());
        break;
      case text_format::kGroupRecord:
        StartGroup(input_.Split());
        break;
      case text_format::kLineRecord:
        ReadLine(input_.Split());
        break;
    }
  }
  FinishCard();
  if (largest_ > 0) {
    database_.SetCardDigits(std::max(database_.card_digits(), DigitsForCardNumber(largest_)));
  }
}

// "-D" directly followed by H, T or C, tab, the dimension number.
void CardsReader::ReadDirective(const Fields& fields) {
  const std::string_view key = fields[0];
  IdentifierKind kind;
  const size_t letter = text_format::kDimensionDirective.size();
  if (key.size() <= letter || !key.starts_with(text_format::kDimensionDirective) ||
      !IdentifierFromLetter(key[letter], &kind)) {
    return;
  }
  const std::optional<int> number = FieldInteger(fields[1]);
  if (!number || *number < 1 || *number > kDimensionCount) return;
  const int dimension = *number - 1;
  kinds_[dimension] = kind;
  resolved_[dimension].Clear();
  in_effect_.identifiers[dimension] = kind;
}

void CardsReader::StartCard(const Fields& fields) {
  FinishCard();
  const Date date = ReadCardId(fields[0].substr(1));
  if (date.day == kNoDay) return;  // no date: its groups and lines are skipped with it
  card_ = cards_.CreateCard(date);
  if (card_ == kNoRecord) return;
  largest_ = std::max(largest_, cards_.card(card_).sequence);
  if (!fields[1].empty()) cards_.SetTitle(card_, fields[1]);
}

// "N" directly followed by the notes stamp, tab, the notes in multi-line form. The notes keep
// their trailing blanks: they are the last field and written exactly.
void CardsReader::ReadNotes() {
  const std::string_view line = input_.JoinContinued();
  if (card_ == kNoRecord) return;
  const size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return;
  const Stamp stamp = ReadStamp(TrimTrailingBlanks(line.substr(1, tab - 1)));
  DecodeMultiline(line.substr(tab + 1), &notes_);
  cards_.SetNotes(card_, notes_, stamp);
}

// "S" directly followed by the created stamp, tab, modified, tab, examined, tab, approved.
void CardsReader::ReadStamps(const Fields& fields) {
  if (card_ == kNoRecord) return;
  Card& card = cards_.mutable_card(card_);
  card.created = ReadStamp(fields[0].substr(1));
  card.modified = ReadStamp(fields[1]);
  card.examined = ReadStamp(fields[2]);
  card.approved = ReadStamp(fields[3]);
}

void CardsReader::StartGroup(const Fields& fields) {
  group_ = kNoRecord;
  if (card_ == kNoRecord) return;
  group_ = cards_.FindOrAddGroup(card_, Resolve(0, fields[0].substr(1)));
}

// "L" directly followed by value 1, then values 2..V, the line text and the identifiers of
// dimensions 2..16. Identifiers are resolved before the line is made: a new component in a new
// dimension changes the line layout.
void CardsReader::ReadLine(const Fields& fields) {
  if (group_ == kNoRecord) return;
  const int value_count = database_.value_field_count();
  values_[0] = ReadValue(fields[0].substr(1));
  for (int i = 1; i < value_count; ++i) values_[i] = ReadValue(fields[static_cast<size_t>(i)]);
  const std::string_view text = fields[static_cast<size_t>(value_count)];
  const size_t first_identifier = static_cast<size_t>(value_count) + 1;
  const size_t identifiers = std::min<size_t>(
      fields.size() > first_identifier ? fields.size() - first_identifier : 0, kDimensionCount - 1);
  for (size_t k = 1; k <= identifiers; ++k) {
    slots_[k] = Resolve(static_cast<int>(k), fields[first_identifier + k - 1]);
  }
  // Read after resolving, which may have widened the layout; the slots past the line's
  // identifiers hold their dimensions' roots.
  const int slots = database_.line_layout().slots;
  for (size_t k = identifiers + 1; k <= static_cast<size_t>(slots); ++k) {
    slots_[k] = static_cast<ComponentRef>(k);
  }
  const LineRef line = cards_.AddLine(group_, std::span<const double>(values_.data(), value_count),
                                      std::span<const ComponentRef>(slots_.data() + 1, slots));
  if (line != kNoLine && !text.empty()) cards_.SetLineText(line, text);
}

void CardsReader::FinishCard() {
  if (card_ != kNoRecord) cards_.FinishCard(card_);
  card_ = kNoRecord;
  group_ = kNoRecord;
}

ComponentRef CardsReader::Resolve(int dimension, std::string_view text) {
  if (text.empty()) return static_cast<ComponentRef>(dimension);
  ComponentRef ref = resolved_[dimension].Find(text);
  if (ref != kNoComponent) return ref;
  ref = database_.ResolveIdentifier(dimension, text, kinds_[dimension]);
  resolved_[dimension].Add(text, ref);
  return ref;
}

// --- Writing

class CardsWriter {
 public:
  explicit CardsWriter(SectionOutput& output)
      : output_(output),
        database_(output.database()),
        cards_(database_.cards()),
        sink_(output.sink()),
        setup_(output.setup()),
        filter_(output.options().filter),
        decimals_(database_.value_decimals()),
        values_(database_.value_field_count()) {
    const int slots = database_.line_layout().slots;
    for (int number = 2; number <= kDimensionCount; ++number) {
      const int source = output.DimensionAt(number);
      columns_[number - 2] = source;
      if (source >= 1 && source <= slots) column_count_ = number - 1;
    }
  }

  void Write();

 private:
  void WriteDirectives();
  void WriteCard(CardRef card);
  void WriteStamps(const Card& card);
  void WriteLine(GroupRef group, LineRef line);
  void Identifier(ComponentRef ref, int dimension);

  SectionOutput& output_;
  const Database& database_;
  const CardStore& cards_;
  LineSink& sink_;
  const SaveSetup& setup_;
  const SaveFilter* filter_;
  int decimals_;
  int values_;
  // The dimension written in each identifier column (dimensions 2..16 in the save's numbering),
  // -1 for none; columns past column_count_ are all empty.
  std::array<int, kDimensionCount - 1> columns_{};
  int column_count_ = 0;
};

void CardsWriter::Write() {
  output_.SectionLine(text_format::kCards);
  WriteDirectives();
  for (CardRef card = cards_.FirstCard(); card != kCardSentinel; card = cards_.NextCard(card)) {
    if (SavesCard(filter_, database_, card)) WriteCard(card);
  }
}

void CardsWriter::WriteDirectives() {
  for (int d = 0; d < kDimensionCount; ++d) {
    const IdentifierKind kind = setup_.identifiers[d];
    if (kind == IdentifierKind::kCode || output_.NumberOf(d) == 0) continue;
    sink_.Add(text_format::kDimensionDirective)
        .Add(IdentifierLetter(kind))
        .Tab()
        .Integer(output_.NumberOf(d));
    sink_.EndLine();
  }
}

void CardsWriter::WriteCard(CardRef ref) {
  const Card& card = cards_.card(ref);
  const Date id = cards_.CardId(ref);
  // A number wider than the card digits is written in full rather than cut.
  const int digits =
      id.sequence > LargestCardNumber(database_.card_digits()) ? kNoWidth : database_.card_digits();
  sink_.Add(text_format::kCardRecord);
  AppendCardId(sink_.line(), id, digits);
  sink_.Tab().Text(cards_.Title(ref));
  sink_.EndLine();
  if (!cards_.Notes(ref).empty()) {
    sink_.Add(text_format::kNotesRecord).Text(StampText(card.notes_stamp)).Tab();
    WriteMultilineField(sink_, cards_.Notes(ref), output_.scratch());
  }
  // A card examined or approved without a created stamp (an imported one) keeps its stamps
  // too.
  if (!card.created.empty() || !card.modified.empty() || !card.examined.empty() ||
      !card.approved.empty()) {
    WriteStamps(card);
  }
  for (GroupRef group = card.first_group; group != kNoRecord; group = cards_.group(group).next) {
    if (!SavesGroup(filter_, database_, ref, group)) continue;
    sink_.Add(text_format::kGroupRecord);
    Identifier(cards_.group(group).component, 0);
    sink_.EndLine();
    for (LineRef line = cards_.group(group).first_line; line != kNoLine;
         line = cards_.lines().next(line)) {
      if (SavesLine(filter_, database_, group, line)) WriteLine(group, line);
    }
  }
}

void CardsWriter::WriteStamps(const Card& card) {
  sink_.Add(text_format::kStampsRecord)
      .Text(StampText(card.created))
      .Tab()
      .Text(StampText(card.modified));
  sink_.Tab().Text(StampText(card.examined)).Tab().Text(StampText(card.approved));
  sink_.EndLine();
}

void CardsWriter::WriteLine(GroupRef group, LineRef line) {
  sink_.Add(text_format::kLineRecord);
  for (int field = 0; field < values_; ++field) {
    if (field > 0) sink_.Tab();
    sink_.Value(cards_.GetValue(line, field), decimals_);
  }
  sink_.Tab().Text(cards_.LineText(line));
  for (int column = 0; column < column_count_; ++column) {
    sink_.Tab();
    if (columns_[column] >= 0) {
      Identifier(database_.LineComponent(group, line, columns_[column]), columns_[column]);
    }
  }
  sink_.EndLine();
}

void CardsWriter::Identifier(ComponentRef ref, int dimension) {
  if (IsRoot(ref)) return;
  const Component& component = database_.component(ref);
  switch (setup_.identifiers[dimension]) {
    case IdentifierKind::kCode:
      sink_.Text(component.code);
      break;
    case IdentifierKind::kHost:
      sink_.Text(component.host);
      break;
    case IdentifierKind::kText:
      sink_.Text(component.text);
      break;
  }
}

}  // namespace

void ReadCardsSection(SectionInput& input, std::string_view) { CardsReader(input).Read(); }

void WriteCardsSection(SectionOutput& output) { CardsWriter(output).Write(); }

}  // namespace jov
