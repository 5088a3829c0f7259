#include "io/table_export.h"

#include "files/markup_text.h"
#include "io/table_writers.h"
#include "platform/file_io.h"
#include "shell/message_ids.h"
#include "shell/messages.h"
#include "shell/pending_error.h"
#include "shell/process.h"

namespace jov {
namespace {

// The buffer of an export file, and how long a proposed file name may grow.
constexpr size_t kExportBufferBytes = 10240;
constexpr size_t kMaxProposedNameBytes = 120;

// Sets the process-wide number separators from the settings for the lifetime of the object
// and lets the table prepare; restores both at the end.
class ExportScope {
 public:
  explicit ExportScope(Table& table) : table_(table), saved_(Process().separators) {
    Process().separators = ChosenNumberSeparators(table.export_settings());
    table_.PrepareExport();
  }
  ~ExportScope() {
    table_.FinishExport();
    Process().separators = saved_;
  }
  ExportScope(const ExportScope&) = delete;
  ExportScope& operator=(const ExportScope&) = delete;

 private:
  Table& table_;
  NumberSeparators saved_;
};

class FileByteSink : public ByteSink {
 public:
  explicit FileByteSink(AtomicFileWriter& file) : file_(file) {}
  bool Write(std::string_view bytes) override { return file_.Write(bytes); }

 private:
  AtomicFileWriter& file_;
};

std::string_view ExportExtension(const Table& table) {
  if (table.ShowsChart()) return ".bmp";
  switch (table.export_settings().format) {
    case ExportFormat::kHtml:
      return ".htm";
    case ExportFormat::kXml:
      return ".xml";
    case ExportFormat::kText:
      break;
  }
  return ".txt";
}

}  // namespace

void WriteTable(Table& table, LineSink& out, const TableWriteOptions& options) {
  ExportScope scope(table);
  switch (table.export_settings().format) {
    case ExportFormat::kText:
      if (!table.WriteOwnText(out)) WriteTableText(table, out);
      break;
    case ExportFormat::kHtml:
      WriteTableHtml(table, out);
      break;
    case ExportFormat::kXml:
      if (options.xml_header) WriteXmlHeader(out, options.encoding);
      if (!table.WriteOwnXml(out)) WriteTableXml(table, out);
      break;
  }
}

void WriteXmlHeader(LineSink& out, std::string_view encoding) {
  out.Add("<?xml");
  AppendXmlAttribute(out.line(), "version", "1.0");
  AppendXmlAttribute(out.line(), "encoding", encoding);
  out.Add("?>").EndLine();
  out.EndLine();
}

bool ExportTableToFile(Table& table, const std::string& path) {
  AtomicFileWriter file;
  if (!file.Open(path)) {
    PostPendingError(msg::kUnableToOpen, path);
    return false;
  }
  FileByteSink bytes(file);
  LineSink out(bytes, text_format::kTextLineEnd, kExportBufferBytes);
  WriteTable(table, out, {.xml_header = true});
  // A table stopped part-way is not written; the stop has been reported by whoever raised it.
  if (StopRequested()) return false;
  if (!out.Finish() || !file.Commit()) {
    PostPendingError(msg::kErrorWriting, path);
    return false;
  }
  return true;
}

std::string ProposedExportFileName(const Table& table) {
  std::string name;
  for (const char c : table.Title()) {
    if (std::string_view(".:<>/\\").find(c) == std::string_view::npos) name.push_back(c);
  }
  if (name.size() > kMaxProposedNameBytes) name.resize(kMaxProposedNameBytes);
  if (name.find_first_not_of(' ') == std::string::npos) name = MessageText(msg::kExport);
  return name.append(ExportExtension(table));
}

bool ExportTableAs(Table& table, const ChooseFile& choose_file) {
  if (!table.Calculate() || StopRequested()) return false;
  const std::optional<std::string> path = choose_file(ProposedExportFileName(table));
  return path && ExportTableToFile(table, *path);
}

std::string CopyTableText(Table& table) {
  ExportScope scope(table);
  const ExportSettings& settings = table.export_settings();
  const TextSeparators with = {
      .between_fields =
          SeparatorText(SeparatorSetting::kBetweenFields, settings.copy_between_fields),
      .around_fields = SeparatorText(SeparatorSetting::kAroundFields, settings.copy_around_fields),
      .exclude_quotes = settings.exclude_quotes};
  const RowRange rows = settings.copy_extent == CopyExtent::kVisibleOnly
                            ? table.VisibleRows()
                            : RowRange{0, table.RowCount()};
  const size_t limit = CopyByteLimit(settings.copy_extent);
  StringByteSink text;
  // Every row goes straight to the text, so that its length is known after each row.
  LineSink out(text, SeparatorText(SeparatorSetting::kRowTerminator, settings.copy_row_terminator),
               /*flush_bytes=*/0);
  std::vector<TableCell> cells;
  for (int row = rows.first; row < rows.end && text.text().size() < limit; ++row) {
    table.FillRow(row, cells);
    WriteTextRow(out, cells, with);
  }
  out.Finish();
  return text.text();
}

}  // namespace jov
