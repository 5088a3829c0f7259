// The window of an analysis of any kind: its table (table_window.h), calculated on demand (F5),
// its settings dialog, rows that open and close, sorting by a click on a column title, zoom,
// the card of a row, the listed data deleted, examined or approved where the kind lists cards or
// lines, and the window stored as an analysis template. The kind's own parts come from the
// registries (analysis_window_kinds.h), so this window knows no kind by name. The kinds with a
// chart (analysis_chart.h) show it beside the table.
#pragma once

#include <QList>
#include <functional>
#include <memory>

#include "analysis/window_lines.h"
#include "analysis_window_kinds.h"
#include "table_window.h"

class QAction;
class QLabel;
class QMenu;

namespace jov {

class AnalysisChart;

class AnalysisWindow : public TableWindow {
  Q_OBJECT
 public:
  // A new analysis of `kind` with the kind's defaults; `stored`, when given, its settings.
  AnalysisWindow(Database& database, const AnalysisWindowKind& kind,
                 const AnalysisTemplate* stored = nullptr, QWidget* parent = nullptr);
  ~AnalysisWindow() override;

  QString Title() const override;
  // After the database changed: the analysis has dropped what the change invalidated.
  void Refresh() override;
  // The analysis drops its rows on the same change; the view lets go of them at once.
  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int argument2) override;

  const AnalysisWindowKind& window_kind() const { return kind_; }
  Table& analysis() const { return *analysis_; }
  TemplateFrame& frame() const { return kind_.engine->frame(*analysis_); }
  // Kept with the template.
  PrintOptions& print_options() override { return frame().print; }
  bool calculated() const { return kind_.calculated(*analysis_); }
  // The window's commands, for the frame's Analysis menu; each with its shortcut.
  const QList<QAction*>& commands() const { return commands_; }
  // The chart pane beside the table; nullptr for a kind without a chart.
  AnalysisChart* chart() const { return chart_; }

  // Calculates and shows the result; false when stopped or refused (reported).
  bool Calculate();
  // The kind's settings dialog over this window's analysis.
  std::unique_ptr<AnalysisSettingsDialog> NewSettingsDialog();
  // Runs the settings dialog; a calculated window calculates again after OK.
  void EditSettings();
  // What a double-click on a row does: opens or closes it, or asks for its card.
  void ActivateRow(int row);
  void SortByColumn(int column);
  void ExpandAll(bool expand);
  // Stores the window as the template `name` with the frame's flags and the window's size (and
  // place, when `fixed_position`), replacing one of that name; the Install Template dialog sets
  // name and flags.
  void InstallTemplate(const std::string& name, bool fixed_position = false);
  void InstallTemplateDialog();
  // Removes the stored template of the window's name, after asking; false when there is none or
  // the user declined.
  bool RemoveTemplate();
  // Asks whether the window's settings become its kind's defaults, or the standard ones return.
  void SetDefaults();
  // Keeps the widths the columns are shown at in the analysis's settings, for the kinds that
  // keep them, so that an installed template has them; the last column fills the window and
  // keeps its own.
  void SetColumnWidths();
  // Shows the window maximized in the frame, or as it was.
  void Zoom();
  // The listed data deleted after the questions; the card windows of the cards concerned are
  // closed first by `close`, which the frame sets.
  bool DeleteData();
  void set_close_cards(CloseCardWindows close) { close_cards_ = std::move(close); }
  bool Mark(CardMark mark);
  // Runs the Transform or Aggregate dialog on the lines the window holds, at its level, and
  // calculates again after a run; nothing for a window that holds no line.
  using RewriteDialog = bool (*)(Database&, const WindowLines&, QWidget*);
  void Rewrite(RewriteDialog run);

 Q_SIGNALS:
  void CardRequested(Database& database, Date card);

 private:
  void AddCommand(MessageId caption, const QKeySequence& shortcut, std::function<void()> run);
  void ShowResult();

  const AnalysisWindowKind& kind_;
  std::unique_ptr<Table> analysis_;
  QLabel* status_;
  AnalysisChart* chart_ = nullptr;  // nullptr for a kind without a chart
  QList<QAction*> commands_;
  CloseCardWindows close_cards_;
};

}  // namespace jov
