#include "rewrite_target.h"

#include <iostream>

#include "files/database_file.h"
#include "platform/file_io.h"
#include "platform/text_encoding.h"
#include "select/selection.h"
#include "select/subset_list.h"
#include "shell/pending_error.h"

namespace jov {

RewriteTarget::RewriteTarget(const CommandArguments& arguments, Session& session)
    : arguments_(arguments), session_(session) {
  status = CheckArguments();
  if (status) return;
  ConsolePasswordPrompt prompt(password_);
  const std::string& path = arguments.operands().front();
  database_ = session.Open(path, password_, prompt);
  if (database_ == nullptr || Interrupted()) {
    status = kExitFailed;
  } else if (!arguments.Has("--force") && ReadLostData(*database_, path, out_)) {
    status = kExitFailed;
  } else {
    status = ChooseLines();
  }
}

std::optional<int> RewriteTarget::CheckArguments() {
  if (arguments_.operands().size() != 1) return arguments_.UsageError("give one database file");
  const std::optional<std::string> out = arguments_.Value(kOutOption.name);
  if (out.has_value() == arguments_.Has(kSaveOption.name)) {
    return arguments_.UsageError("give --out OUT for a new database, or --save to change DB");
  }
  out_ = out.value_or(arguments_.operands().front());
  if (out && SameFile(*out, arguments_.operands().front())) {
    return arguments_.UsageError("OUT is DB itself: give --save to change DB");
  }
  if (!PasswordArgument(arguments_, kPasswordOption.name, password_)) return kExitUsage;
  if (!ApplySignatureArgument(arguments_)) return kExitUsage;
  return std::nullopt;
}

// Every line, unless a subset, a date or a component expression narrows them. A date or an
// expression the database cannot take is a command-line mistake.
std::optional<int> RewriteTarget::ChooseLines() {
  const std::optional<std::string> subset = arguments_.Value(kSubsetOption.name);
  if (!subset && !arguments_.Has(kFromOption.name) && !arguments_.Has(kToOption.name) &&
      !arguments_.Has(kWhereOption.name)) {
    return std::nullopt;
  }
  Selection selection(*database_);
  std::string error;
  if (!ApplySelectionOptions(arguments_, selection, &error)) return arguments_.UsageError(error);
  if (subset) {
    const std::string name = Cp1252FromUtf8(*subset);
    if (SubsetList::Of(*database_).Find(name) == nullptr) {
      std::cerr << "jov " << arguments_.command().name << ": the database has no subset \""
                << *subset << "\"\n";
      return kExitFailed;
    }
    selection.SetSubset(name);
  }
  if (!selection.CollectLines(lines_)) {
    FlushPendingError();
    return kExitFailed;
  }
  window_.lines = &lines_;
  return std::nullopt;
}

int RewriteTarget::Save() {
  return session_.Save(*database_, out_, FormatForFileName(out_), SetupKeepingPassword(*database_),
                       password_);
}

}  // namespace jov
