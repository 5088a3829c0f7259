// The edit copy behind a card window: one card's identifier, title, notes, stamps and its groups
// and lines as rows, edited freely and written back only when the window closes or saves. It
// decides whether anything changed (values that agree to the database's shown decimals count as
// unchanged), asks the user's question and writes the card: a notes-only change keeps the card's
// record; any other change builds a new card from the rows, and only once it stands is the old
// one deleted, so that a failure on the way leaves the database as it was.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/card_store.h"
#include "model/component.h"

namespace jov {

class Database;

// One row of the window: a group row names the component of the first dimension that the line
// rows after it belong to; a line row holds a line's components, text and values.
struct CardEditRow {
  enum class Kind : uint8_t { kGroup, kLine };

  // A group row for `component` of the first dimension (its root, 0, for none).
  static CardEditRow Group(ComponentRef component);
  // A line row with no components, no text and every value 0, for the database's layout.
  static CardEditRow Line(const Database& database);

  Kind kind = Kind::kLine;
  // By dimension index: [0] is a group row's component, [1..15] a line row's; a dimension left
  // empty holds its root (its own index).
  std::array<ComponentRef, kDimensionCount> components{};
  std::string text;            // a line row's text
  std::vector<double> values;  // a line row's value fields 1..V
};

// The card as the window shows it.
struct CardDraft {
  Date id;
  std::string title;
  std::string notes;
  Stamp created;
  Stamp modified;
  Stamp examined;
  Stamp approved;
  Stamp notes_stamp;
  std::vector<CardEditRow> rows;
};

// A cell of the rows: the row and the dimension index of a component cell.
struct CardCell {
  size_t row = 0;
  int dimension = 0;
};

class CardEditor {
 public:
  enum class Outcome { kStay, kClose };

  // Edits `card`; nothing: a new card dated today.
  CardEditor(Database& database, std::optional<CardRef> card);
  CardEditor(const CardEditor&) = delete;
  CardEditor& operator=(const CardEditor&) = delete;

  Database& database() const { return database_; }
  // The card edited; nothing for a new card, and for one deleted elsewhere meanwhile (the
  // window's content then counts as a new card).
  std::optional<CardRef> card() const;
  bool is_new() const { return !card(); }
  CardDraft& draft() { return draft_; }
  const CardDraft& draft() const { return draft_; }

  // The card as the database holds it now, the draft's edits dropped; nothing for a new card
  // or one deleted since.
  void Revert();
  // Whether closing would write anything.
  bool Changed() const;
  // The identifier as the questions name the card: the card's own, or for a new card the edited
  // one followed by the title.
  std::string QuestionText() const;

  // Closing or saving the window: when anything changed, asks whether to change (add) the card,
  // and writes it on "Change" ("Add"); "Add" on an existing card writes the content as a new card
  // beside the old one. kClose when the window may close (written, declined, or nothing to do).
  Outcome Close();
  // Writes the content as a new card after asking 3203 ("Add" or "Cancel"), whatever changed.
  Outcome Add();
  // Deletes the card edited after asking; kClose when it was deleted (a new card is discarded).
  Outcome Delete();

  // The first component cell of a line row left empty in a dimension that must be filled in.
  std::optional<CardCell> FirstUnfilled() const;
  // The cell the window should point at after Close or Add stayed for it.
  const std::optional<CardCell>& focus() const { return focus_; }

 private:
  enum class Write { kChange, kAdd };

  bool CardIsThere() const;
  void Load();
  bool RowsDiffer() const;
  bool ContentChanged() const;
  bool NotesChanged() const;
  bool MarksChanged() const;
  Outcome Commit(Write write);
  std::optional<Outcome> CheckBeforeWriting(bool builds_card);
  CardRef BuildCard(const CardDraft& content) const;
  bool PutRows(CardRef card, const std::vector<CardEditRow>& rows) const;
  bool FinishRecord(CardRef card, const CardDraft& content);
  void Announce();

  Database& database_;
  std::optional<CardRef> card_;
  // What identifies the card loaded, so that a record reused by another card is not taken for it.
  Date loaded_id_;
  Stamp loaded_created_;
  CardDraft draft_;
  std::optional<CardCell> focus_;
};

}  // namespace jov
