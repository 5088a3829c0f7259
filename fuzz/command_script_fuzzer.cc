// Macros and scripts from files: the "##Macro" body, and the command loop over a script as a
// file's "##Commands" section would hand it (the script's lines and tokens have a harness of
// their own). What must hold: a macro written and read again writes the same; a script from a
// file writes nothing outside the folder of its database (the folder of a fresh database made
// here).
//
// Lines that would import are left out: an import reads whatever file the script names, and a
// harness must not read the machine's files.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "automation/command_runner.h"
#include "automation/command_state.h"
#include "automation/macro.h"
#include "automation/script_host.h"
#include "files/line_source.h"
#include "files/section_reader.h"
#include "fuzz_support.h"
#include "fuzz_target.h"
#include "io/script_reader.h"
#include "model/case_tables.h"

namespace jov {
namespace {

std::string ReadAndWrite(std::string_view stream) {
  Database database;
  MemoryByteSource bytes(stream);
  LineSource lines(bytes);
  ReadSections(database, lines, fuzz::Registry());
  return fuzz::SectionText(database);
}

// The input's lines up to the first that would end a macro's body, as a "##Macro" section.
std::string MacroSection(std::string_view text) {
  std::string stream = "##Macro\tFuzzed\r\n";
  TextScriptLines lines(text);
  std::string_view line;
  while (lines.Next(&line) && !line.starts_with("#")) stream.append(line).append("\r\n");
  return stream + "##End\r\n";
}

// The script without the lines whose first token is "import".
std::string WithoutImports(std::string_view script) {
  TextScriptLines lines(script);
  std::string kept;
  std::string_view line;
  while (lines.Next(&line)) {
    TokenLine tokens(line);
    if (TokenIs(tokens.Next(), "import")) continue;
    kept.append(line).append("\n");
  }
  return kept;
}

// A folder of its own for the run, emptied afterwards; the refusals of the script's file
// commands leave the folder beside it untouched.
void RunAsFileSection(const std::string& script) {
  namespace fs = std::filesystem;
  const fs::path base = fs::temp_directory_path() / ("jov_script_fuzz_" + std::to_string(getpid()));
  const fs::path folder = base / "db";
  fs::create_directories(folder);
  {
    Database database;
    database.SetFileName((folder / "Fuzzed.jov").string());
    ScriptHost host;
    TextScriptLines lines(script);
    CommandRunner runner(database, lines, host, ScriptOrigin::kFileSection);
    runner.Run();
    CommandState::Of(database).DestroyLogSink();
  }
  for (const auto& entry : fs::directory_iterator(base)) {
    JOV_FUZZ_CHECK(entry.path() == folder);
  }
  fs::remove_all(base);
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(command_script) {
  const std::string_view text = jov::fuzz::AsText(data, size);
  {
    jov::fuzz::QuietRun run;
    const std::string first = jov::ReadAndWrite(jov::MacroSection(text));
    JOV_FUZZ_CHECK(jov::ReadAndWrite(first) == first);
  }
  {
    // Questions are refused here: a script from a file may not write outside its folder.
    jov::fuzz::QuietRun run(/*answer=*/0);
    jov::RunAsFileSection(jov::WithoutImports(text));
  }
}
