#include "card_window.h"

#include "analysis/card_analysis.h"
#include "qt_text.h"

namespace jov {

CardWindow::CardWindow(Database& database, Date card, QWidget* parent)
    : TableWindow(database, Kind::kCard, parent),
      card_(card),
      listing_(std::make_unique<CardAnalysis>(database)) {
  CardAnalysisOptions& options = listing_->options();
  options.groups = DataContents::kAll;
  options.lines = DataContents::kAll;
  options.columns.dimensions.fill(true);
  options.columns.values.fill(true);
  // From and to the card itself: its identifier with its sequence at both ends.
  const std::string id = CardIdText(card_);
  listing_->selection().SetFrom(id);
  listing_->selection().SetTo(id);
  Refresh();
}

CardWindow::~CardWindow() = default;

QString CardWindow::Title() const {
  const CardStore& cards = database().cards();
  const CardRef ref = cards.FindCard(card_);
  std::string what = CardIdText(card_);
  if (ref != kCardSentinel && cards.CardId(ref) == card_ && !cards.Title(ref).empty()) {
    what += "  " + std::string(cards.Title(ref));
  }
  return TitleOf(Text(msg::kCardWindowTitle, what));
}

void CardWindow::Refresh() {
  listing_->Calculate();
  ShowTable(*listing_);
}

}  // namespace jov
