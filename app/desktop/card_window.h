// The card window, read-only for now: one card with its title, its groups and lines and every
// column of the database, listed as a card analysis restricted to that card lists it. It follows
// the database's changes; when the card is gone it shows nothing.
#pragma once

#include <memory>

#include "model/database.h"
#include "table_window.h"

namespace jov {

class CardAnalysis;

class CardWindow : public TableWindow {
  Q_OBJECT
 public:
  CardWindow(Database& database, Date card, QWidget* parent = nullptr);
  ~CardWindow() override;

  Date card() const { return card_; }
  QString Title() const override;
  void Refresh() override;

 private:
  Date card_;
  std::unique_ptr<CardAnalysis> listing_;
};

}  // namespace jov
