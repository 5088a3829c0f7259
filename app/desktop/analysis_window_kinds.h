// What the analysis window needs of each kind beyond the engine's table of kinds
// (analysis/analysis_kinds.h): its name, its settings dialog, and what its rows do (expand,
// sort by a column, stand for a card, be deleted, examined or approved). A hook that a kind does
// not offer is null. A new kind is one more entry in analysis_window_kinds.cc, with its dialog.
#pragma once

#include <memory>
#include <span>

#include "analysis/analysis_kinds.h"
#include "analysis/listed_data.h"
#include "model/database.h"
#include "shell/message_ids.h"

class QWidget;

namespace jov {

class AnalysisSettingsDialog;

struct AnalysisWindowKind {
  const AnalysisKindEntry* engine;
  MessageId name;  // the kind's menu name
  // The kind's settings dialog over the analysis; it writes the settings back when accepted.
  std::unique_ptr<AnalysisSettingsDialog> (*settings)(Table& analysis, QWidget* parent);
  bool (*calculated)(const Table& analysis);
  // Opens or closes a shown row; false when the row has nothing under it.
  bool (*toggle_row)(Table& analysis, int row);
  // Opens every row (true) or closes all below the top.
  void (*expand_all)(Table& analysis, bool expand);
  // Orders the rows by a shown column, the other way round when they already are; false when
  // the column cannot order them.
  bool (*sort_by_column)(Table& analysis, int column);
  // The card a shown row belongs to; kNoRecord for a row of no card.
  CardRef (*card_of_row)(const Table& analysis, int row);
  // The listed data: deleted (card windows closed by `close`), or its cards marked.
  bool (*delete_data)(Table& analysis, const CloseCardWindows& close);
  bool (*mark)(Table& analysis, CardMark mark);
};

std::span<const AnalysisWindowKind> AnalysisWindowKinds();
// nullptr for a kind that has no window yet.
const AnalysisWindowKind* FindWindowKind(AnalysisKind kind);

}  // namespace jov
