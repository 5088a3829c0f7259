// To add a command: write command_<name>.cc defining `const Command k<Name>Command` (name,
// one-line summary, usage line, help text, its options and the function that runs it; see
// command_info.cc), declare it in commands.h, list it below, and describe it in
// docs/command-line.md. Option reading, --help and the general help come from the table.
#include "commands.h"

namespace jov {
namespace {

constexpr const Command* kCommands[] = {
    &kInfoCommand,      &kConvertCommand,   &kCheckCommand,   &kTemplatesCommand,
    &kSubsetsCommand,   &kImportCommand,    &kExportCommand,  &kComponentsCommand,
    &kLinesCommand,     &kCardsCommand,     &kPeriodsCommand, &kCompFunctionsCommand,
    &kAggregateCommand, &kTransformCommand, &kRunCommand,     &kServeCommand,
    &kDemoCommand};

}  // namespace

std::span<const Command* const> Commands() { return kCommands; }

const Command* FindCommand(std::string_view name) {
  for (const Command* command : kCommands) {
    if (command->name == name) return command;
  }
  return nullptr;
}

}  // namespace jov
