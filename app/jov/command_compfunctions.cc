// jov compfunctions: the component functions analysis without a window, its variables and
// formulas from the command line: margins per cost centre, or any measure per component, in
// one line.
#include "analysis/component_functions.h"
#include "column_options.h"
#include "commands.h"
#include "platform/text_encoding.h"
#include "row_options.h"
#include "selection_options.h"
#include "session.h"
#include "table_output.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--dim", "DIM", "the dimension whose components form the rows: its number or name"},
    kVarOption,
    kFormulaOption,
    {"--sum-lower", "NAME", "the formula NAME shows on parents the sum of its values below"},
    kFromOption,
    kToOption,
    kWhereOption,
    kFlatOption,
    kFilterOption,
    {"--sort", "ORDER[:NAME]",
     "none, desc, combdesc, absdesc, absasc, combasc or asc, by the column NAME"},
    kDepthOption,
    {"--own", "", "expanded rows show their own lines only, not their subtree's"},
    {"--format", "FORMAT", "text, html or xml (default: by the extension of --output, else text)"},
    {"--output", "FILE", "write the table to FILE instead of the terminal"},
    kPasswordOption,
};

std::optional<std::string> AddColumns(const CommandArguments& arguments, FunctionColumns& columns) {
  for (const std::string& var : arguments.Values(kVarOption.name)) {
    if (auto error = AddVariableOption(var, arguments, {VariableDates::kFromTo}, columns)) {
      return error;
    }
    const Measure measure = static_cast<Variable&>(columns[columns.size() - 1]).measure;
    if (measure == Measure::kFirst || measure == Measure::kLast) {
      return "--var " + var + ": first and last have no meaning per component (its lines have " +
             "no order of their own)";
    }
  }
  for (const std::string& formula : arguments.Values(kFormulaOption.name)) {
    if (auto error = AddFormulaOption(formula, columns)) return error;
  }
  for (const std::string& typed : arguments.Values("--sum-lower")) {
    const int found = columns.Find(Cp1252FromUtf8(typed));
    if (found < 0 || columns[static_cast<size_t>(found)].is_variable()) {
      return "--sum-lower " + typed + ": no formula has that name";
    }
    static_cast<Formula&>(columns[static_cast<size_t>(found)]).higher_levels =
        HigherLevels::kSumOfLowerLevels;
  }
  return std::nullopt;
}

std::optional<std::string> Configure(const CommandArguments& arguments, const RowRequest& rows,
                                     ExportFormat format, ComponentFunctionsAnalysis& analysis) {
  Database& db = analysis.database();
  const int dimension = DimensionNamed(db, arguments.Value("--dim").value_or(""));
  if (dimension < 0) return "--dim names no dimension of the database";
  if (auto error = AddColumns(arguments, analysis.columns())) return error;
  ComponentFunctionsOptions& options = analysis.options();
  options.view_dimension = dimension;
  options.flat = arguments.Has(kFlatOption.name);
  options.filter = rows.filter;
  options.sort = rows.sort;
  if (rows.sort_column) {
    options.sort_column = Cp1252FromUtf8(*rows.sort_column);
    if (analysis.columns().Find(options.sort_column) < 0) {
      return "--sort: no variable or formula is named '" + *rows.sort_column + "'";
    }
  } else if (rows.sort != ComponentSort::kNone) {
    options.sort_column = analysis.columns()[0].name();  // the first variable
  }
  options.include_sublevels = !arguments.Has("--own");
  options.expansion = "\\";  // every row expanded; --depth cuts the tree after calculating
  analysis.set_title(db.GetName(name_id::kFirstPlural + dimension));
  ExportWholeReport(analysis.export_settings(), format);
  return std::nullopt;
}

int RunComponentFunctions(const CommandArguments& arguments) {
  if (arguments.operands().size() != 1) return arguments.UsageError("give one database file");
  if (!arguments.Value("--dim")) return arguments.UsageError("give the dimension with --dim");
  if (arguments.Values(kVarOption.name).empty()) {
    return arguments.UsageError("give at least one variable with --var");
  }
  RowRequest rows;
  if (auto error = ReadRowOptions(arguments, "--sort", rows)) return arguments.UsageError(*error);
  const std::optional<std::string> output = arguments.Value("--output");
  const std::optional<ExportFormat> format = ChosenFormat(arguments, output, ExportFormat::kText);
  if (!format) return arguments.UsageError("the format is text, html or xml");
  Session session;
  int status = kExitSuccess;
  Database* db = session.OpenFirstOperand(arguments, status);
  if (db == nullptr) return status;
  ComponentFunctionsAnalysis analysis(*db);
  analysis.columns().Clear();
  if (auto error = Configure(arguments, rows, *format, analysis)) {
    return arguments.UsageError(*error);
  }
  if (!analysis.Calculate()) return kExitFailed;
  if (rows.depth >= 0) analysis.ExpandToLevel(rows.depth);
  return session.Status(WriteTableOut(analysis, output));
}

}  // namespace

const Command kCompFunctionsCommand = {
    "compfunctions",
    "measure variables per component of a dimension, with formulas over them (margins per "
    "cost centre)",
    "jov compfunctions --dim DIM --var NAME=MEASURE:FIELD[:EXPR...] ... [--formula NAME=TEXT ...]\n"
    "                  [--sum-lower NAME ...] [--from DATE] [--to DATE] [--where DIM=EXPR ...]\n"
    "                  [--flat] [--filter ROWS] [--sort ORDER[:NAME]] [--depth N] [--own]\n"
    "                  [--format text|html|xml] [--output FILE] [--password PW] FILE",
    "Runs the component functions analysis on the database: a row for each component of the\n"
    "dimension DIM that some variable reads, as a tree, and a column per variable and formula.\n"
    "Every row shows the values of its whole subtree (with --own, expanded rows show those of\n"
    "their own lines); the root row, the dimension's name, those of all.\n"
    "\n"
    "A variable --var NAME=MEASURE:FIELD[:EXPR...] measures the value field FIELD (number or\n"
    "name; empty for the first) of the lines it reads with MEASURE: count, sum, -sum, product,\n"
    "average, geommean, median, maximum or minimum. Each EXPR is a component expression for\n"
    "dimension 1, 2, ... in turn (\"3\", \"3000_3999\"), or DIM=EXPR for a named one; --where\n"
    "DIM=EXPR, --from and --to restrict every variable. A parent's subtree value is measured\n"
    "over all the lines below it: a median of all their values, a maximum of all of them.\n"
    "A formula --formula NAME=TEXT computes a column from the variables and formulas by their\n"
    "names (\"sales - cost\", \"margin / sales * 100\"), on a parent from its subtree's values;\n"
    "with --sum-lower NAME, a parent shows instead the sum of the formula's values of its own\n"
    "lines and of every row below it.\n"
    "\n"
    "--sort orders each component's children by a column (by default the first variable);\n"
    "--filter inuse keeps the rows some variable read a line for, nonzero those with a value,\n"
    "each with its parents; --depth N shows the tree down to level N.\n",
    kOptions,
    RunComponentFunctions,
};

}  // namespace jov
