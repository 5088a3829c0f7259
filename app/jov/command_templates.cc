// jov templates: the analysis templates stored in a database, as a table in text, HTML or XML.
#include "analysis/template_list_table.h"
#include "commands.h"
#include "session.h"
#include "table_output.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    kPasswordOption,
    {"--format", "FORMAT", "text, html or xml (default: by the extension of --output, else text)"},
    {"--output", "FILE", "write the table to FILE instead of the terminal"},
};

int RunTemplates(const CommandArguments& arguments) {
  if (arguments.operands().size() != 1) return arguments.UsageError("give one database file");
  const std::optional<std::string> output = arguments.Value("--output");
  const std::optional<ExportFormat> format = ChosenFormat(arguments, output, ExportFormat::kText);
  if (!format) return arguments.UsageError("the format is text, html or xml");
  Session session;
  int status = kExitSuccess;
  Database* db = session.OpenFirstOperand(arguments, status);
  if (db == nullptr) return status;
  FixedTable table = TemplateListTable(AnalysisTemplates::Of(*db));
  table.export_settings().format = *format;
  return session.Status(WriteTableOut(table, output));
}

}  // namespace

const Command kTemplatesCommand = {
    "templates",
    "list the analysis templates stored in a database",
    "jov templates [--format text|html|xml] [--output FILE] [--password PW] FILE",
    "Lists the analysis templates of the database: name, kind of analysis, whether it opens,\n"
    "calculates and zooms directly, and the format it exports in. The table is written as\n"
    "tab-separated text, as an HTML page or as XML; on the terminal in UTF-8, into a file in\n"
    "Windows-1252 (named in the XML declaration).\n",
    kOptions,
    RunTemplates,
};

}  // namespace jov
