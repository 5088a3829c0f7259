#include "automation/macro.h"

#include <algorithm>

#include "automation/command_runner.h"
#include "files/fields.h"
#include "model/case_tables.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

// Compares names ignoring case, byte by byte through the case table.
bool NameBefore(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return UpperCase(static_cast<unsigned char>(x)) < UpperCase(static_cast<unsigned char>(y));
  });
}

}  // namespace

Macro* MacroList::Find(std::string_view name) const {
  name = TrimTrailingBlanks(name);
  if (name.empty()) return nullptr;
  for (const auto& macro : macros_) {
    if (EqualsIgnoringCase(macro->name, name)) return macro.get();
  }
  return nullptr;
}

Macro& MacroList::Store(Macro macro) {
  Macro* stored = Find(macro.name);
  if (stored != nullptr) {
    const bool running = stored->running;
    *stored = std::move(macro);
    stored->running = running;
  } else {
    const auto place = std::upper_bound(
        macros_.begin(), macros_.end(), macro.name,
        [](const std::string& name, const auto& other) { return NameBefore(name, other->name); });
    stored = macros_.insert(place, std::make_unique<Macro>(std::move(macro)))->get();
  }
  database_.MarkModified();
  database_.Notify(ChangeCode::kMacroAdded);
  return *stored;
}

std::string MacroList::UniqueName(std::string_view name) const {
  if (Find(name) == nullptr) return std::string(name);
  for (int number = 1;; ++number) {
    std::string numbered = std::string(name) + " " + std::to_string(number);
    if (Find(numbered) == nullptr) return numbered;
  }
}

int MacroList::Execute(Macro& macro, ScriptHost& host) {
  if (macro.running) {
    // Reported at once rather than posted as the pending error: posting would also request a
    // stop, which would end the outer run that is meant to go on.
    AlertRecord alert(msg::kMacroCalledRecursively, 2);
    alert.Arg(macro.name);
    ReportAlert(alert);
    return 0;
  }
  // The steps are copied: a step may replace or delete the macro that runs it.
  return ExecuteSteps(macro.name, macro.steps, host);
}

int MacroList::ExecuteSteps(std::string_view name, std::string steps, ScriptHost& host) {
  Macro* stored = Find(name);
  if (stored != nullptr && stored->running) return Execute(*stored, host);
  if (steps.empty()) return 0;
  const std::string title(name);
  if (stored != nullptr) stored->running = true;
  const int errors = RunScript(database_, steps, title, host);
  if (Macro* still = Find(title)) still->running = false;
  return errors;
}

void MacroList::ExecuteAtOpening(ScriptHost& host) {
  std::vector<std::string> names;
  for (const auto& macro : macros_) {
    if (macro->execute_when_opening) names.push_back(macro->name);
  }
  for (const std::string& name : names) {
    if (StopRequested()) return;
    if (Macro* macro = Find(name)) Execute(*macro, host);
  }
}

}  // namespace jov
