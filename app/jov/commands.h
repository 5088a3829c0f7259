// The table of `jov` commands; each command lives in its own command_<name>.cc.
#pragma once

#include <span>
#include <string_view>

#include "command.h"

namespace jov {

extern const Command kInfoCommand;
extern const Command kConvertCommand;
extern const Command kCheckCommand;
extern const Command kDemoCommand;
extern const Command kTemplatesCommand;
extern const Command kSubsetsCommand;
extern const Command kImportCommand;
extern const Command kExportCommand;
extern const Command kComponentsCommand;
extern const Command kLinesCommand;
extern const Command kCardsCommand;
extern const Command kRunCommand;
extern const Command kAggregateCommand;
extern const Command kTransformCommand;
extern const Command kPeriodsCommand;
extern const Command kServeCommand;
extern const Command kCompFunctionsCommand;

// Every command, in the order the general help lists them.
std::span<const Command* const> Commands();
// The command of that name; nullptr when there is none.
const Command* FindCommand(std::string_view name);

}  // namespace jov
