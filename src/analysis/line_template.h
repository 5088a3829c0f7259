// The lines of a line analysis template, after the frame's (template_frame.h), one setting a
// line:
//
//   B...            the selection's stored lines with the prefix "B"
//   Q letter        the accumulated field ("A" is the first)
//   D c             the decimals, one of "MT0123456"
//   P \t list       the visible columns (list_columns.h)
//   H \t letters    the summary rows that are on, of "B+-PFMmAE#CTR"
//   + \t rate       the rate for positive balances, percent per year, when not 0
//   - \t rate       the rate for negative balances, when not 0
//   I c             the interest calculation, "L" linear or "E" exponential
//   CF              the card's identifier and title on its first line only
//   wC / wD / wL \t widths   column widths (card; dimensions; line text, value 1, accumulated,
//                   values 2 to 24), each line written when one of its widths is 16 or more
//   ZC \t text, ZS, ZN       chart settings, kept
//
// Lines are read in any order; values out of range or not in their code strings are ignored.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/line_options.h"
#include "files/analysis_template.h"
#include "select/selection.h"

namespace jov {

// The template lines of `options` and `selection`; `numbers` numbers the dimensions as the file
// written does (null: index + 1).
std::vector<std::string> LineTemplateLines(
    const LineAnalysisOptions& options, const Selection& selection,
    const std::array<int, kDimensionCount>* numbers = nullptr);

// Reads one template line; false for a line that is not one of the kind's.
bool ReadLineTemplateLine(std::string_view line, LineAnalysisOptions& options,
                          Selection& selection);

class LineTemplateBody : public TemplateBody {
 public:
  explicit LineTemplateBody(Database& database);

  LineAnalysisOptions& options() { return options_; }
  const LineAnalysisOptions& options() const { return options_; }
  Selection& selection() { return selection_; }
  const Selection& selection() const { return selection_; }

  bool ReadLine(std::string_view line) override;
  void WriteLines(SectionOutput& output) const override;

 private:
  LineAnalysisOptions options_;
  Selection selection_;
};

std::unique_ptr<TemplateBody> NewLineTemplateBody(Database& database);

}  // namespace jov
