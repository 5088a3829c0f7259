// The settings of a card analysis and the lines of its templates, after the frame's
// (template_frame.h), one setting a line:
//
//   B...            the selection's stored lines with the prefix "B"
//   P \t list       the visible columns (list_columns.h)
//   D c             the decimals, one of "MT0123456"
//   S \t g l        the data contents of groups and lines, each one of "NSA" (None, Selected,
//                   All), written only when they are not both Selected
//   wC, wY, wL, wV, wD \t ...    column widths, kept as read
//
// Lines are read in any order; values not in their code strings are ignored.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analysis/list_columns.h"
#include "analysis/window_lines.h"
#include "files/analysis_template.h"
#include "select/selection.h"

namespace jov {

// What a card analysis lists below each card: no groups (lines), the groups (lines) that take
// part in the selection, or all of them.
enum class DataContents : uint8_t { kNone, kSelected, kAll };
inline constexpr std::string_view kContentsLetters = "NSA";

struct CardAnalysisOptions {
  DataContents groups = DataContents::kSelected;
  DataContents lines = DataContents::kSelected;
  ListColumns columns;
  int decimals = 2;  // kMillions..6
  // The width lines as read ("wC\t..."), written back as they are.
  std::vector<std::string> width_lines;

  static CardAnalysisOptions Standard(int decimals);
  // The level that counting, deleting and the questions refer to: cards without groups; lines
  // when the selected lines are listed; else groups when only the selected groups are.
  CardLevel MarkedLevel() const;

  bool operator==(const CardAnalysisOptions&) const = default;
};

std::vector<std::string> CardTemplateLines(
    const CardAnalysisOptions& options, const Selection& selection,
    const std::array<int, kDimensionCount>* numbers = nullptr);

// Reads one template line; false for a line that is not one of the kind's.
bool ReadCardTemplateLine(std::string_view line, CardAnalysisOptions& options,
                          Selection& selection);

class CardTemplateBody : public TemplateBody {
 public:
  explicit CardTemplateBody(Database& database);

  CardAnalysisOptions& options() { return options_; }
  const CardAnalysisOptions& options() const { return options_; }
  Selection& selection() { return selection_; }
  const Selection& selection() const { return selection_; }

  bool ReadLine(std::string_view line) override;
  void WriteLines(SectionOutput& output) const override;

 private:
  CardAnalysisOptions options_;
  Selection selection_;
};

std::unique_ptr<TemplateBody> NewCardTemplateBody(Database& database);

}  // namespace jov
