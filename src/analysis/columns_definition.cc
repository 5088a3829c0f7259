#include "analysis/columns_definition.h"

#include <functional>
#include <string>
#include <vector>

#include "files/markup_text.h"
#include "model/database.h"
#include "shell/messages.h"

namespace jov {
namespace {

struct TableRow {
  std::string label;
  std::vector<std::string> cells;
};

class TableWriter {
 public:
  TableWriter(LineSink& out, DefinitionForm form)
      : out_(out), html_(form == DefinitionForm::kHtml) {}

  void Write(MessageId heading, const std::vector<TableRow>& rows) {
    if (html_) {
      out_.Add("<H4>");
      AppendHtmlEscaped(out_.line(), MessageText(heading));
      out_.WriteLine("</H4>");
      out_.WriteLine("<table border=0 cellspacing=0 cellpadding=1>");
    } else {
      out_.WriteLine(MessageText(heading));
    }
    for (const TableRow& row : rows) WriteRow(row);
    if (html_) {
      out_.WriteLine("</table>");
      out_.WriteLine("<br>");
    } else {
      out_.EndLine();
    }
  }

 private:
  void WriteRow(const TableRow& row) {
    if (!html_) {
      out_.Add(row.label);
      for (const std::string& cell : row.cells) out_.Tab().Add(cell);
      out_.EndLine();
      return;
    }
    std::string& line = out_.line();
    line.append("<tr><td>");
    AppendHtmlEscaped(line, row.label);
    for (const std::string& cell : row.cells) {
      line.append("</td><td>");
      AppendHtmlEscaped(line, cell);
    }
    line.append("</td></tr>");
    out_.EndLine();
  }

  LineSink& out_;
  bool html_;
};

// A row of one text per column of `of`, added when `used` holds for some column (always when
// there is no `used`).
template <typename Column>
void AddRow(std::vector<TableRow>& rows, std::string label, const std::vector<const Column*>& of,
            const std::function<std::string(const Column&)>& text,
            const std::function<bool(const Column&)>& used = nullptr) {
  TableRow row{std::move(label), {}};
  bool any = !used;
  for (const Column* column : of) {
    row.cells.push_back(text(*column));
    any |= used && used(*column);
  }
  if (any) rows.push_back(std::move(row));
}

std::string MeasureText(const Variable& variable, MessageId first_accumulation) {
  std::string text = MessageText(MeasureMessage(variable.measure));
  if (!variable.shift.IsNone()) text.append(" ").append(variable.shift.Text());
  return text.append(" ").append(
      MessageText(first_accumulation + static_cast<int>(variable.accumulation)));
}

std::vector<TableRow> VariableRows(const std::vector<const Variable*>& variables,
                                   const Database& db, MessageId first_accumulation) {
  using Of = const Variable&;
  std::vector<TableRow> rows;
  AddRow<Variable>(rows, MessageText(msg::kName), variables, [](Of v) { return v.name(); });
  AddRow<Variable>(
      rows, MessageText(msg::kTitle), variables, [](Of v) { return v.title; },
      [](Of v) { return !v.title.empty(); });
  AddRow<Variable>(
      rows, MessageText(msg::kMeasure), variables,
      [&](Of v) { return MeasureText(v, first_accumulation); },
      [](Of v) {
        return v.measure != Measure::kSum || v.accumulation != Accumulation::kFromStart ||
               !v.shift.IsNone();
      });
  AddRow<Variable>(rows, MessageText(msg::kFrom), variables,
                   [](Of v) { return v.selection().from().Text(); });
  AddRow<Variable>(rows, MessageText(msg::kTo), variables,
                   [](Of v) { return v.selection().to().Text(); });
  for (int d = 0; d < kDimensionCount; ++d) {
    AddRow<Variable>(
        rows, db.GetName(name_id::kFirstSingular + d), variables,
        [d](Of v) {
          return v.selection().RestrictsDimension(d) ? v.selection().DisplayedExpression(d)
                                                     : std::string();
        },
        [d](Of v) { return v.selection().RestrictsDimension(d); });
  }
  AddRow<Variable>(
      rows, db.GetName(name_id::kCardTitle), variables,
      [](Of v) { return v.selection().card_title(); },
      [](Of v) { return !v.selection().card_title().empty(); });
  AddRow<Variable>(
      rows, db.GetName(name_id::kLineText), variables,
      [](Of v) { return v.selection().line_text(); },
      [](Of v) { return !v.selection().line_text().empty(); });
  for (int field = 0; field < db.value_field_count(); ++field) {
    AddRow<Variable>(
        rows, db.GetName(name_id::kFirstValueField + field), variables,
        [field](Of v) { return v.selection().value_condition(field); },
        [field](Of v) { return !v.selection().value_condition(field).empty(); });
  }
  AddRow<Variable>(
      rows, MessageText(msg::kSubset), variables, [](Of v) { return v.selection().subset(); },
      [](Of v) { return !v.selection().subset().empty(); });
  return rows;
}

}  // namespace

void WriteColumnsDefinition(const FunctionColumns& columns, LineSink& out, DefinitionForm form,
                            MessageId first_accumulation) {
  std::vector<const Variable*> variables;
  std::vector<const Formula*> formulas;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].is_variable()) {
      variables.push_back(&static_cast<const Variable&>(columns[i]));
    } else {
      formulas.push_back(&static_cast<const Formula&>(columns[i]));
    }
  }
  TableWriter writer(out, form);
  if (!variables.empty()) {
    writer.Write(msg::kSelections, VariableRows(variables, columns.database(), first_accumulation));
  }
  if (formulas.empty()) return;
  std::vector<TableRow> rows;
  using Of = const Formula&;
  AddRow<Formula>(rows, MessageText(msg::kName), formulas, [](Of f) { return f.name(); });
  AddRow<Formula>(rows, MessageText(msg::kFormula), formulas, [](Of f) { return f.text(); });
  AddRow<Formula>(
      rows, MessageText(msg::kHigherLevels), formulas,
      [](Of f) { return MessageText(HigherLevelsMessage(f.higher_levels)); },
      [](Of f) { return f.higher_levels != HigherLevels::kByFormula; });
  writer.Write(msg::kFormulas, rows);
}

}  // namespace jov
