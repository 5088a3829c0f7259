#include "analysis/listed_data.h"

#include <optional>

#include "model/database.h"
#include "model/user_stamp.h"
#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

bool Confirm(AlertRecord& question, MessageId verb) {
  question.ConfirmButton(verb, msg::kButtonYes).ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  return ReportAlert(question) == 0;
}

// "Are you sure you want to delete "12 lines"?"
bool ConfirmDeletion(MessageId count_message, size_t count) {
  AlertRecord count_text(count_message);
  count_text.Arg(static_cast<long long>(count));
  AlertRecord question(msg::kConfirmDelete);
  question.Arg(count_text.ComposeText());
  return Confirm(question, msg::kButtonDelete);
}

// The question, the stamp and the card windows, in that order.
std::optional<Stamp> PrepareDeletion(MessageId count_message, size_t count,
                                     std::span<const CardRef> cards,
                                     const CloseCardWindows& close) {
  if (count == 0 || !ConfirmDeletion(count_message, count)) return std::nullopt;
  std::optional<Stamp> stamp = ObtainUserStamp();
  if (!stamp) return std::nullopt;
  if (close && !close(cards)) return std::nullopt;
  return stamp;
}

void AnnounceCardChange(Database& database) {
  database.cards().TakeCardsChanged();
  database.MarkModified();
  database.Notify(ChangeCode::kCards);
}

// The items of one card stand together, as the analyses list them.
template <typename Item>
std::vector<CardRef> DistinctCards(std::span<const Item> items) {
  std::vector<CardRef> cards;
  for (const Item& item : items) {
    if (cards.empty() || cards.back() != item.card) cards.push_back(item.card);
  }
  return cards;
}

}  // namespace

std::vector<CardRef> CardsOfLines(std::span<const ListedLine> lines) {
  return DistinctCards(lines);
}

bool MarkCards(Database& database, std::span<const CardRef> cards, CardMark mark) {
  if (cards.empty()) return false;
  AlertRecord question(mark == CardMark::kExamined ? msg::kConfirmMarkExamined
                                                   : msg::kConfirmMarkApproved);
  question.Arg(static_cast<long long>(cards.size()));
  if (!Confirm(question, msg::kButtonOk)) return false;
  const std::optional<Stamp> stamp = ObtainUserStamp();
  if (!stamp) return false;
  CardStore& store = database.cards();
  for (const CardRef card : cards) {
    if (mark == CardMark::kExamined) {
      store.Examine(card, *stamp);
    } else {
      store.Approve(card, *stamp);
    }
  }
  AnnounceCardChange(database);
  return true;
}

bool DeleteListedCards(Database& database, std::span<const CardRef> cards,
                       const CloseCardWindows& close) {
  if (!PrepareDeletion(msg::kCardsCount, cards.size(), cards, close)) return false;
  for (const CardRef card : cards) database.cards().DeleteCard(card);
  AnnounceCardChange(database);
  return true;
}

bool DeleteListedGroups(Database& database, std::span<const ListedGroup> groups,
                        const CloseCardWindows& close) {
  const std::vector<CardRef> cards = DistinctCards(groups);
  const std::optional<Stamp> stamp =
      PrepareDeletion(msg::kGroupsCount, groups.size(), cards, close);
  if (!stamp) return false;
  CardStore& store = database.cards();
  for (const CardRef card : cards) store.RecordChange(card, *stamp);
  for (const ListedGroup& listed : groups) {
    // Deleting a group's last line takes the group, and the card when it was its last group.
    for (LineRef line = store.group(listed.group).first_line; line != kNoLine;) {
      const LineRef next = store.lines().next(line);
      store.DeleteLine(listed.card, listed.group, line);
      line = next;
    }
  }
  AnnounceCardChange(database);
  return true;
}

bool DeleteListedLines(Database& database, std::span<const ListedLine> lines,
                       const CloseCardWindows& close) {
  const std::vector<CardRef> cards = DistinctCards(lines);
  const std::optional<Stamp> stamp = PrepareDeletion(msg::kLinesCount, lines.size(), cards, close);
  if (!stamp) return false;
  CardStore& store = database.cards();
  for (const CardRef card : cards) store.RecordChange(card, *stamp);
  for (const ListedLine& listed : lines) store.DeleteLine(listed.card, listed.group, listed.line);
  AnnounceCardChange(database);
  return true;
}

}  // namespace jov
