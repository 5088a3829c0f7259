// What `jov aggregate` and `jov transform` share: the lines they rewrite (every line, or those
// of a subset, a date range and component expressions), the user's signature for the stamps,
// and where the result goes (a new database file, or DB itself with --save, never silently).
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "analysis/window_lines.h"
#include "command.h"
#include "select/line_set.h"
#include "selection_options.h"
#include "session.h"

namespace jov {

inline constexpr OptionSpec kSubsetOption = {"--subset", "NAME",
                                             "only the lines of the database's subset NAME"};
inline constexpr OptionSpec kOutOption = {"--out", "OUT", "save the result as the database OUT"};
inline constexpr OptionSpec kSaveOption = {"--save", "", "save the result over DB itself"};

// The database opened for a rewrite and the window of lines chosen on the command line.
class RewriteTarget {
 public:
  // Reads the command line and opens DB; `status` is set when the command cannot go on (a
  // wrong command line, a database that does not open), and the target must not be used then.
  RewriteTarget(const CommandArguments& arguments, Session& session);
  std::optional<int> status;

  Database& database() { return *database_; }
  const WindowLines& window() const { return window_; }
  // Saves the rewritten database where the command line says; the exit status.
  int Save();

 private:
  std::optional<int> CheckArguments();
  std::optional<int> ChooseLines();

  const CommandArguments& arguments_;
  Session& session_;
  std::optional<std::string> password_;
  std::string out_;
  Database* database_ = nullptr;
  LineSet lines_;
  WindowLines window_;
};

}  // namespace jov
