// A `jov` command as a table entry: its name, its help, its options and the function that runs
// it, and the command-line reading that every command shares. The table itself is in
// commands.cc.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace jov {

// Exit statuses: the work was done (warnings may have been printed), it could not be done, or
// the command line was wrong. With --strict, warnings make a finished job count as not done.
constexpr int kExitSuccess = 0, kExitFailed = 1, kExitUsage = 2;

struct OptionSpec {
  std::string_view name;        // "--password"
  std::string_view value_name;  // "PW" when the option takes a value; empty for a switch
  std::string_view help;        // one line
};

struct Command;
struct ParsedCommandLine;

// What the command line gave a command: its operands in order and the options it used.
class CommandArguments {
 public:
  explicit CommandArguments(const Command& command) : command_(&command) {}

  const Command& command() const { return *command_; }
  const std::vector<std::string>& operands() const { return operands_; }
  bool Has(std::string_view option) const;
  // The value of an option that takes one, as typed (UTF-8); the last one given wins.
  std::optional<std::string> Value(std::string_view option) const;
  // Every value given to an option that may be repeated, in order.
  std::vector<std::string> Values(std::string_view option) const;
  // "--strict" was given: warnings printed on the way make the command fail.
  bool strict() const { return strict_; }

  // Prints "jov <command>: <error>" and the command's usage line on stderr; returns
  // kExitUsage.
  int UsageError(std::string_view error) const;

 private:
  friend ParsedCommandLine ParseCommandLine(const Command& command,
                                            std::span<const char* const> arguments);

  const Command* command_;
  std::vector<std::string> operands_;
  std::vector<std::pair<std::string, std::string>> options_;  // name, value ("" for switches)
  bool strict_ = false;
};

struct Command {
  std::string_view name;
  std::string_view summary;  // one line in the general help
  std::string_view usage;    // "jov convert [--text|--binary] ... IN OUT"
  std::string_view help;     // what --help says about the command, in lines of at most 90
  std::span<const OptionSpec> options;
  int (*run)(const CommandArguments& arguments);
};

struct ParsedCommandLine {
  CommandArguments arguments;
  bool help = false;  // "--help" or "-h" was given: show the command's help, run nothing
  std::string error;  // the first mistake; empty when the line is right
};

// Reads the arguments after the command's name. "--help" or "-h" anywhere asks for help, and
// "--strict" is taken by every command. An option of the command's table is a switch, or takes
// the next argument or "=value" as its value; any other argument starting with "-" (but "-"
// itself) is a mistake; the rest are operands, as is everything after "--".
ParsedCommandLine ParseCommandLine(const Command& command, std::span<const char* const> arguments);

// The text of "jov <command> --help": usage, help, options.
std::string CommandHelp(const Command& command);

}  // namespace jov
