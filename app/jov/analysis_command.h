// The frame of the `jov` commands that run one analysis ad hoc on one database file: the
// output file and format from the command line, the database opened, the analysis set from
// the command line by the command's own function, calculated and written out.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "command.h"
#include "session.h"
#include "table_output.h"

namespace jov {

// `configure` sets the analysis from the command line and returns a usage error's text when an
// option is wrong. The exit status as the command returns it.
template <typename Analysis>
int RunAnalysisCommand(const CommandArguments& arguments,
                       const std::function<std::optional<std::string>(const CommandArguments&,
                                                                      Analysis&)>& configure) {
  if (arguments.operands().size() != 1) return arguments.UsageError("give one database file");
  const std::optional<std::string> output = arguments.Value("--output");
  const std::optional<ExportFormat> format = ChosenFormat(arguments, output, ExportFormat::kText);
  if (!format) return arguments.UsageError("the format is text, html or xml");
  Session session;
  int status = kExitSuccess;
  Database* db = session.OpenFirstOperand(arguments, status);
  if (db == nullptr) return status;
  Analysis analysis(*db);
  if (const std::optional<std::string> error = configure(arguments, analysis)) {
    return arguments.UsageError(*error);
  }
  analysis.export_settings().format = *format;
  if (!analysis.Calculate()) return kExitFailed;
  return session.Status(WriteTableOut(analysis, output));
}

}  // namespace jov
