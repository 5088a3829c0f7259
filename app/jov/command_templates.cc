// jov templates: the analysis templates stored in a database, as a table in text, HTML or XML.
#include <iostream>

#include "analysis/template_list_table.h"
#include "commands.h"
#include "files/line_sink.h"
#include "io/table_export.h"
#include "platform/text_encoding.h"
#include "session.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

constexpr OptionSpec kOptions[] = {
    kPasswordOption,
    {"--format", "FORMAT", "text, html or xml (default: by the extension of --output, else text)"},
    {"--output", "FILE", "write the table to FILE instead of the terminal"},
};

// The table on standard output, in UTF-8.
class Utf8Output : public ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    std::cout << Utf8FromCp1252(bytes);
    return static_cast<bool>(std::cout);
  }
};

std::optional<ExportFormat> FormatNamed(std::string_view name) {
  if (name == "text" || name == "txt") return ExportFormat::kText;
  if (name == "html" || name == "htm") return ExportFormat::kHtml;
  if (name == "xml") return ExportFormat::kXml;
  return std::nullopt;
}

// The format asked for: --format, else the extension of the output file, else text.
std::optional<ExportFormat> ChosenFormat(const CommandArguments& arguments) {
  if (const std::optional<std::string> name = arguments.Value("--format")) {
    return FormatNamed(*name);
  }
  const std::string output = arguments.Value("--output").value_or("");
  const size_t dot = output.find_last_of('.');
  if (dot == std::string::npos || output.find('/', dot) != std::string::npos) {
    return ExportFormat::kText;
  }
  return FormatNamed(output.substr(dot + 1)).value_or(ExportFormat::kText);
}

// Lines end in LF on the terminal, as its other output does.
bool WriteToTerminal(Table& table) {
  table.export_settings().row_terminator = separator::kLineFeed;
  Utf8Output bytes;
  LineSink out(bytes, "\n");
  WriteTable(table, out, {.xml_header = true, .encoding = "UTF-8"});
  return out.Finish();
}

int RunTemplates(const CommandArguments& arguments) {
  if (arguments.operands().size() != 1) return arguments.UsageError("give one database file");
  const std::optional<ExportFormat> format = ChosenFormat(arguments);
  if (!format) return arguments.UsageError("the format is text, html or xml");
  const std::optional<std::string> output = arguments.Value("--output");
  std::optional<std::string> password;
  if (!PasswordArgument(arguments, kPasswordOption.name, password)) return kExitUsage;
  Session session;
  ConsolePasswordPrompt prompt(std::nullopt);
  Database* db = session.Open(arguments.operands().front(), password, prompt);
  if (db == nullptr) return kExitFailed;
  FixedTable table = TemplateListTable(AnalysisTemplates::Of(*db));
  table.export_settings().format = *format;
  bool ok = true;
  if (output) {
    ok = ExportTableToFile(table, Cp1252FromUtf8(*output));
    FlushPendingError();
  } else {
    ok = WriteToTerminal(table);
  }
  return session.Status(ok);
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
