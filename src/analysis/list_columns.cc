#include "analysis/list_columns.h"

#include <algorithm>

#include "model/database.h"

namespace jov {
namespace {

constexpr std::string_view kDimensionDigits = "123456789ABCDEFG";

void AddItem(std::string& list, std::string_view item) {
  if (!list.empty()) list += ',';
  list += item;
}

}  // namespace

char DimensionDigit(int dimension) { return kDimensionDigits[dimension]; }

int DimensionOfDigit(char digit) {
  if (digit >= 'a' && digit <= 'g') digit = static_cast<char>(digit - 'a' + 'A');
  const size_t at = kDimensionDigits.find(digit);
  return digit == '\0' || at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::string ColumnListText(const ListColumns& columns, bool with_accumulated) {
  std::string list;
  if (columns.card_id) AddItem(list, "I");
  if (columns.card_title) AddItem(list, "T");
  for (int d = 0; d < kDimensionCount; ++d) {
    if (columns.dimensions[d]) AddItem(list, std::string{'D', DimensionDigit(d)});
  }
  if (columns.line_text) AddItem(list, "L");
  for (int k = 0; k < kListValueFields; ++k) {
    if (columns.values[k]) AddItem(list, std::string{'V', static_cast<char>('A' + k)});
  }
  if (with_accumulated && columns.accumulated) AddItem(list, "S");
  return list;
}

ListColumns ReadColumnList(std::string_view list) {
  ListColumns columns;
  columns.card_id = columns.card_title = columns.line_text = columns.accumulated = false;
  columns.dimensions.fill(false);
  columns.values.fill(false);
  while (!list.empty()) {
    const size_t comma = std::min(list.find(','), list.size());
    const std::string_view item = list.substr(0, comma);
    list.remove_prefix(std::min(comma + 1, list.size()));
    const char key = item.empty() ? '\0' : item[0];
    const char argument = item.size() > 1 ? item[1] : '\0';
    if (item.size() == 1 && key == 'I') columns.card_id = true;
    if (item.size() == 1 && key == 'T') columns.card_title = true;
    if (item.size() == 1 && key == 'L') columns.line_text = true;
    if (item.size() == 1 && key == 'S') columns.accumulated = true;
    if (item.size() == 2 && key == 'D' && DimensionOfDigit(argument) >= 0) {
      columns.dimensions[DimensionOfDigit(argument)] = true;
    }
    if (item.size() == 2 && key == 'V' && argument >= 'A' && argument < 'A' + kListValueFields) {
      columns.values[argument - 'A'] = true;
    }
  }
  return columns;
}

std::string ComponentDisplayText(const Database& database, int dimension, ComponentRef component) {
  std::string text;
  if (component < kFirstComponent) return text;
  const Component& shown = database.component(component);
  for (const char field : DisplayFieldsText(database.dimension(dimension).display())) {
    const std::string& part = field == 'H' ? shown.host : field == 'T' ? shown.text : shown.code;
    if (part.empty()) continue;
    if (!text.empty()) text += ' ';
    text += part;
  }
  return text;
}

}  // namespace jov
