#include "session.h"

#include <atomic>
#include <csignal>

#include "automation/section_kinds.h"
#include "platform/settings_store.h"
#include "platform/text_encoding.h"
#include "shell/pending_error.h"
#include "shell/preferences.h"

namespace jov {
namespace {

std::atomic<bool> interrupted{false};

// Runs in the signal handler: touches only lock-free atomics.
void OnInterrupt(int) {
  interrupted.store(true);
  RequestStop();
}

}  // namespace

std::optional<std::string> PasswordArgument(const CommandArguments& arguments) {
  const std::optional<std::string> password = arguments.Value(kPasswordOption.name);
  if (!password) return std::nullopt;
  return Cp1252FromUtf8(*password);
}

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // the second Ctrl-C ends the program
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() { return interrupted.load(); }

Session::Session() : scoped_(&sink_), registry_(FullSectionRegistry()) {
  SettingsStore store(SettingsStore::DefaultPath());
  LoadProcessPreferences(store);
  SetProgressDisplay(&progress_);
}

Session::~Session() { SetProgressDisplay(nullptr); }

int Session::Status(bool ok) const {
  return ok && sink_.error_count() == 0 && !Interrupted() ? kExitSuccess : kExitFailed;
}

Database* Session::Open(const std::string& path, const std::optional<std::string>& password,
                        PasswordPrompt& prompt) {
  ReadOptions options;
  options.password = password;
  Database* db = OpenDatabaseFile(open_, path, options, &prompt, registry_);
  FlushPendingError();
  return db;
}

}  // namespace jov
