#include "files/definition_block.h"

#include "files/markup_text.h"
#include "shell/message_ids.h"
#include "shell/messages.h"

namespace jov {
namespace {

void WriteHtmlRow(LineSink& out, const DefinitionRow& row) {
  std::string& line = out.line();
  line.append("<tr><td>");
  AppendHtmlEscaped(line, row.label);
  line.append("</td><td>");
  AppendHtmlEscaped(line, row.value);
  line.append("</td></tr>");
  out.EndLine();
}

}  // namespace

void WriteDefinitionBlock(LineSink& out, DefinitionForm form, std::span<const DefinitionRow> rows) {
  if (form == DefinitionForm::kText) {
    for (const DefinitionRow& row : rows) out.Add(row.label).Tab().Add(row.value).EndLine();
    out.EndLine();
    return;
  }
  out.Add("<H4>");
  AppendHtmlEscaped(out.line(), MessageText(msg::kDefinition));
  out.WriteLine("</H4>");
  out.WriteLine("<table border=0 cellspacing=0 cellpadding=1>");
  for (const DefinitionRow& row : rows) WriteHtmlRow(out, row);
  out.WriteLine("</table>");
  out.WriteLine("<br>");
}

}  // namespace jov
