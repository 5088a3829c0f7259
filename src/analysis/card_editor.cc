#include "analysis/card_editor.h"

#include <cmath>

#include "model/database.h"
#include "model/user_stamp.h"
#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

// Answers of the questions, by button position.
constexpr int kAnswerWrite = 0;
constexpr int kAnswerCancel = 1;
constexpr int kAnswerDont = 2;
constexpr int kAnswerAdd = 3;

ComponentRef Root(int dimension) { return static_cast<ComponentRef>(dimension); }

// Values that agree to the shown decimals are the same; so are two missing values, which would
// otherwise make every card holding one count as changed.
bool SameValue(double shown, double stored, double tolerance) {
  if (std::isnan(shown) || std::isnan(stored)) return std::isnan(shown) && std::isnan(stored);
  return shown == stored || std::fabs(shown - stored) <= tolerance;
}

bool HasLineRow(const std::vector<CardEditRow>& rows) {
  for (const CardEditRow& row : rows) {
    if (row.kind == CardEditRow::Kind::kLine) return true;
  }
  return false;
}

// The examined and approved marks survive a change only when set in the window.
void ClearMarksKeptFrom(CardDraft& content, const Card& old) {
  if (content.examined == old.examined) content.examined = Stamp();
  if (content.approved == old.approved) content.approved = Stamp();
}

}  // namespace

CardEditRow CardEditRow::Group(ComponentRef component) {
  CardEditRow row;
  row.kind = Kind::kGroup;
  for (int d = 0; d < kDimensionCount; ++d) row.components[d] = Root(d);
  row.components[0] = component;
  return row;
}

CardEditRow CardEditRow::Line(const Database& database) {
  CardEditRow row;
  for (int d = 0; d < kDimensionCount; ++d) row.components[d] = Root(d);
  row.values.assign(database.value_field_count(), 0.0);
  return row;
}

CardEditor::CardEditor(Database& database, std::optional<CardRef> card)
    : database_(database), card_(card) {
  if (card_) {
    Load();
  } else {
    draft_.id = {Today(), 1};
  }
}

std::optional<CardRef> CardEditor::card() const { return CardIsThere() ? card_ : std::nullopt; }

void CardEditor::Revert() {
  if (CardIsThere()) Load();
}

bool CardEditor::CardIsThere() const {
  if (!card_) return false;
  const CardStore& cards = database_.cards();
  return cards.IsCard(*card_) && cards.CardId(*card_) == loaded_id_ &&
         cards.card(*card_).created == loaded_created_;
}

// The rows of the card: a group row per group, but none for a first group without a component,
// whose lines then lead the rows.
void CardEditor::Load() {
  const CardStore& cards = database_.cards();
  const Card& record = cards.card(*card_);
  loaded_id_ = cards.CardId(*card_);
  loaded_created_ = record.created;
  draft_ = CardDraft{loaded_id_,
                     std::string(cards.Title(*card_)),
                     std::string(cards.Notes(*card_)),
                     record.created,
                     record.modified,
                     record.examined,
                     record.approved,
                     record.notes_stamp,
                     {}};
  const int slots = database_.line_layout().slots;
  const int values = database_.value_field_count();
  for (GroupRef g = record.first_group; g != kNoRecord; g = cards.group(g).next) {
    const Group& group = cards.group(g);
    if (g != record.first_group || group.component != Root(0)) {
      draft_.rows.push_back(CardEditRow::Group(group.component));
    }
    for (LineRef l = group.first_line; l != kNoLine; l = cards.lines().next(l)) {
      CardEditRow row = CardEditRow::Line(database_);
      for (int k = 1; k <= slots; ++k) row.components[k] = cards.GetComponent(l, k);
      for (int v = 0; v < values; ++v) row.values[v] = cards.GetValue(l, v);
      row.text = cards.LineText(l);
      draft_.rows.push_back(std::move(row));
    }
  }
}

// --- The changed test

bool CardEditor::RowsDiffer() const {
  const CardStore& cards = database_.cards();
  const std::vector<CardEditRow>& rows = draft_.rows;
  const double tolerance = 0.5001 * std::pow(10.0, -database_.value_decimals());
  const int slots = database_.line_layout().slots;
  const int values = database_.value_field_count();
  size_t r = 0;
  const GroupRef first = cards.card(*card_).first_group;
  for (GroupRef g = first; g != kNoRecord; g = cards.group(g).next) {
    const Group& group = cards.group(g);
    const bool leads = g == first && group.component == Root(0);
    if (r < rows.size() && rows[r].kind == CardEditRow::Kind::kGroup &&
        rows[r].components[0] == group.component) {
      ++r;
    } else if (!leads) {
      return true;
    }
    for (LineRef l = group.first_line; l != kNoLine; l = cards.lines().next(l), ++r) {
      if (r == rows.size() || rows[r].kind != CardEditRow::Kind::kLine) return true;
      const CardEditRow& row = rows[r];
      if (row.text != cards.LineText(l)) return true;
      for (int k = 1; k <= slots; ++k) {
        if (row.components[k] != cards.GetComponent(l, k)) return true;
      }
      for (int v = 0; v < values; ++v) {
        const double shown = v < static_cast<int>(row.values.size()) ? row.values[v] : 0.0;
        if (!SameValue(shown, cards.GetValue(l, v), tolerance)) return true;
      }
    }
  }
  return r != rows.size();
}

bool CardEditor::ContentChanged() const {
  if (!CardIsThere()) return true;
  const CardStore& cards = database_.cards();
  return draft_.id != cards.CardId(*card_) || draft_.title != cards.Title(*card_) || RowsDiffer();
}

bool CardEditor::NotesChanged() const {
  if (!CardIsThere()) return !draft_.notes.empty();
  return draft_.notes != database_.cards().Notes(*card_);
}

bool CardEditor::MarksChanged() const {
  if (!CardIsThere()) return !draft_.examined.empty() || !draft_.approved.empty();
  const Card& record = database_.cards().card(*card_);
  return draft_.examined != record.examined || draft_.approved != record.approved;
}

bool CardEditor::Changed() const {
  if (!CardIsThere()) {
    return !draft_.rows.empty() || !draft_.title.empty() || NotesChanged() || MarksChanged();
  }
  return ContentChanged() || NotesChanged() || MarksChanged();
}

std::string CardEditor::QuestionText() const {
  const int digits = database_.card_digits();
  if (CardIsThere()) return CardIdText(loaded_id_, digits);
  std::string text = CardIdText(draft_.id, digits);
  if (!draft_.title.empty()) text += " " + draft_.title;
  return text;
}

std::optional<CardCell> CardEditor::FirstUnfilled() const {
  std::array<bool, kDimensionCount> must{};
  bool any = false;
  for (int d = 0; d < kDimensionCount; ++d) {
    // A dimension without components cannot be filled in: its flag cannot hold up every card.
    must[d] = database_.dimension(d).must_fill() && database_.HasComponents(d);
    any = any || must[d];
  }
  if (!any) return std::nullopt;
  ComponentRef group = Root(0);
  for (size_t r = 0; r < draft_.rows.size(); ++r) {
    const CardEditRow& row = draft_.rows[r];
    if (row.kind == CardEditRow::Kind::kGroup) {
      group = row.components[0];
      continue;
    }
    for (int d = 0; d < kDimensionCount; ++d) {
      const ComponentRef component = d == 0 ? group : row.components[d];
      if (must[d] && component == Root(d)) return CardCell{r, d};
    }
  }
  return std::nullopt;
}

// --- Closing and writing

CardEditor::Outcome CardEditor::Close() {
  focus_.reset();
  if (!Changed()) return Outcome::kClose;
  AlertRecord question(is_new() ? msg::kConfirmAddCard : msg::kConfirmChangeCard);
  question.Arg(QuestionText());
  if (is_new()) {
    question.ConfirmButton(msg::kButtonAdd, msg::kButtonYes)
        .Button(msg::kButtonCancel)
        .ConfirmButton(msg::kButtonDontAdd, msg::kButtonNo);
  } else {
    question.ConfirmButton(msg::kButtonChange, msg::kButtonYes)
        .Button(msg::kButtonCancel)
        .ConfirmButton(msg::kButtonDontChange, msg::kButtonNo)
        .Button(msg::kButtonAdd);
  }
  switch (ReportAlert(question)) {
    case kAnswerWrite:
      return Commit(is_new() ? Write::kAdd : Write::kChange);
    case kAnswerDont:
      return Outcome::kClose;
    case kAnswerAdd:
      return Commit(Write::kAdd);
    case kAnswerCancel:
    default:
      return Outcome::kStay;
  }
}

CardEditor::Outcome CardEditor::Add() {
  focus_.reset();
  AlertRecord question(msg::kConfirmAddCard);
  question.Arg(CardIdText(draft_.id, database_.card_digits()) +
               (draft_.title.empty() ? "" : " " + draft_.title));
  question.ConfirmButton(msg::kButtonAdd, msg::kButtonYes).Button(msg::kButtonCancel);
  if (ReportAlert(question) != kAnswerWrite) return Outcome::kStay;
  return Commit(Write::kAdd);
}

CardEditor::Outcome CardEditor::Delete() {
  if (!CardIsThere()) return Outcome::kClose;
  AlertRecord question(msg::kConfirmDelete);
  question.Arg(QuestionText())
      .ConfirmButton(msg::kButtonDelete, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  if (ReportAlert(question) != 0 || !ObtainUserStamp()) return Outcome::kStay;
  database_.cards().DeleteCard(*card_);
  card_.reset();
  Announce();
  return Outcome::kClose;
}

// The refusals that end a write before anything is stamped: a line row that leaves a
// must-be-filled-in dimension empty (2112), and content without a line (3510). Nothing when
// writing may go on.
std::optional<CardEditor::Outcome> CardEditor::CheckBeforeWriting(bool builds_card) {
  if (const std::optional<CardCell> cell = FirstUnfilled()) {
    AlertRecord alert(msg::kMustBeFilledIn);
    alert.Arg(database_.GetName(name_id::kFirstSingular + cell->dimension))
        .Button(msg::kButtonOk)
        .Button(msg::kButtonCancel)
        .Button(msg::kButtonDontChange);
    const int answer = ReportAlert(alert);
    if (answer == 0) focus_ = cell;
    return answer == 2 ? Outcome::kClose : Outcome::kStay;
  }
  if (builds_card && !HasLineRow(draft_.rows)) {
    AlertRecord alert(msg::kCardWithoutLines);
    alert.Arg(QuestionText()).Button(msg::kButtonClose).Button(msg::kButtonCancel);
    return ReportAlert(alert) == 0 ? Outcome::kClose : Outcome::kStay;
  }
  return std::nullopt;
}

CardEditor::Outcome CardEditor::Commit(Write write) {
  const bool there = CardIsThere();
  const bool adds = write == Write::kAdd || !there;
  const bool builds = adds || ContentChanged();
  const bool notes_changed = adds ? !draft_.notes.empty() || there : NotesChanged();
  if (std::optional<Outcome> refused = CheckBeforeWriting(builds)) return *refused;
  const std::optional<Stamp> stamp = ObtainUserStamp();
  if (!stamp) return Outcome::kStay;

  CardStore& cards = database_.cards();
  CardDraft content = draft_;
  if (adds) {
    if (there) ClearMarksKeptFrom(content, cards.card(*card_));
    content.created = *stamp;
    content.modified = Stamp();
  } else if (builds) {
    ClearMarksKeptFrom(content, cards.card(*card_));
    content.modified = *stamp;
  }
  if (notes_changed) content.notes_stamp = content.notes.empty() ? Stamp() : *stamp;

  CardRef target = there ? *card_ : kNoRecord;
  if (builds) {
    // The new card stands, with its title, notes and stamps, before the old one goes: a card
    // that cannot be built leaves the database as it was and the window open.
    target = BuildCard(content);
    if (target == kNoRecord) {
      cards.TakeCardsChanged();
      return Outcome::kStay;
    }
  }
  if (!FinishRecord(target, content)) {
    if (builds) cards.DeleteCard(target);
    cards.TakeCardsChanged();  // a card made and deleted again changed nothing
    return Outcome::kStay;
  }
  if (builds && !adds) {
    cards.DeleteCard(*card_);
    // Built beside the old card, the new one may hold a later number than the one now freed.
    if (cards.CardId(target) != content.id) cards.MoveCard(target, content.id);
  }
  card_ = target;
  Load();
  Announce();
  return Outcome::kClose;
}

// A new card at the content's identifier (a taken number yields the next free one) holding the
// rows; kNoRecord, with nothing left behind, when any record cannot be had.
CardRef CardEditor::BuildCard(const CardDraft& content) const {
  CardStore& cards = database_.cards();
  if (content.id.day == kNoDay) return kNoRecord;
  CardRef card = cards.CreateCard(content.id);
  // No free number at or above the one asked for (while the card being replaced still holds
  // it): any free number of the day will do until the old card has gone and this one moves.
  if (card == kNoRecord) card = cards.CreateCard({content.id.day, 1});
  if (card == kNoRecord) return kNoRecord;
  if (!PutRows(card, content.rows)) {
    cards.DeleteCard(card);
    return kNoRecord;
  }
  cards.FinishCard(card);
  return card;
}

// A group row finds or adds the card's group for its component; a line row adds a line to the
// current group, or to the group without a component when no group row came before it.
// Components deleted since they were entered count as none.
bool CardEditor::PutRows(CardRef card, const std::vector<CardEditRow>& rows) const {
  CardStore& cards = database_.cards();
  const ComponentPool& pool = database_.components();
  const auto live = [&](const CardEditRow& row, int d) {
    const ComponentRef ref = row.components[d];
    return pool.IsLive(ref) && database_.DimensionOf(ref) == d ? ref : Root(d);
  };
  const int slot_count = database_.line_layout().slots;
  std::vector<double> values(database_.value_field_count());
  std::vector<ComponentRef> slots(slot_count);
  GroupRef group = kNoRecord;
  for (const CardEditRow& row : rows) {
    if (row.kind == CardEditRow::Kind::kGroup || group == kNoRecord) {
      const ComponentRef component = row.kind == CardEditRow::Kind::kGroup ? live(row, 0) : Root(0);
      group = cards.FindOrAddGroup(card, component);
      if (group == kNoRecord) return false;
      if (row.kind == CardEditRow::Kind::kGroup) continue;
    }
    for (size_t v = 0; v < values.size(); ++v) {
      values[v] = v < row.values.size() ? row.values[v] : 0.0;
    }
    for (int k = 1; k <= slot_count; ++k) slots[k - 1] = live(row, k);
    const LineRef line = cards.AddLine(group, values, slots);
    if (line == kNoLine || !cards.SetLineText(line, row.text)) return false;
  }
  return true;
}

bool CardEditor::FinishRecord(CardRef card, const CardDraft& content) {
  CardStore& cards = database_.cards();
  if (!cards.SetTitle(card, content.title) ||
      !cards.SetNotes(card, content.notes, content.notes_stamp)) {
    return false;
  }
  Card& record = cards.mutable_card(card);
  record.created = content.created;
  record.modified = content.modified;
  record.examined = content.examined;
  record.approved = content.approved;
  return true;
}

void CardEditor::Announce() {
  database_.cards().TakeCardsChanged();
  database_.MarkModified();
  database_.Notify(ChangeCode::kCards);
}

}  // namespace jov
