#include "analysis/template_list_table.h"

#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

// Pixel widths of the columns, for HTML column widths.
constexpr int kNameWidth = 220, kKindWidth = 150, kFlagWidth = 120, kFormatWidth = 60;

void AddColumn(FixedTable& table, MessageId title, int width) {
  const int left = table.ColumnCount() == 0 ? 0 : table.Column(table.ColumnCount() - 1).right;
  table.AddColumn({.title = MessageText(title), .left = left, .right = left + width});
}

TableCell Flag(bool on) { return {.text = on ? MessageText(msg::kButtonYes) : std::string()}; }

}  // namespace

FixedTable TemplateListTable(const AnalysisTemplates& templates) {
  FixedTable table;
  table.set_title(MessageText(msg::kAnalysisTemplates));
  table.export_settings().include_title = true;
  table.export_settings().include_column_titles = true;
  AddColumn(table, msg::kName, kNameWidth);
  AddColumn(table, msg::kAnalysisMenu, kKindWidth);
  AddColumn(table, msg::kOpenDirectly, kFlagWidth);
  AddColumn(table, msg::kCalculateDirectly, kFlagWidth);
  AddColumn(table, msg::kZoomDirectly, kFlagWidth);
  AddColumn(table, msg::kExportFormat, kFormatWidth);
  for (const AnalysisTemplate& stored : templates.templates()) {
    const TemplateFrame& frame = stored.frame;
    table.AddDataRow({{.text = frame.name},
                      {.text = KindName(frame.kind)},
                      Flag(frame.open_directly),
                      Flag(frame.calculate_directly),
                      Flag(frame.zoom_directly),
                      {.text = MessageText(FormatLabel(frame.export_settings.format))}});
  }
  return table;
}

}  // namespace jov
