// The commands that read and write files: errorFile, import and save.
#include <memory>
#include <optional>
#include <string>

#include "automation/command_runner.h"
#include "automation/command_state.h"
#include "automation/script_commands.h"
#include "automation/section_kinds.h"
#include "automation/silent_sink.h"
#include "files/database_file.h"
#include "files/save_setup.h"
#include "files/save_setup_section.h"
#include "io/dim_import.h"
#include "io/import_setup.h"
#include "io/plain_text_import.h"
#include "shell/error_log_sink.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"

namespace jov {
namespace {

bool IsOption(const std::string& token) { return !token.empty() && token.front() == '-'; }

// A save keeps the whole database when it writes every section and every card: only then does
// the saved file become the database's file.
bool SavesWholeDatabase(const SaveSetup& setup) {
  for (const bool on : setup.sections) {
    if (!on) return false;
  }
  for (const ComponentChoice choice : setup.components) {
    if (choice != ComponentChoice::kAll) return false;
  }
  return setup.selection_lines.empty() && !setup.only_for_templates &&
         setup.template_filter.empty() && !setup.open_templates_only;
}

// The components of the file at `path` added to the dimension named, read with the dimension's
// own import setup (or the plain tab-separated one).
void ImportDimension(CommandRunner& runner, const std::string& path, const std::string& name) {
  Database& database = runner.database();
  const int dimension = database.FindDimension(name);
  if (dimension < 0) {
    runner.RaiseError(msg::kDimensionNotFound, name);
    return;
  }
  const std::optional<DimImport>& own = DimImports::Of(database).of(dimension);
  ImportDimensionFile(database, dimension, path, own ? *own : DefaultDimImport());
}

}  // namespace

void RunErrorFile(CommandRunner& runner, TokenLine& arguments) {
  bool no_file = false;
  bool append = false;
  std::string name;
  std::string token;
  while (arguments.Next(&token)) {
    if (TokenIs(token, "-nofile")) {
      no_file = true;
    } else if (TokenIs(token, "-append")) {
      append = true;
    } else if (IsOption(token)) {
      runner.RaiseError(msg::kUnknownOption, token);
    } else if (name.empty()) {
      name = token;
    }
  }
  CommandState& state = CommandState::Of(runner.database());
  if (no_file) {
    state.ReplaceLogSink(std::make_unique<SilentSink>());
    return;
  }
  if (name.empty()) return;
  const std::string path = runner.ResolvePath(name);
  if (!runner.AllowFileChange("errorFile", path)) return;
  state.log_file_name = path.substr(0, ErrorLogSink::kMaxFileName);
  state.ReplaceLogSink(std::make_unique<ErrorLogSink>(path, append));
}

void RunImport(CommandRunner& runner, TokenLine& arguments) {
  std::string name;
  if (!arguments.Next(&name) || name.empty()) return;
  const std::string path = runner.ResolvePath(name);
  if (IsBeingRead(path)) {
    runner.RaiseError(msg::kAlreadyImported, name);
    return;
  }
  Database& database = runner.database();
  ReadOptions options;
  options.import = true;
  const ImportSetup* setup = nullptr;
  std::optional<std::string> dimension;
  std::string token;
  while (arguments.Next(&token)) {
    if (TokenIs(token, "-pw")) {
      options.password = arguments.Next();
    } else if (TokenIs(token, "-s")) {
      const std::string setup_name = arguments.Next();
      setup = ImportSetups::Of(database).Find(setup_name);
      if (setup == nullptr) runner.RaiseError(msg::kImportSetupNotFound, setup_name);
    } else if (TokenIs(token, "-dim")) {
      dimension = arguments.Next();
    } else if (!token.empty()) {
      runner.RaiseError(msg::kUnknownOption, token);
    }
  }
  if (dimension) {
    ImportDimension(runner, path, *dimension);
    return;
  }
  // The setup named is in force for this import only; without one, the one in force stays.
  const ScopedImportSetup in_force(setup != nullptr ? setup : CurrentImportSetup());
  ReadDatabaseFile(database, path, options, runner.password_prompt(), runner.registry());
}

void RunSave(CommandRunner& runner, TokenLine& arguments) {
  Database& database = runner.database();
  std::string name;
  arguments.Next(&name);
  const std::string path = name.empty() ? database.file_name() : runner.ResolvePath(name);
  if (path.empty() || !runner.AllowFileChange("save", path)) return;
  SaveSetup setup = database.Attached<SaveSetups>().in_effect();
  std::string token;
  while (arguments.Next(&token)) {
    if (!token.empty() && !ApplySaveOption(token, setup)) {
      runner.RaiseError(msg::kUnknownOption, token);
    }
  }
  if (StopRequested()) return;
  const bool adopt = SavesWholeDatabase(setup) && !CommandState::Of(database).cancelled;
  SaveDatabaseFile(database, path, FormatForFileName(path), setup, runner.registry(),
                   runner.password_prompt(), adopt && !StopRequested());
}

}  // namespace jov
