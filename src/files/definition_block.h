// The definition block that tables print above their rows: what an analysis selects, one
// criterion a row, each a label and a value. Written as text lines (label, tab, value, and an
// empty line after the block) or as an HTML heading and table.
#pragma once

#include <span>
#include <string>

#include "files/line_sink.h"

namespace jov {

enum class DefinitionForm { kText, kHtml };

struct DefinitionRow {
  std::string label;
  std::string value;
};

void WriteDefinitionBlock(LineSink& out, DefinitionForm form, std::span<const DefinitionRow> rows);

}  // namespace jov
