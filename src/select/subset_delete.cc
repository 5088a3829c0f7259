// Deleting the lines of a subset from the database.
#include "model/database.h"
#include "model/user_stamp.h"
#include "select/subset.h"
#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

// The lines of the card that are in the set, and whether every line of the card is.
struct CardShare {
  size_t in_set = 0;
  bool all = true;
};

CardShare ShareOf(const CardStore& cards, CardRef card, const LineSet& set) {
  CardShare share;
  for (GroupRef g = cards.card(card).first_group; g != kNoRecord; g = cards.group(g).next) {
    for (LineRef line = cards.group(g).first_line; line != kNoLine;
         line = cards.lines().next(line)) {
      if (set.Test(line)) {
        ++share.in_set;
      } else {
        share.all = false;
      }
    }
  }
  return share;
}

// Deletes the card's lines that are in the set; emptied groups go with them. The card keeps
// at least one line.
void DeleteLinesOfCard(CardStore& cards, CardRef card, const LineSet& set) {
  for (GroupRef g = cards.card(card).first_group; g != kNoRecord;) {
    const GroupRef next_group = cards.group(g).next;
    for (LineRef line = cards.group(g).first_line; line != kNoLine;) {
      const LineRef next_line = cards.lines().next(line);
      if (set.Test(line)) cards.DeleteLine(card, g, line);
      line = next_line;
    }
    g = next_group;
  }
}

bool ConfirmDeletion(size_t lines) {
  AlertRecord count(msg::kLinesCount);
  count.Arg(static_cast<long long>(lines));
  AlertRecord question(msg::kConfirmDelete);
  question.Arg(count.ComposeText())
      .ConfirmButton(msg::kButtonDelete, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  return ReportAlert(question) == 0;
}

}  // namespace

bool Subset::DeleteData(const std::function<bool(const LineSet&)>& close_card_windows) {
  // A result from before the data changed names lines by numbers that other lines may bear
  // now: it is brought up to date first, so that only the subset's lines go.
  if (has_result_ && !calculated_ && !Calculate()) return false;
  if (!has_result_ || !result_.Any()) return false;
  if (!ConfirmDeletion(result_.Count())) return false;
  const std::optional<Stamp> stamp = ObtainUserStamp();
  if (!stamp) return false;
  if (close_card_windows && !close_card_windows(result_)) return false;
  Database& db = database();
  CardStore& cards = db.cards();
  for (CardRef card = cards.FirstCard(); card != kCardSentinel;) {
    const CardRef next = cards.NextCard(card);
    const CardShare share = ShareOf(cards, card, result_);
    if (share.all) {
      cards.DeleteCard(card);
    } else if (share.in_set > 0) {
      DeleteLinesOfCard(cards, card, result_);
      cards.RecordChange(card, *stamp);
    }
    card = next;
  }
  FreeResult();
  for (const auto& selection : selections_) selection->selection().ReleaseSubsetLines();
  cards.TakeCardsChanged();
  db.MarkModified();
  db.Notify(ChangeCode::kCards);
  return true;
}

}  // namespace jov
