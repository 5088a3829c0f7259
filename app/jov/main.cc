// The `jov` command-line program: finds the command named first on the line in the command
// table (commands.cc), reads its options and runs it. Alerts go to stderr in UTF-8; exit status
// 0 when the work was done (even when warnings were printed), 1 when it could not be done (or,
// with --strict, when warnings were printed), 2 for a wrong command line.
#include <algorithm>
#include <iostream>
#include <span>
#include <string>
#include <string_view>

#include "commands.h"
#include "session.h"

namespace jov {
namespace {

// The general help, with one line per command of the table.
std::string GeneralHelp() {
  size_t width = 0;
  for (const Command* command : Commands()) width = std::max(width, command->name.size());
  std::string text =
      "Usage: jov <command> [options] [files]\n"
      "\n"
      "JOV analyses business data - vouchers and transaction lines - held in a\n"
      "multidimensional database.\n"
      "\n"
      "Commands:\n";
  for (const Command* command : Commands()) {
    text.append("  ")
        .append(command->name)
        .append(width + 3 - command->name.size(), ' ')
        .append(command->summary) += '\n';
  }
  return text +
         "\n"
         "Run 'jov <command> --help' for a command's options. Every command also takes\n"
         "--strict, which makes warnings printed on the way fail the command (status 1).\n"
         "  --help      show this text and exit\n"
         "  --version   show the program version and exit\n";
}

int Run(std::span<const char* const> arguments) {
  if (arguments.empty()) {
    std::cerr << GeneralHelp();
    return kExitUsage;
  }
  const std::string_view name = arguments[0];
  if (name == "--help" || name == "-h" || name == "help") {
    std::cout << GeneralHelp();
    return kExitSuccess;
  }
  if (name == "--version") {
    std::cout << "jov " << JOV_VERSION << "\n";
    return kExitSuccess;
  }
  const Command* command = FindCommand(name);
  if (command == nullptr) {
    std::cerr << "jov: unknown command '" << name << "' (see 'jov --help')\n";
    return kExitUsage;
  }
  const ParsedCommandLine parsed = ParseCommandLine(*command, arguments.subspan(1));
  if (parsed.help) {
    std::cout << CommandHelp(*command);
    return kExitSuccess;
  }
  if (!parsed.error.empty()) return parsed.arguments.UsageError(parsed.error);
  CatchInterrupts();
  const int status = command->run(parsed.arguments);
  if (status != kExitSuccess && Interrupted()) std::cerr << "jov " << name << ": stopped\n";
  if (status == kExitSuccess && parsed.arguments.strict() && PrintedReports() > 0) {
    std::cerr << "jov " << name << ": failed: warnings were printed and --strict was given\n";
    return kExitFailed;
  }
  return status;
}

}  // namespace
}  // namespace jov

int main(int argc, char** argv) {
  return jov::Run(std::span<const char* const>(argv + 1, argc > 0 ? argc - 1 : 0));
}
