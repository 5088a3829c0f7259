#include "analysis/transform.h"

#include <algorithm>
#include <optional>

#include "analysis/formula_compiler.h"
#include "model/case_tables.h"
#include "model/user_stamp.h"
#include "select/component_code_text.h"
#include "select/criterion_text.h"
#include "shell/special_numbers.h"

namespace jov {
namespace {

// The value field a formula key's character names: "1"-"9" fields 1-9, "A"-"X" fields 1-24;
// -1 for another character.
int FieldOfKey(char c) {
  if (c >= '1' && c <= '9') return c - '1';
  const char upper = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (upper >= 'A' && upper <= 'X') return upper - 'A';
  return -1;
}

// The dimension index of a "D" key's number "1".."16"; -1 otherwise.
int DimensionOfKey(std::string_view digits) {
  if (digits.empty() || digits.size() > 2) return -1;
  int number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return -1;
    number = number * 10 + (c - '0');
  }
  return number >= 1 && number <= kDimensionCount ? number - 1 : -1;
}

// The component a replacement names: the root for "\", else the component of that code (in
// quotes when it holds token characters); nothing when the dimension has no such code.
std::optional<ComponentRef> ReplacementComponent(const Database& database, int dimension,
                                                 std::string_view text) {
  const std::string_view trimmed = TrimBlanksView(text);
  if (trimmed == kRootReplacement) return database.dimension(dimension).root();
  std::string code;
  size_t pos = 0;
  if (!ReadCodeText(trimmed, &pos, &code)) code = trimmed;
  const ComponentRef found = database.FindByCode(dimension, code);
  if (found == kNoComponent) return std::nullopt;
  return found;
}

bool ApplyDate(std::string& setting, std::string_view value, DateBound bound) {
  if (TrimBlanksView(value).empty()) {
    setting.clear();
    return true;
  }
  const std::optional<DayCode> day = ReadTransformDate(value, bound);
  if (!day) return false;
  setting = DayCodeText(*day);
  return true;
}

// One "key=value" token; false when it is not accepted.
bool ApplyKeyed(TransformSettings& settings, const Database& database, std::string_view key,
                std::string_view value) {
  const auto is = [key](std::string_view name) { return EqualsIgnoringCase(key, name); };
  if (is("CB")) return ApplyDate(settings.source_begin, value, DateBound::kStart);
  if (is("CE")) return ApplyDate(settings.source_end, value, DateBound::kEnd);
  if (is("CF")) return ApplyDate(settings.target_begin, value, DateBound::kStart);
  if (is("CT")) return ApplyDate(settings.target_end, value, DateBound::kEnd);
  TextRule* rules[] = {&settings.title, &settings.notes, &settings.line_text};
  constexpr std::string_view kRuleKeys[] = {"T", "N", "L"};
  for (size_t i = 0; i < std::size(rules); ++i) {
    if (is(std::string(kRuleKeys[i]) + "F")) {
      rules[i]->pattern = value;
      return true;
    }
    if (is(std::string(kRuleKeys[i]) + "T")) {
      rules[i]->replacement = value;
      return true;
    }
  }
  if (key.empty()) return false;
  const char letter = key.front();
  if (letter == 'D' || letter == 'd') {
    const int dimension = DimensionOfKey(key.substr(1));
    if (dimension < 0) return false;
    if (TrimBlanksView(value).empty()) {
      settings.replacement[static_cast<size_t>(dimension)].clear();
      return true;
    }
    if (!ReplacementComponent(database, dimension, value)) return false;
    settings.replacement[static_cast<size_t>(dimension)] = TrimBlanksView(value);
    return true;
  }
  if ((letter == 'V' || letter == 'v') && key.size() <= 2) {
    const int field = key.size() == 1 ? 0 : FieldOfKey(key[1]);
    if (field < 0 || field >= database.value_field_count()) return false;
    settings.formulas[static_cast<size_t>(field)] = value;
    return true;
  }
  return false;
}

std::string Trimmed(std::string text) { return std::string(TrimBlanksView(text)); }

// One transform: the settings resolved against the database and the window's data.
class Transformation {
 public:
  Transformation(Database& database, const TransformSettings& settings, const Stamp& stamp)
      : database_(database), cards_(database.cards()), settings_(settings), stamp_(stamp) {}

  void Prepare(const std::vector<CardRef>& listed);
  void Card(CardRef card, const WindowLines& window);
  const TransformResult& result() const { return result_; }

 private:
  // A card as the transform makes it: its day, title and notes.
  struct CardForm {
    DayCode day;
    std::string title;
    std::string notes;
  };

  void PrepareDates(const std::vector<CardRef>& listed);
  void PrepareFormulas();
  CardForm EditedForm(CardRef card) const;
  CardRef NewCard(CardRef source, const CardForm& form);
  void EditInPlace(CardRef card, const CardForm& form);
  void MoveLines(CardRef card, std::span<const CardLine> lines, CardRef target, double t);
  bool ChangesLines() const { return line_changes_; }
  void ChangeLine(LineRef line, double t);
  LineRef CopyLine(LineRef line, GroupRef group, double t);

  Database& database_;
  CardStore& cards_;
  const TransformSettings& settings_;
  const Stamp stamp_;
  DateMapping mapping_;
  std::array<std::optional<ComponentRef>, kDimensionCount> replacement_{};
  FormulaNameTable names_;
  std::vector<std::optional<CompiledFormula>> formulas_;
  std::vector<double> name_values_;
  bool line_changes_ = false;
  TransformResult result_;
};

void Transformation::Prepare(const std::vector<CardRef>& listed) {
  PrepareDates(listed);
  for (int d = 0; d < kDimensionCount; ++d) {
    const std::string& text = settings_.replacement[static_cast<size_t>(d)];
    if (text.empty()) continue;
    replacement_[static_cast<size_t>(d)] = ReplacementComponent(database_, d, text);
    line_changes_ |= d > 0 && replacement_[static_cast<size_t>(d)].has_value();
  }
  PrepareFormulas();
  line_changes_ |= settings_.line_text.active();
}

void Transformation::PrepareDates(const std::vector<CardRef>& listed) {
  const auto day_of = [](const std::string& text, DateBound bound) {
    return text.empty() ? kNoDay : ReadTransformDate(text, bound).value_or(kNoDay);
  };
  DayCode begin = day_of(settings_.source_begin, DateBound::kStart);
  DayCode end = day_of(settings_.source_end, DateBound::kEnd);
  if (begin == kNoDay) begin = cards_.CardId(listed.front()).day;
  if (end == kNoDay) end = cards_.CardId(listed.back()).day;
  if (end < begin) std::swap(begin, end);
  mapping_ = DateMapping(begin, end, day_of(settings_.target_begin, DateBound::kStart),
                         day_of(settings_.target_end, DateBound::kEnd));
}

// The names of value formulas: the value fields by their names, then "T".
void Transformation::PrepareFormulas() {
  const int fields = database_.value_field_count();
  for (int f = 0; f < fields; ++f) names_.Add(database_.GetName(name_id::kFirstValueField + f));
  names_.Add("T");
  name_values_.assign(names_.size(), 0.0);
  formulas_.resize(static_cast<size_t>(fields));
  for (int f = 0; f < fields; ++f) {
    std::string text(TrimBlanksView(settings_.formulas[static_cast<size_t>(f)]));
    if (text.empty() || EqualsIgnoringCase(text, names_.Name(static_cast<size_t>(f)))) continue;
    formulas_[static_cast<size_t>(f)] = CompileFormula(text, names_);
    line_changes_ |= formulas_[static_cast<size_t>(f)].has_value();
  }
}

Transformation::CardForm Transformation::EditedForm(CardRef card) const {
  CardForm form{mapping_.Map(cards_.CardId(card).day), std::string(cards_.Title(card)),
                std::string(cards_.Notes(card))};
  if (settings_.title.active()) form.title = Trimmed(settings_.title.Apply(form.title));
  if (settings_.notes.active()) form.notes = settings_.notes.Apply(form.notes);
  return form;
}

CardRef Transformation::NewCard(CardRef source, const CardForm& form) {
  const CardRef card = cards_.CreateCard({form.day, 1});
  if (card == kNoRecord) return kNoRecord;
  cards_.SetTitle(card, form.title);
  const bool notes_kept = form.notes == cards_.Notes(source);
  cards_.SetNotes(card, form.notes,
                  form.notes.empty() ? Stamp()
                  : notes_kept       ? cards_.card(source).notes_stamp
                                     : stamp_);
  cards_.mutable_card(card).created = stamp_;
  ++result_.cards_made;
  return card;
}

void Transformation::EditInPlace(CardRef card, const CardForm& form) {
  if (form.title != cards_.Title(card)) cards_.SetTitle(card, form.title);
  if (form.notes != cards_.Notes(card)) {
    cards_.SetNotes(card, form.notes, form.notes.empty() ? Stamp() : stamp_);
  }
  if (form.day != cards_.CardId(card).day) cards_.MoveCard(card, {form.day, 1});
}

void Transformation::ChangeLine(LineRef line, double t) {
  if (!line_changes_) return;
  const int slots = database_.line_layout().slots;
  for (int d = 1; d <= slots; ++d) {
    if (replacement_[static_cast<size_t>(d)]) {
      cards_.lines().set_slot(line, d, *replacement_[static_cast<size_t>(d)]);
    }
  }
  const size_t fields = formulas_.size();
  for (size_t f = 0; f < fields; ++f) name_values_[f] = cards_.GetValue(line, static_cast<int>(f));
  name_values_[fields] = t;
  for (size_t f = 0; f < fields; ++f) {
    if (formulas_[f]) {
      cards_.lines().set_value(line, static_cast<int>(f),
                               SnapToZero(formulas_[f]->Evaluate(name_values_)));
    }
  }
  if (settings_.line_text.active()) {
    cards_.SetLineText(line, Trimmed(settings_.line_text.Apply(cards_.LineText(line))));
  }
}

LineRef Transformation::CopyLine(LineRef line, GroupRef group, double t) {
  const LineLayout& layout = database_.line_layout();
  std::array<double, Database::kMaxValueFields> values{};
  std::array<ComponentRef, kDimensionCount> slots{};
  for (int f = 0; f < layout.values; ++f) values[static_cast<size_t>(f)] = cards_.GetValue(line, f);
  for (int s = 1; s <= layout.slots; ++s)
    slots[static_cast<size_t>(s - 1)] = cards_.GetComponent(line, s);
  const LineRef copy =
      cards_.AddLine(group, std::span(values.data(), static_cast<size_t>(layout.values)),
                     std::span(slots.data(), static_cast<size_t>(layout.slots)));
  if (copy == kNoLine) return kNoLine;
  cards_.SetLineText(copy, cards_.LineText(line));
  ChangeLine(copy, t);
  return copy;
}

// The lines of `card` go into `target`'s group of their (replaced) first-dimension component:
// changed where they are when that is their own group and the source stays, else copied there,
// and, unless the source stays, removed from where they were.
void Transformation::MoveLines(CardRef card, std::span<const CardLine> lines, CardRef target,
                               double t) {
  const std::optional<ComponentRef>& first = replacement_[0];
  for (const CardLine& taken : lines) {
    const ComponentRef component = first ? *first : cards_.group(taken.group).component;
    if (target == card && !settings_.keep_source &&
        component == cards_.group(taken.group).component) {
      ChangeLine(taken.line, t);
      ++result_.lines;
      continue;
    }
    const GroupRef group = cards_.FindOrAddGroup(target, component);
    if (group == kNoRecord || CopyLine(taken.line, group, t) == kNoLine) return;
    ++result_.lines;
    if (!settings_.keep_source) cards_.DeleteLine(card, taken.group, taken.line);
  }
}

void Transformation::Card(CardRef card, const WindowLines& window) {
  std::vector<CardLine> lines;
  CoveredLines(cards_, card, window, lines);
  if (lines.empty()) return;
  ++result_.cards;
  const CardForm form = EditedForm(card);
  const double t = mapping_.Position(cards_.CardId(card).day);
  const bool same = form.day == cards_.CardId(card).day && form.title == cards_.Title(card) &&
                    form.notes == cards_.Notes(card);
  const bool in_place = window.level == CardLevel::kCards ? !settings_.keep_source : same;
  const CardRef target = in_place ? card : NewCard(card, form);
  if (target == kNoRecord) return;
  // The card loses data when lines leave it, or changes itself: it is stamped before the work,
  // which may leave it without lines (it then goes).
  const bool card_goes =
      !settings_.keep_source && target != card && lines.size() == CardLineCount(cards_, card);
  const bool changes_card = target == card ? line_changes_ || replacement_[0].has_value() || !same
                                           : !settings_.keep_source;
  if (changes_card) cards_.RecordChange(card, stamp_);
  MoveLines(card, lines, target, t);
  if (card_goes) return;
  if (window.level == CardLevel::kCards && in_place) EditInPlace(card, form);
  cards_.FinishCard(card);
  if (target != card) cards_.FinishCard(target);
}

}  // namespace

std::vector<std::string> ApplyTransformOptions(TransformSettings& settings,
                                               const Database& database,
                                               std::span<const std::string> tokens) {
  std::vector<std::string> rejected;
  for (const std::string& token : tokens) {
    const size_t equals = token.find('=');
    bool accepted;
    if (equals == std::string::npos) {
      accepted = EqualsIgnoringCase(TrimBlanksView(token), "A");
      if (accepted) settings.keep_source = true;
    } else {
      accepted =
          ApplyKeyed(settings, database, TrimBlanksView(std::string_view(token).substr(0, equals)),
                     std::string_view(token).substr(equals + 1));
    }
    if (!accepted) rejected.push_back(token);
  }
  return rejected;
}

bool Transform(Database& database, const WindowLines& window, const TransformSettings& settings,
               TransformResult* result) {
  CardStore& cards = database.cards();
  const std::vector<CardRef> listed = WindowCards(cards, window);
  if (listed.empty()) return false;
  const std::optional<Stamp> stamp = ObtainUserStamp();
  if (!stamp) return false;
  Transformation transformation(database, settings, *stamp);
  transformation.Prepare(listed);
  for (const CardRef card : listed) {
    if (StopRequested()) break;
    transformation.Card(card, window);
  }
  if (result != nullptr) *result = transformation.result();
  database.MarkModified();
  cards.TakeCardsChanged();
  database.Notify(ChangeCode::kCards);
  return true;
}

}  // namespace jov
