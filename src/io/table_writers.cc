#include "io/table_writers.h"

#include <algorithm>

#include "files/markup_text.h"

namespace jov {
namespace {

constexpr int kMinNotesWidth = 350;  // pixels
constexpr int kNotesMargin = 50;

// The rows the settings include: from the first header row (or the first data row when header
// rows are left out) up to the end (or to the first data row when data rows are left out).
RowRange IncludedRows(const Table& table) {
  const ExportSettings& settings = table.export_settings();
  const int first_data = table.FirstDataRow();
  return {settings.include_header_rows ? 0 : first_data,
          settings.include_data_rows ? table.RowCount() : first_data};
}

// `text` between two `around` characters, without quote characters when `exclude_quotes`.
void AppendField(std::string& line, std::string_view text, std::string_view around,
                 bool exclude_quotes = false) {
  line.append(around);
  if (exclude_quotes) {
    for (const char c : text) {
      if (c != '"' && c != '\'') line.push_back(c);
    }
  } else {
    line.append(text);
  }
  line.append(around);
}

TextSeparators ExportSeparators(const ExportSettings& settings) {
  return {
      .between_fields = SeparatorText(SeparatorSetting::kBetweenFields, settings.between_fields),
      .around_fields = SeparatorText(SeparatorSetting::kAroundFields, settings.around_fields),
      .exclude_quotes = settings.exclude_quotes};
}

void WriteTextNotes(LineSink& out, std::string_view notes, const TextSeparators& with) {
  for (const std::string_view line : NoteLines(notes)) {
    if (!line.empty()) AppendField(out.line(), line, with.around_fields);
    out.EndLine();
  }
  out.EndLine();
}

void WriteTextColumnTitles(const Table& table, LineSink& out, const TextSeparators& with) {
  for (int i = 0; i < table.ColumnCount(); ++i) {
    AppendField(out.line(), table.Column(i).title, with.around_fields, with.exclude_quotes);
    out.Add(with.between_fields);
  }
  out.EndLine();
}

// A width or alignment attribute; their values are never user text.
void AppendHtmlAttribute(std::string& line, std::string_view name, std::string_view value) {
  line.append(" ").append(name).append("=\"").append(value).push_back('"');
}

void AppendHtmlCellStart(std::string& line, const char* tag, const TableColumn* width_of,
                         CellAlignment alignment) {
  line.append("<").append(tag);
  if (width_of != nullptr) {
    AppendHtmlAttribute(line, "width", std::to_string(width_of->right - width_of->left));
  }
  AppendHtmlAttribute(line, "align", alignment == CellAlignment::kRight ? "right" : "left");
  line.push_back('>');
}

void AppendHtmlCellText(std::string& line, std::string_view text, bool bold) {
  if (bold) line.append("<b>");
  line.push_back(' ');
  AppendHtmlEscaped(line, text);
  line.push_back(' ');
  if (bold) line.append("</b>");
}

void WriteHtmlNotes(const Table& table, LineSink& out, std::string_view notes) {
  out.WriteLine("<table border=0 cellspacing=0 cellpadding=0>");
  out.Add("<tr><td");
  AppendHtmlAttribute(out.line(), "width",
                      std::to_string(std::max(table.WindowWidth() - kNotesMargin, kMinNotesWidth)));
  out.Add(">\n");
  for (const std::string_view line : NoteLines(notes)) out.Add(line).WriteLine("<br>");
  out.EndLine();
  out.WriteLine("</td></tr>");
  out.WriteLine("</table>");
  out.WriteLine("<p>");
  out.EndLine();
}

void WriteHtmlColumnTitles(const Table& table, LineSink& out, bool widths) {
  out.Add("<tr>");
  for (int i = 0; i < table.ColumnCount(); ++i) {
    const TableColumn& column = table.Column(i);
    AppendHtmlCellStart(out.line(), "th", widths ? &column : nullptr, column.alignment);
    AppendHtmlCellText(out.line(), column.title, column.bold);
    out.WriteLine("</th>");
  }
  out.WriteLine("</tr>");
}

void WriteHtmlRow(const Table& table, LineSink& out, const std::vector<TableCell>& cells,
                  bool widths) {
  out.Add("<tr>");
  for (size_t i = 0; i < cells.size(); ++i) {
    const TableCell& cell = cells[i];
    AppendHtmlCellStart(out.line(), "td", widths ? &table.Column(static_cast<int>(i)) : nullptr,
                        cell.alignment);
    const bool coloured = cell.colour != CellColour::kDefault;
    if (coloured) {
      out.Add("<font");
      AppendHtmlAttribute(out.line(), "color", cell.colour == CellColour::kRed ? "red" : "green");
      out.Add(">");
    }
    AppendHtmlCellText(out.line(), cell.text, cell.bold);
    if (coloured) out.Add("</font>");
    out.WriteLine("</td>");
  }
  out.WriteLine("</tr>");
}

void WriteXmlElement(LineSink& out, std::string_view name, std::string_view text) {
  out.Add("<").Add(name).Add(">");
  AppendXmlEscaped(out.line(), text);
  out.Add("</").Add(name).Add(">").EndLine();
}

void WriteXmlRow(LineSink& out, std::string_view name, const std::vector<TableCell>& cells) {
  out.Add("<").Add(name).Add(">").EndLine();
  for (const TableCell& cell : cells) WriteXmlElement(out, "cell", cell.text);
  out.Add("</").Add(name).Add(">").EndLine();
}

}  // namespace

void WriteTextRow(LineSink& out, const std::vector<TableCell>& cells, const TextSeparators& with) {
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out.Add(with.between_fields);
    AppendField(out.line(), cells[i].text, with.around_fields, with.exclude_quotes);
  }
  out.EndLine();
}

std::vector<std::string_view> NoteLines(std::string_view notes) {
  std::vector<std::string_view> lines;
  while (!notes.empty()) {
    const size_t end = notes.find_first_of("\r\n");
    lines.push_back(notes.substr(0, end));
    if (end == std::string_view::npos) break;
    const bool pair = notes[end] == '\r' && end + 1 < notes.size() && notes[end + 1] == '\n';
    notes.remove_prefix(end + (pair ? 2 : 1));
  }
  return lines;
}

void WriteTableText(Table& table, LineSink& out) {
  const ExportSettings& settings = table.export_settings();
  const TextSeparators with = ExportSeparators(settings);
  const std::string own_line_end = out.line_end();
  out.set_line_end(SeparatorText(SeparatorSetting::kRowTerminator, settings.row_terminator));
  if (settings.include_title) {
    AppendField(out.line(), table.Title(), with.around_fields);
    out.EndLine();
  }
  const std::string notes = settings.include_notes ? table.Notes() : std::string();
  if (!notes.empty()) WriteTextNotes(out, notes, with);
  if (settings.include_definition) table.WriteDefinition(out, DefinitionForm::kText);
  if (settings.include_column_titles) WriteTextColumnTitles(table, out, with);
  const RowRange rows = IncludedRows(table);
  std::vector<TableCell> cells;
  for (int row = rows.first; row < rows.end; ++row) {
    table.FillRow(row, cells);
    WriteTextRow(out, cells, with);
  }
  out.set_line_end(own_line_end);
}

void WriteTableHtml(const Table& table, LineSink& out) {
  const ExportSettings& settings = table.export_settings();
  const std::string title = table.Title();
  out.WriteLine("<html>");
  if (settings.include_title) {
    out.Add("<title>");
    AppendHtmlEscaped(out.line(), title);
    out.WriteLine("</title>");
    out.EndLine();
  }
  out.WriteLine("<body bgcolor=\"#ffffff\">");
  if (settings.include_title) {
    out.Add("<H2>");
    AppendHtmlEscaped(out.line(), title);
    out.WriteLine("</H2>");
    out.EndLine();
  }
  const std::string notes = settings.include_notes ? table.Notes() : std::string();
  if (!notes.empty()) WriteHtmlNotes(table, out, notes);
  if (settings.include_definition) table.WriteDefinition(out, DefinitionForm::kHtml);
  out.WriteLine("<table border=0 cellspacing=0 cellpadding=1>");
  if (settings.include_column_titles) {
    WriteHtmlColumnTitles(table, out, settings.html_column_widths);
  }
  // Without a title row the first row carries the column widths.
  bool widths = settings.html_column_widths && !settings.include_column_titles;
  const RowRange rows = IncludedRows(table);
  std::vector<TableCell> cells;
  for (int row = rows.first; row < rows.end; ++row) {
    table.FillRow(row, cells);
    WriteHtmlRow(table, out, cells, widths);
    widths = false;
  }
  out.WriteLine("</table>");
  out.WriteLine("</body>");
  out.WriteLine("</html>");
}

void WriteTableXml(const Table& table, LineSink& out) {
  const ExportSettings& settings = table.export_settings();
  out.Add("<JOV-Table");
  if (settings.include_title) AppendXmlAttribute(out.line(), "title", table.Title());
  out.Add(">").EndLine();
  const std::string notes = settings.include_notes ? table.Notes() : std::string();
  if (!notes.empty()) {
    out.WriteLine("<notes>");
    AppendXmlEscaped(out.line(), notes);
    out.EndLine();
    out.WriteLine("</notes>");
  }
  if (settings.include_column_titles) {
    out.WriteLine("<columns>");
    for (int i = 0; i < table.ColumnCount(); ++i) {
      WriteXmlElement(out, "column", table.Column(i).title);
    }
    out.WriteLine("</columns>");
  }
  const RowRange rows = IncludedRows(table);
  std::vector<TableCell> cells;
  for (int row = rows.first; row < rows.end; ++row) {
    table.FillRow(row, cells);
    WriteXmlRow(out, row < table.FirstDataRow() ? "header" : "row", cells);
  }
  out.WriteLine("</JOV-Table>");
}

}  // namespace jov
