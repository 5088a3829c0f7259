// The commands on the definitions a database keeps: execute, deleteMacro, deleteSubset,
// deleteTemplate and modify.
#include <functional>
#include <string>
#include <vector>

#include "automation/command_runner.h"
#include "automation/macro.h"
#include "automation/named_target.h"
#include "automation/script_commands.h"
#include "automation/section_kinds.h"
#include "files/analysis_template.h"
#include "model/case_tables.h"
#include "select/subset.h"
#include "select/subset_list.h"
#include "select/subset_section.h"
#include "select/text_pattern.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

// `name` is `parent` or one of its descendants: the parent's name followed by ':' (not doubled
// when the parent's name ends with one), ignoring case.
bool IsNameOrChild(std::string_view name, std::string_view parent) {
  if (EqualsIgnoringCase(name, parent)) return true;
  std::string prefix(parent);
  if (!prefix.ends_with(':')) prefix.push_back(':');
  return TokenStartsWith(name, prefix);
}

// What a delete command does with each of its tokens: "-all", "-filter" and a pattern, or a
// name; `remove` deletes what a name or test chooses and returns how many went.
struct DeleteActions {
  std::function<int(const std::function<bool(const std::string&)>&)> remove;
  // Deletes by one name; false when nothing was deleted (the command raises the error, or the
  // action raised its own and returns true).
  std::function<bool(const std::string&)> by_name;
};

void RunDeletions(CommandRunner& runner, TokenLine& arguments, const DeleteActions& actions) {
  std::string token;
  while (arguments.Next(&token) && !StopRequested()) {
    if (TokenStartsWith(token, "-all")) {
      actions.remove([](const std::string&) { return true; });
    } else if (TokenStartsWith(token, "-filter")) {
      std::string text = arguments.Next();
      const std::optional<TextPattern> pattern = TextPattern::Compile(text);
      if (pattern) actions.remove([&](const std::string& name) { return pattern->Matches(name); });
    } else if (!token.empty() && token.front() == '-') {
      runner.RaiseError(msg::kUnknownOption, token);
    } else if (!token.empty() && !actions.by_name(token)) {
      runner.RaiseError(msg::kUnknownOption, token);
    }
  }
}

void EraseSubsets(Database& database, const std::function<bool(const std::string&)>& chosen) {
  SubsetList& list = SubsetList::Of(database);
  std::vector<Subset*> doomed;
  for (const auto& subset : list.subsets()) {
    if (chosen(subset->name())) doomed.push_back(subset.get());
  }
  for (Subset* subset : doomed) list.Erase(*subset, /*confirm=*/false);
}

// Removes the template and, for a folder, every template below it.
int RemoveTemplates(Database& database, const std::function<bool(const std::string&)>& chosen) {
  AnalysisTemplates& templates = AnalysisTemplates::Of(database);
  std::vector<std::string> doomed;
  for (const AnalysisTemplate& stored : templates.templates()) {
    if (chosen(stored.frame.name)) doomed.push_back(stored.frame.name);
  }
  for (const std::string& name : doomed) templates.Remove(name);
  return static_cast<int>(doomed.size());
}

// Every further token is one line of the definition text.
std::vector<std::string> DefinitionLines(TokenLine& arguments) {
  std::vector<std::string> lines;
  std::string token;
  while (arguments.Next(&token)) lines.push_back(token);
  return lines;
}

void ModifySubset(Subset& subset, const std::vector<std::string>& lines) {
  subset.SetCombination({});
  while (!subset.selections().empty()) subset.DeleteSelection(*subset.selections().back());
  SubsetBodyReader reader(subset);
  for (const std::string& line : lines) reader.ReadLine(line);
}

void ModifyTemplate(Database& database, const std::string& name,
                    const std::vector<std::string>& lines) {
  AnalysisTemplates& templates = AnalysisTemplates::Of(database);
  const AnalysisTemplate* old = templates.Find(name);
  AnalysisTemplate fresh;
  fresh.frame.kind = old->frame.kind;
  fresh.frame.name = old->frame.name;
  fresh.body = TemplateBodyKinds().NewBody(fresh.frame.kind, database);
  for (const std::string& line : lines) {
    if (!fresh.body->ReadLine(line)) fresh.frame.ReadLine(line);
  }
  templates.Store(std::move(fresh));
}

}  // namespace

void RunExecute(CommandRunner& runner, TokenLine& arguments) {
  const std::string name = arguments.Next();
  if (name.empty()) return;
  MacroList& list = MacroList::Of(runner.database());
  Macro* macro = list.Find(name);
  if (macro == nullptr) {
    runner.RaiseError(msg::kUnknownOption, name);
    return;
  }
  list.Execute(*macro, runner.host());
}

void RunDeleteMacro(CommandRunner& runner, TokenLine& arguments) {
  MacroList& list = MacroList::Of(runner.database());
  DeleteActions actions;
  actions.remove = [&](const auto& chosen) {
    return list.DeleteIf([&](const Macro& macro) { return chosen(macro.name); });
  };
  actions.by_name = [&](const std::string& name) {
    return list.DeleteIf([&](const Macro& macro) { return IsNameOrChild(macro.name, name); }) > 0;
  };
  RunDeletions(runner, arguments, actions);
}

void RunDeleteSubset(CommandRunner& runner, TokenLine& arguments) {
  Database& database = runner.database();
  DeleteActions actions;
  actions.remove = [&](const auto& chosen) {
    EraseSubsets(database, chosen);
    return 0;
  };
  actions.by_name = [&](const std::string& name) {
    const std::optional<NamedTarget> target =
        NamedTarget::Resolve(runner, name, NamedTarget::kSubset);
    if (target) SubsetList::Of(database).Erase(*target->subset(), /*confirm=*/false);
    return true;  // a name that is not found raised 3818 already
  };
  RunDeletions(runner, arguments, actions);
}

void RunDeleteTemplate(CommandRunner& runner, TokenLine& arguments) {
  Database& database = runner.database();
  DeleteActions actions;
  actions.remove = [&](const auto& chosen) { return RemoveTemplates(database, chosen); };
  actions.by_name = [&](const std::string& name) {
    const std::optional<NamedTarget> target =
        NamedTarget::Resolve(runner, name, NamedTarget::kTemplate | NamedTarget::kTemplateFolder);
    if (target) {
      const std::string stored = target->template_name();
      RemoveTemplates(database, [&](const std::string& n) { return IsNameOrChild(n, stored); });
    }
    return true;
  };
  RunDeletions(runner, arguments, actions);
}

void RunModify(CommandRunner& runner, TokenLine& arguments) {
  const std::string name = arguments.Next();
  const std::optional<NamedTarget> target =
      NamedTarget::Resolve(runner, name, NamedTarget::kSubset | NamedTarget::kTemplate);
  if (!target) return;
  const std::vector<std::string> lines = DefinitionLines(arguments);
  if (target->kind() == NamedTarget::kSubset) {
    ModifySubset(*target->subset(), lines);
  } else {
    ModifyTemplate(runner.database(), target->template_name(), lines);
  }
  runner.database().MarkModified();
}

}  // namespace jov
