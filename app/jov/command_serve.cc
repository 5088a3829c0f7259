// jov serve: serves the automation objects on the D-Bus session bus without windows. The
// service is its own program, jov-bus (the jov program stays free of Qt); serve runs it in the
// place of this process.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <vector>

#include "commands.h"

namespace jov {
namespace {

constexpr char kServer[] = "jov-bus";

constexpr OptionSpec kOptions[] = {
    {"--exit-on-release", "", "quit when the last client lets go of its objects"},
};

// jov-bus beside this program (installed), in the build tree's folder for it, else on PATH.
std::vector<std::string> ServerCandidates() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  std::vector<std::string> candidates;
  if (!error) {
    candidates.push_back((self.parent_path() / kServer).string());
    candidates.push_back((self.parent_path().parent_path() / "bus" / kServer).string());
  }
  candidates.push_back(kServer);
  return candidates;
}

int RunServe(const CommandArguments& arguments) {
  if (!arguments.operands().empty()) return arguments.UsageError("serve takes no files");
  std::vector<const char*> argv = {kServer};
  if (arguments.Has("--exit-on-release")) argv.push_back("-embedding");
  argv.push_back(nullptr);
  for (const std::string& program : ServerCandidates()) {
    const bool searched = program.find('/') == std::string::npos;
    if (!searched && ::access(program.c_str(), X_OK) != 0) continue;
    std::cout.flush();
    if (searched) {
      ::execvp(program.c_str(), const_cast<char* const*>(argv.data()));
    } else {
      ::execv(program.c_str(), const_cast<char* const*>(argv.data()));
    }
  }
  std::cerr << "jov serve: cannot start " << kServer << ": " << std::strerror(errno) << "\n";
  return kExitFailed;
}

}  // namespace

const Command kServeCommand = {
    "serve",
    "serve the automation objects on the D-Bus session bus",
    "jov serve [--exit-on-release]",
    "Serves the automation objects (org.ledra.JOV on the session bus) without windows, until\n"
    "a client calls Quit and lets go of its objects, or the process is stopped. Other programs\n"
    "open databases, import, run macros and export through it: see docs/automation.md. The\n"
    "service is the program jov-bus, which the bus also starts by itself once it is registered\n"
    "(jov-bus /regserver).\n",
    kOptions,
    RunServe,
};

}  // namespace jov
