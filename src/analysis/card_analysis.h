// The card analysis: the cards its selection takes within the selection's date range, and, as
// its data contents say, below each card its groups and below each group its lines: a table of
// three levels. From the list the user marks the cards examined or approved, deletes the listed
// data at the marked level (card_template.h), and exports or copies the table. Its own XML form
// is in card_xml.h.
//
// A card is listed when it passes the card tests and one of its groups, with its first
// dimension's component in the selection, holds a line that passes the line test. Lines are
// listed only under listed groups.
//
// The analysis listens to its database: a change to cards, components or the line layout drops
// the rows until the next calculation.
#pragma once

#include <string>
#include <vector>

#include "analysis/card_template.h"
#include "analysis/listed_data.h"
#include "analysis/table.h"
#include "files/analysis_template.h"
#include "model/change_code.h"
#include "select/selection.h"
#include "select/subset_list.h"

namespace jov {

// A row: a card, a group or a line, by its level.
struct CardRow {
  CardLevel level;
  uint32_t item;  // CardRef, GroupRef or LineRef
};

// The columns in their numbering: card identifier, card title, dimension 1, dimension 2, line
// text, value fields 1-24, dimensions 3-16.
enum class CardColumnKind : uint8_t { kCardId, kCardTitle, kDimension, kLineText, kValue };

class CardAnalysis : public Table, public DatabaseListener {
 public:
  explicit CardAnalysis(Database& database);
  ~CardAnalysis() override;
  CardAnalysis(const CardAnalysis&) = delete;
  CardAnalysis& operator=(const CardAnalysis&) = delete;

  void Apply(const TemplateFrame& frame, const CardTemplateBody& body);
  AnalysisTemplate ToTemplate(const std::string& name) const;
  TemplateFrame& frame() { return frame_; }
  const TemplateFrame& frame() const { return frame_; }

  Database& database() const { return database_; }
  CardAnalysisOptions& options() { return options_; }
  const CardAnalysisOptions& options() const { return options_; }
  Selection& selection() { return selection_; }
  const Selection& selection() const { return selection_; }
  SubsetList& local_subsets() { return local_subsets_; }
  void set_title(std::string title) { frame_.name = std::move(title); }

  // --- Calculation
  // False, with no rows, when the user stopped it or the selection could not be prepared.
  bool Calculate() override;
  bool calculated() const { return calculated_; }
  // The lines of the rows of the marked level: every line of a listed card or group, or the
  // listed lines.
  bool CollectHeldLines(LineSet& lines, CardLevel& level) override;
  const std::vector<CardRow>& rows() const { return rows_; }

  // --- Counts: the rows of the marked level, and the lines they cover (every line of the
  // listed cards, of the listed groups, or the listed lines).
  int64_t MarkedCount() const;
  int64_t LinesCovered() const;
  // "12 cards", "3 groups" or "40 lines": the marked level's count as the status shows it.
  std::string CountText() const;

  // --- Operations (listed_data.h)
  bool MarkExamined() { return MarkCards(database_, ListedCards(), CardMark::kExamined); }
  bool MarkApproved() { return MarkCards(database_, ListedCards(), CardMark::kApproved); }
  // Deletes the listed data of the marked level: the cards, the groups or the lines.
  bool DeleteData(const CloseCardWindows& close = {});
  std::vector<CardRef> ListedCards() const;

  // The "## Selection" block the analysis copies: the selection with the prefix "V" and the
  // decimals.
  std::vector<std::string> SelectionBlock() const;

  // --- Table
  struct ShownColumn {
    CardColumnKind kind;
    int index = 0;  // the dimension or value field
    TableColumn column;
  };
  const std::vector<ShownColumn>& columns() const { return columns_; }
  std::string Title() const override;
  std::string Notes() const override { return frame_.notes; }
  void WriteDefinition(LineSink& out, DefinitionForm form) const override;
  int ColumnCount() const override { return static_cast<int>(columns_.size()); }
  const TableColumn& Column(int index) const override { return columns_[index].column; }
  int RowCount() const override { return static_cast<int>(rows_.size()); }
  int FirstDataRow() const override { return 0; }
  void FillRow(int row, std::vector<TableCell>& cells) const override;
  ExportSettings& export_settings() override { return frame_.export_settings; }
  const ExportSettings& export_settings() const override { return frame_.export_settings; }
  // A tab-separated text export with the title and the rows of all three levels begins with
  // the heading of a text database's cards section, "##Cards" and a tab.
  void PrepareExport() override;
  void FinishExport() override { cards_heading_ = false; }
  bool WriteOwnXml(LineSink& out) override;

  // --- DatabaseListener
  void OnDatabaseChange(Database& database, ChangeCode code, int argument, int argument2) override;
  size_t MemoryBytes() const override { return rows_.capacity() * sizeof(CardRow); }

 private:
  void Invalidate();
  void LayOutColumns();
  std::string CellText(const CardRow& row, const ShownColumn& column) const;

  Database& database_;
  CardAnalysisOptions options_;
  SubsetList local_subsets_;
  Selection selection_;
  TemplateFrame frame_;

  bool calculated_ = false;
  bool cards_heading_ = false;
  std::vector<CardRow> rows_;
  std::vector<ShownColumn> columns_;
};

// Whether a text export of the table begins with the cards section's heading: tab between
// fields, nothing around them, the title and the data rows included, and groups and lines
// both listed.
bool ExportsAsCardsSection(const ExportSettings& settings, const CardAnalysisOptions& options);

}  // namespace jov
