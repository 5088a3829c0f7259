// The commands that run analysis templates: openTemplate, print and export.
#include <memory>
#include <string>

#include "analysis/table.h"
#include "automation/command_runner.h"
#include "automation/named_target.h"
#include "automation/script_commands.h"
#include "automation/script_host.h"
#include "automation/section_kinds.h"
#include "files/analysis_template.h"
#include "io/table_export.h"
#include "select/subset.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

// The calculated analysis of the template `name`; nothing when its kind cannot run in this
// version (raised as an unknown option, the kind's name as argument) or the calculation failed.
std::unique_ptr<Table> CalculatedTemplate(CommandRunner& runner, const std::string& name) {
  Database& database = runner.database();
  const AnalysisTemplate* stored = AnalysisTemplates::Of(database).Find(name);
  if (stored == nullptr) return nullptr;
  std::unique_ptr<Table> table = OpenTemplateTable(database, *stored);
  if (table == nullptr) {
    runner.RaiseError(msg::kUnknownOption, KindName(stored->frame.kind));
    return nullptr;
  }
  if (!table->Calculate()) return nullptr;
  return table;
}

// Writes the calculated table to `path` when the script may write there.
void ExportTo(CommandRunner& runner, std::string_view command, Table& table,
              const std::string& path) {
  if (runner.AllowFileChange(command, path)) ExportTableToFile(table, path);
}

// "Prints" a template: its table as an HTML page beside the database, named after the window.
void PrintTemplate(CommandRunner& runner, const std::string& name) {
  std::unique_ptr<Table> table = CalculatedTemplate(runner, name);
  if (table == nullptr) return;
  table->export_settings().format = ExportFormat::kHtml;
  ExportTo(runner, "print", *table, runner.ResolvePath(ProposedExportFileName(*table)));
}

// A folder's children in turn, folders among them recursively, while no stop is requested.
template <typename Action>
void ForTemplateOrChildren(CommandRunner& runner, const NamedTarget& target, Action action) {
  if (target.kind() != NamedTarget::kTemplateFolder) {
    action(target.template_name());
    return;
  }
  std::vector<std::string> pending = {target.template_name()};
  while (!pending.empty() && !StopRequested()) {
    const std::string folder = pending.back();
    pending.pop_back();
    const std::vector<std::string> children = ChildTemplates(runner.database(), folder);
    // Depth first, in list order.
    for (auto it = children.rbegin(); it != children.rend(); ++it) pending.push_back(*it);
    if (folder != target.template_name() && children.empty()) action(folder);
  }
}

std::string TitleFileName(const Table& table) {
  std::string name = table.Title();
  for (size_t at = name.find(": "); at != std::string::npos; at = name.find(": ", at + 1)) {
    name.replace(at, 2, ";");
  }
  return name;
}

}  // namespace

void RunOpenTemplate(CommandRunner& runner, TokenLine& arguments) {
  unsigned flags = 0;
  std::string name;
  std::string token;
  while (arguments.Next(&token)) {
    if (TokenStartsWith(token, "-current")) {
      flags |= ScriptHost::kOpenCurrent;
    } else if (TokenStartsWith(token, "-reopen")) {
      flags |= ScriptHost::kOpenReopen;
    } else if (TokenStartsWith(token, "-skipEmpty")) {
      flags |= ScriptHost::kOpenSkipEmpty;
    } else if (!token.empty() && token.front() == '-') {
      runner.RaiseError(msg::kUnknownOption, token);
    } else if (name.empty()) {
      name = token;
    }
  }
  const std::optional<NamedTarget> target = NamedTarget::Resolve(
      runner, name, NamedTarget::kSubset | NamedTarget::kTemplate | NamedTarget::kTemplateFolder);
  if (!target) return;
  if (target->kind() == NamedTarget::kSubset) {
    if (target->subset()->Calculate()) runner.host().ShowSubset(*target->subset());
    return;
  }
  ForTemplateOrChildren(runner, *target, [&](const std::string& template_name) {
    std::unique_ptr<Table> table = CalculatedTemplate(runner, template_name);
    if (table == nullptr) return;
    if ((flags & ScriptHost::kOpenSkipEmpty) && table->RowCount() <= table->FirstDataRow()) return;
    runner.host().ShowTable(runner.database(), template_name, std::move(table), flags);
  });
}

void RunPrint(CommandRunner& runner, TokenLine& arguments) {
  const std::optional<NamedTarget> target = NamedTarget::Resolve(
      runner, arguments.Next(), NamedTarget::kTemplate | NamedTarget::kTemplateFolder);
  if (!target) return;
  ForTemplateOrChildren(runner, *target,
                        [&](const std::string& name) { PrintTemplate(runner, name); });
}

void RunExport(CommandRunner& runner, TokenLine& arguments) {
  const std::optional<NamedTarget> target =
      NamedTarget::Resolve(runner, arguments.Next(), NamedTarget::kTemplate);
  if (!target) return;
  const std::string file = arguments.Next();
  std::unique_ptr<Table> table = CalculatedTemplate(runner, target->template_name());
  if (table == nullptr) return;
  ExportTo(runner, "export", *table,
           runner.ResolvePath(file.empty() ? TitleFileName(*table) : file));
}

}  // namespace jov
