// jov export: calculates an analysis template stored in a database and writes its table, as
// its export settings say or in the format asked for.
#include <iostream>

#include "analysis/analysis_kinds.h"
#include "commands.h"
#include "files/analysis_template.h"
#include "platform/text_encoding.h"
#include "session.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "table_output.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--format", "FORMAT", "text, html or xml (default: the template's export format)"},
    kPasswordOption,
};

int RunExport(const CommandArguments& arguments) {
  const std::vector<std::string>& operands = arguments.operands();
  if (operands.size() < 2 || operands.size() > 3) {
    return arguments.UsageError("give the database, the template and optionally the output file");
  }
  const std::optional<std::string> output =
      operands.size() == 3 ? std::optional<std::string>(operands[2]) : std::nullopt;
  std::optional<ExportFormat> format;
  if (const std::optional<std::string> name = arguments.Value("--format")) {
    format = FormatNamed(*name);
    if (!format) return arguments.UsageError("the format is text, html or xml");
  }
  Session session;
  int status = kExitSuccess;
  Database* db = session.OpenFirstOperand(arguments, status);
  if (db == nullptr) return status;
  const std::string name = Cp1252FromUtf8(operands[1]);
  const AnalysisTemplate* stored = AnalysisTemplates::Of(*db).Find(name);
  if (stored == nullptr) {
    AlertRecord alert(msg::kTemplateNotFound);
    alert.Arg(name);
    ReportAlert(alert);
    return kExitFailed;
  }
  const std::unique_ptr<Table> table = OpenTemplate(*db, *stored);
  if (table == nullptr) {
    std::cerr << "jov export: " << Utf8FromCp1252(name) << " is a "
              << Utf8FromCp1252(KindName(stored->frame.kind))
              << " template, and analyses of that kind cannot run yet\n";
    return kExitFailed;
  }
  if (format) table->export_settings().format = *format;
  if (!table->Calculate()) return kExitFailed;
  return session.Status(WriteTableOut(*table, output));
}

}  // namespace

const Command kExportCommand = {
    "export",
    "calculate a stored analysis template and write its table",
    "jov export [--format text|html|xml] [--password PW] FILE TEMPLATE [OUT]",
    "Calculates the analysis template named TEMPLATE (ignoring case) in the database FILE and\n"
    "writes its table with the template's export settings: the format, the separators and the\n"
    "parts it includes (title, notes, definition, column titles, rows). --format overrides the\n"
    "format. Without OUT the table goes to the terminal in UTF-8; OUT is written in\n"
    "Windows-1252 with CR LF line ends. 'jov templates FILE' lists the templates.\n",
    kOptions,
    RunExport,
};

}  // namespace jov
