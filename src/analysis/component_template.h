// The lines of a component analysis template, after the frame's (template_frame.h), one option
// a line, a key and its value:
//
//   B...            the selection's stored lines with the prefix "B"
//   F letter        the value field ("A" is the first)
//   D c             chart decimals, one of "MT0123456"
//   P n             the view dimension's number, when not the second
//   S \t o c        sort order (one of "-DEFCBA") and sort column (one of "BNPRCEAT"), when
//                   either is not the default (none, Period)
//   K \t s f        "F" flat or "H" hierarchical, then "A" all, "U" in use or "Z" non-zero,
//                   when either is not the default (hierarchical, all)
//   R c             indentation step, one of "FSD"
//   VP c            chart column, when not Period
//   % c             pie values, one of "-ID"
//   ZC              option ZC off;  ZS / ZD  the global sublevels flag on / off
//   ZX text         the expansion text (component_rows.h)
//   ZN              option ZN on;   wD n  chart scale width, when 16 or more
//   Q c \t flags \t width \t d    one line per column: "VBRS" upper case for on, lower case
//                   for off (visible, bold, red/green, sublevels), the width, the decimals
//
// Lines are read in any order; values out of range or not in their code strings are ignored.
// Templates of files older than the column flags (format date before 2000-12-19) also take
// "ZS"/"ZD" for every column's sublevels flag and "D" for every column's decimals.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/component_options.h"
#include "files/analysis_template.h"
#include "model/component.h"
#include "select/selection.h"

namespace jov {

// Files of this format date (YYYYMMDD) and later carry sublevels and decimals per column.
inline constexpr uint32_t kPerColumnOptionsDate = 20001219;

// The "K" line of the row structure and filter, and the reading of its value (after the key);
// letters it does not know leave what they would set.
std::string StructureLine(bool flat, RowFilter filter);
void ReadStructureValue(std::string_view value, bool& flat, RowFilter& filter);

// The template lines of `options` and `selection`; `numbers` numbers the dimensions as the file
// written does (null: index + 1).
std::vector<std::string> ComponentTemplateLines(
    const ComponentAnalysisOptions& options, const Selection& selection,
    const std::array<int, kDimensionCount>* numbers = nullptr);

// Reads one template line into `options` or `selection`; false for a line that is not one of
// them. `value_fields` is the database's count; `older` asks for the rules of older files.
bool ReadComponentTemplateLine(std::string_view line, int value_fields, bool older,
                               ComponentAnalysisOptions& options, Selection& selection);

// The body of a component analysis template.
class ComponentTemplateBody : public TemplateBody {
 public:
  explicit ComponentTemplateBody(Database& database);

  ComponentAnalysisOptions& options() { return options_; }
  const ComponentAnalysisOptions& options() const { return options_; }
  Selection& selection() { return selection_; }
  const Selection& selection() const { return selection_; }

  void BeginReading(uint32_t format_date) override;
  bool ReadLine(std::string_view line) override;
  void WriteLines(SectionOutput& output) const override;

 private:
  Database& database_;
  ComponentAnalysisOptions options_;
  Selection selection_;
  bool older_ = false;
};

// How the templates section makes the body of component analysis templates.
std::unique_ptr<TemplateBody> NewComponentTemplateBody(Database& database);

}  // namespace jov
