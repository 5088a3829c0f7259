// jov components: the component analysis without a window, its settings from the command line:
// the balance of an account tree (or the sums of any dimension's components) in one line.
#include <cctype>

#include "analysis/component_analysis.h"
#include "commands.h"
#include "row_options.h"
#include "selection_options.h"
#include "session.h"
#include "table_output.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--dim", "DIM", "the dimension whose components form the rows: its number or name"},
    kFromOption,
    kToOption,
    kWhereOption,
    {"--value", "FIELD", "the value field summed: its number or name (default: the first)"},
    {"--columns", "LETTERS", "the columns shown, of BNPRCEAT (default: BNPRE)"},
    kFlatOption,
    kFilterOption,
    {"--sort", "ORDER[:COL]", "none, desc, combdesc, absdesc, absasc, combasc or asc, by Period"},
    kDepthOption,
    {"--format", "FORMAT", "text, html or xml (default: by the extension of --output, else text)"},
    {"--output", "FILE", "write the table to FILE instead of the terminal"},
    kPasswordOption,
};

// What the command line sets that needs no database.
struct Request {
  ExportFormat format = ExportFormat::kText;
  std::optional<std::string> output;
  std::optional<uint8_t> columns;  // one bit per column kind
  RowRequest rows;
  ComponentColumn sort_column = ComponentColumn::kPeriod;
};

std::optional<ComponentColumn> ColumnNamed(std::string_view name) {
  if (name.size() == 1) return ColumnOfLetter(static_cast<char>(std::toupper(name[0])));
  return ColumnOfXmlName(name);
}

// Reads the options that do not depend on the database; a usage error's text when one is wrong.
std::optional<std::string> ReadRequest(const CommandArguments& arguments, Request& request) {
  request.output = arguments.Value("--output");
  const std::optional<ExportFormat> format =
      ChosenFormat(arguments, request.output, ExportFormat::kText);
  if (!format) return "the format is text, html or xml";
  request.format = *format;
  if (const std::optional<std::string> letters = arguments.Value("--columns")) {
    uint8_t columns = 0;
    for (const char letter : *letters) {
      const std::optional<ComponentColumn> column = ColumnNamed(std::string_view(&letter, 1));
      if (!column) return "--columns takes letters of BNPRCEAT";
      columns |= static_cast<uint8_t>(1 << static_cast<int>(*column));
    }
    if (columns == 0) return "--columns needs at least one letter of BNPRCEAT";
    request.columns = columns;
  }
  if (auto error = ReadRowOptions(arguments, "--sort", request.rows)) return error;
  if (request.rows.sort_column) {
    const std::optional<ComponentColumn> column = ColumnNamed(*request.rows.sort_column);
    if (!column) return "--sort takes a column after ':': a letter of BNPRCEAT or its name";
    request.sort_column = *column;
  }
  return std::nullopt;
}

// Sets the analysis from the request and the options that name the database's things.
std::optional<std::string> Configure(const CommandArguments& arguments, const Request& request,
                                     ComponentAnalysis& analysis) {
  Database& db = analysis.database();
  const int dimension = DimensionNamed(db, arguments.Value("--dim").value_or(""));
  if (dimension < 0) return "--dim names no dimension of the database";
  ComponentAnalysisOptions& options = analysis.options();
  options.view_dimension = dimension;
  if (const std::optional<std::string> value = arguments.Value("--value")) {
    options.value_field = ValueFieldNamed(db, *value);
    if (options.value_field < 0) return "--value names no value field of the database";
  }
  for (int kind = 0; kind < kComponentColumns; ++kind) {
    ColumnOptions& column = options.columns[kind];
    if (request.columns) column.visible = (*request.columns >> kind & 1) != 0;
    column.sublevels = true;  // every row shows the total of its subtree
  }
  options.flat = arguments.Has(kFlatOption.name);
  options.filter = request.rows.filter;
  options.sort = request.rows.sort;
  options.sort_column = request.sort_column;
  options.expansion = "\\";  // every row expanded; --depth cuts the tree after calculating
  std::string error;
  if (!ApplySelectionOptions(arguments, analysis.selection(), &error)) return error;
  analysis.set_title(db.GetName(name_id::kFirstPlural + dimension));
  ExportWholeReport(analysis.export_settings(), request.format);
  return std::nullopt;
}

int RunComponents(const CommandArguments& arguments) {
  if (arguments.operands().size() != 1) return arguments.UsageError("give one database file");
  if (!arguments.Value("--dim")) return arguments.UsageError("give the dimension with --dim");
  Request request;
  if (const std::optional<std::string> error = ReadRequest(arguments, request)) {
    return arguments.UsageError(*error);
  }
  Session session;
  int status = kExitSuccess;
  Database* db = session.OpenFirstOperand(arguments, status);
  if (db == nullptr) return status;
  ComponentAnalysis analysis(*db);
  if (const std::optional<std::string> error = Configure(arguments, request, analysis)) {
    return arguments.UsageError(*error);
  }
  if (!analysis.Calculate()) return kExitFailed;
  if (request.rows.depth >= 0) analysis.ExpandToLevel(request.rows.depth);
  return session.Status(WriteTableOut(analysis, request.output));
}

}  // namespace

const Command kComponentsCommand = {
    "components",
    "sum a value field per component of a dimension, as a tree (an account balance)",
    "jov components --dim DIM [--from DATE] [--to DATE] [--where DIM=EXPR ...]\n"
    "               [--value FIELD] [--columns LETTERS] [--flat] [--filter ROWS]\n"
    "               [--sort ORDER[:COL]] [--depth N] [--format text|html|xml] [--output FILE]\n"
    "               [--password PW] FILE",
    "Runs the component analysis on the database: for each component of the dimension DIM that\n"
    "the selection admits, the sums of a value field over the lines of the cards dated before\n"
    "the range (B Before), in it (N Negative, P Positive, R Period, C Count) and after it\n"
    "(A After), with E At End = Before + Period and T Total = all three. Every row shows the\n"
    "total of its subtree; the root row, the dimension's name, the total of all.\n"
    "\n"
    "--from and --to bound the range (without them it runs from the first card to the last);\n"
    "--where DIM=EXPR admits only the components of DIM that the component expression EXPR\n"
    "selects (\"3|4\", \"1000_1999\", \"\xC2\xAC"
    "2\"), for the rows' dimension or any other. Dimensions\n"
    "and value fields are named by number or by name.\n",
    kOptions,
    RunComponents,
};

}  // namespace jov
