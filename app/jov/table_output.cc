#include "table_output.h"

#include <iostream>

#include "files/line_sink.h"
#include "io/table_export.h"
#include "platform/text_encoding.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

// The table on standard output, in UTF-8.
class Utf8Output : public ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    std::cout << Utf8FromCp1252(bytes);
    return static_cast<bool>(std::cout);
  }
};

// Lines end in LF on the terminal, as its other output does.
bool WriteToTerminal(Table& table) {
  table.export_settings().row_terminator = separator::kLineFeed;
  Utf8Output bytes;
  LineSink out(bytes, "\n");
  WriteTable(table, out, {.xml_header = true, .encoding = "UTF-8"});
  return out.Finish() && !StopRequested();
}

}  // namespace

std::optional<ExportFormat> FormatNamed(std::string_view name) {
  if (name == "text" || name == "txt") return ExportFormat::kText;
  if (name == "html" || name == "htm") return ExportFormat::kHtml;
  if (name == "xml") return ExportFormat::kXml;
  return std::nullopt;
}

std::optional<ExportFormat> ChosenFormat(const CommandArguments& arguments,
                                         const std::optional<std::string>& output,
                                         ExportFormat fallback) {
  if (const std::optional<std::string> name = arguments.Value("--format")) {
    return FormatNamed(*name);
  }
  const std::string path = output.value_or("");
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return fallback;
  return FormatNamed(path.substr(dot + 1)).value_or(fallback);
}

void ExportWholeReport(ExportSettings& settings, ExportFormat format) {
  settings.format = format;
  settings.include_title = settings.include_definition = settings.include_column_titles = true;
  settings.include_header_rows = settings.include_data_rows = true;
}

bool WriteTableOut(Table& table, const std::optional<std::string>& output) {
  if (!output) return WriteToTerminal(table);
  const bool written = ExportTableToFile(table, Cp1252FromUtf8(*output));
  FlushPendingError();
  return written;
}

}  // namespace jov
