// The commands that rewrite the data a window holds: transform and aggregate. Each opens its
// target (the base window, a subset or a template), calculates it, and, when it holds lines,
// reads the rest of the line as the operation's option tokens.
#include <memory>
#include <string>
#include <vector>

#include "analysis/aggregate.h"
#include "analysis/transform.h"
#include "automation/command_runner.h"
#include "automation/named_target.h"
#include "automation/script_commands.h"
#include "automation/section_kinds.h"
#include "files/analysis_template.h"
#include "io/script_reader.h"
#include "select/subset.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

// The lines of a calculated window, kept for the operation: a copy, since the window's own set
// may go with the first change of the data.
struct HeldLines {
  LineSet lines;
  WindowLines window;
};

// The window `target` names, calculated; nothing when it holds no line or cannot be calculated
// (a template whose kind holds no lines raises 3816 with the kind's name).
std::optional<HeldLines> OpenWindow(CommandRunner& runner, const NamedTarget& target) {
  HeldLines held;
  Database& database = runner.database();
  switch (target.kind()) {
    case NamedTarget::kBase:
      if (database.cards().FirstCard() == kCardSentinel) return std::nullopt;
      return held;
    case NamedTarget::kSubset:
      if (!target.subset()->Calculate() || target.subset()->lines() == nullptr) return std::nullopt;
      held.lines = *target.subset()->lines();
      break;
    default: {
      const AnalysisTemplate* stored = AnalysisTemplates::Of(database).Find(target.template_name());
      if (stored == nullptr) return std::nullopt;
      std::unique_ptr<Table> table = OpenTemplateTable(database, *stored);
      if (table != nullptr && !table->Calculate()) return std::nullopt;
      if (table == nullptr || !table->CollectHeldLines(held.lines, held.window.level)) {
        if (!StopRequested()) runner.RaiseError(msg::kUnknownOption, KindName(stored->frame.kind));
        return std::nullopt;
      }
      break;
    }
  }
  if (!held.lines.Any()) return std::nullopt;
  return held;
}

std::vector<std::string> RestOf(TokenLine& arguments) {
  std::vector<std::string> tokens;
  std::string token;
  while (arguments.Next(&token)) tokens.push_back(token);
  return tokens;
}

void RaiseRejected(CommandRunner& runner, const std::vector<std::string>& rejected) {
  for (const std::string& token : rejected) runner.RaiseError(msg::kUnknownOption, token);
}

// Runs `operation(settings, window)` on the window of the line's target after the options of
// the rest of the line are applied to `settings` by `apply`.
template <typename Settings, typename Apply, typename Operation>
void RunOnTarget(CommandRunner& runner, TokenLine& arguments, Apply apply, Operation operation) {
  const std::optional<NamedTarget> target = NamedTarget::Resolve(
      runner, arguments.Next(), NamedTarget::kBase | NamedTarget::kSubset | NamedTarget::kTemplate);
  if (!target) return;
  std::optional<HeldLines> held = OpenWindow(runner, *target);
  if (!held) return;
  if (target->kind() != NamedTarget::kBase) held->window.lines = &held->lines;
  Settings settings;
  RaiseRejected(runner, apply(settings, RestOf(arguments)));
  operation(settings, held->window);
}

}  // namespace

void RunTransform(CommandRunner& runner, TokenLine& arguments) {
  Database& database = runner.database();
  RunOnTarget<TransformSettings>(
      runner, arguments,
      [&](TransformSettings& settings, const std::vector<std::string>& tokens) {
        return ApplyTransformOptions(settings, database, tokens);
      },
      [&](const TransformSettings& settings, const WindowLines& window) {
        Transform(database, window, settings);
      });
}

void RunAggregate(CommandRunner& runner, TokenLine& arguments) {
  Database& database = runner.database();
  RunOnTarget<AggregateSettings>(
      runner, arguments,
      [&](AggregateSettings& settings, const std::vector<std::string>& tokens) {
        return ApplyAggregateOptions(settings, database, tokens);
      },
      [&](const AggregateSettings& settings, const WindowLines& window) {
        Aggregate(database, window, settings);
      });
}

}  // namespace jov
