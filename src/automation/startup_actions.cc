#include "automation/startup_actions.h"

#include "automation/command_state.h"
#include "automation/macro.h"
#include "automation/script_host.h"
#include "automation/section_kinds.h"
#include "files/analysis_template.h"
#include "select/subset_list.h"
#include "shell/pending_error.h"

namespace jov {

bool RunOpeningMacros(Database& database, ScriptHost& host) {
  CommandState& state = CommandState::Of(database);
  state.automatic_open_actions = !state.commands_read;
  if (!state.automatic_open_actions) return false;
  MacroList::Of(database).ExecuteAtOpening(host);
  // A macro's `quit` turns the rest off.
  return state.automatic_open_actions;
}

void ShowSubsetsAtOpening(Database& database, ScriptHost& host) {
  for (const auto& subset : SubsetList::Of(database).subsets()) {
    if (StopRequested()) return;
    if (subset->open_directly() && subset->Calculate()) host.ShowSubset(*subset);
  }
}

void RunStartupActions(Database& database, ScriptHost& host) {
  if (!RunOpeningMacros(database, host)) return;
  ShowSubsetsAtOpening(database, host);
  for (const AnalysisTemplate& stored : AnalysisTemplates::Of(database).templates()) {
    if (StopRequested()) return;
    if (!stored.frame.open_directly) continue;
    std::unique_ptr<Table> table = OpenTemplateTable(database, stored);
    if (table == nullptr) continue;
    if (stored.frame.calculate_directly && !table->Calculate()) continue;
    host.ShowTable(database, stored.frame.name, std::move(table), 0);
  }
}

ReadOptions UserOpenOptions(ScriptHost& host) {
  ReadOptions options;
  options.startup = [&host](Database& database) { RunStartupActions(database, host); };
  return options;
}

}  // namespace jov
