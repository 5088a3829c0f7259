#include "analysis/component_labels.h"

#include <algorithm>

#include "model/database.h"
#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

// Characters of indentation per level, by the indentation step.
constexpr int kIndentation[] = {0, 2, 4};
// The non-breaking space, which HTML does not collapse.
constexpr char kNoBreakSpace = '\xA0';

ComponentField FieldOfIdentifier(char identifier) {
  return identifier == 'H'   ? ComponentField::kHost
         : identifier == 'T' ? ComponentField::kText
                             : ComponentField::kCode;
}

MessageId TitleOfIdentifier(char identifier) {
  return identifier == 'H'   ? msg::kHostCode
         : identifier == 'T' ? msg::kComponentText
                             : msg::kJovCode;
}

}  // namespace

std::vector<LabelColumn> ComponentLabelColumns(const Database& database, int view,
                                               int first_width) {
  const Dimension& dimension = database.dimension(view);
  std::vector<LabelColumn> columns;
  int left = 0;
  for (const char identifier : DisplayFieldsText(dimension.display())) {
    LabelColumn label;
    label.identifier = identifier;
    label.column.title = MessageText(TitleOfIdentifier(identifier));
    const int width = columns.empty() && first_width > 0
                          ? first_width
                          : dimension.width(FieldOfIdentifier(identifier));
    label.column.left = left;
    label.column.right = left += width;
    columns.push_back(std::move(label));
  }
  return columns;
}

TableCell ComponentLabelCell(const Database& database, const ComponentRow& row, int view,
                             char identifier, bool first, LabelIndent indent) {
  TableCell cell;
  if (row.parent < 0) {
    if (first) cell.text = database.GetName(name_id::kFirstPlural + view);
    return cell;
  }
  if (first) {
    const int step = kIndentation[std::clamp(indent.step, 0, 2)];
    cell.text.assign(static_cast<size_t>(step * (row.level - 1)),
                     indent.html ? kNoBreakSpace : ' ');
  }
  const Component& component = database.component(row.component);
  cell.text += identifier == 'H'   ? component.host
               : identifier == 'T' ? component.text
                                   : component.code;
  return cell;
}

std::string ComponentRowName(const Database& database, const ComponentRow& row, int view) {
  std::string name;
  for (const char identifier : DisplayFieldsText(database.dimension(view).display())) {
    const std::string text =
        ComponentLabelCell(database, row, view, identifier, row.parent < 0, {}).text;
    if (text.empty()) continue;
    if (!name.empty()) name += ' ';
    name += text;
    if (row.parent < 0) break;
  }
  return name;
}

}  // namespace jov
