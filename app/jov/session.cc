#include "session.h"

#include <atomic>
#include <csignal>
#include <iostream>

#include "automation/section_kinds.h"
#include "automation/startup_actions.h"
#include "files/file_kind.h"
#include "files/password.h"
#include "platform/settings_store.h"
#include "platform/text_encoding.h"
#include "shell/message_ids.h"
#include "shell/messages.h"
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

bool PasswordArgument(const CommandArguments& arguments, std::string_view option,
                      std::optional<std::string>& password) {
  password.reset();
  const std::optional<std::string> typed = arguments.Value(option);
  if (!typed) return true;
  password = Cp1252FromUtf8Exactly(*typed);
  if (password) return true;
  arguments.UsageError(std::string(option) + ": " +
                       Utf8FromCp1252(MessageText(msg::kPasswordCharacters)));
  return false;
}

SaveSetup SetupKeepingPassword(Database& db) {
  SaveSetup setup = db.Attached<SaveSetups>().in_effect();
  const Password& kept = db.Attached<DatabasePassword>().password;
  setup.sections[static_cast<size_t>(SaveSection::kProtection)] =
      kept.HasPassword() || !kept.entries.empty();
  return setup;
}

bool ReadLostData(Database& db, const std::string& in, const std::string& out) {
  if (!db.Attached<DatabaseFileState>().read_lost_data) return false;
  AlertRecord alert(msg::kReadLostData);
  alert.Arg(out).Arg(in);
  ReportAlert(alert);
  return true;
}

bool ApplySignatureArgument(const CommandArguments& arguments) {
  const std::optional<std::string> signature = arguments.Value(kSignatureOption.name);
  if (!signature || SetUserSignature(Cp1252FromUtf8(*signature))) return true;
  std::cerr << "jov " << arguments.command().name << ": the signature is empty\n";
  return false;
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

Session::Session() : scoped_(&sink_), registry_(FullSectionRegistry(script_host_)) {
  SettingsStore store(SettingsStore::DefaultPath());
  LoadProcessPreferences(store);
  SetProgressDisplay(&progress_);
}

Session::~Session() { SetProgressDisplay(nullptr); }

int Session::Status(bool ok) const {
  return ok && sink_.error_count() == 0 && !Interrupted() ? kExitSuccess : kExitFailed;
}

namespace {

// Without a terminal nobody was asked for the password: say what is missing instead of failing
// in silence.
void ReportPasswordNeeded(const std::string& path) {
  AlertRecord alert(msg::kPasswordNeeded);
  alert.Arg(path);
  ReportAlert(alert);
}

}  // namespace

Database* Session::Open(const std::string& path, const std::optional<std::string>& password,
                        PasswordPrompt& prompt, bool for_user) {
  ReadOptions options = for_user ? UserOpenOptions(script_host_) : ReadOptions();
  options.password = password;
  Database* db = OpenDatabaseFile(open_, path, options, &prompt, registry_);
  FlushPendingError();
  if (db == nullptr && !password && !HaveTerminal() && SniffFile(path).password) {
    ReportPasswordNeeded(path);
  }
  return db;
}

int Session::Save(Database& db, const std::string& out, DatabaseFormat format,
                  const SaveSetup& setup, const std::optional<std::string>& password) {
  ConsolePasswordPrompt prompt(password);
  const bool saved = SaveDatabaseFile(db, out, format, setup, registry_, &prompt, /*adopt=*/true);
  FlushPendingError();
  if (!saved && format == DatabaseFormat::kText && !password && !HaveTerminal() &&
      db.Attached<DatabasePassword>().password.HasPassword()) {
    ReportPasswordNeeded(db.file_name());
  }
  return Status(saved);
}

Database* Session::OpenFirstOperand(const CommandArguments& arguments, int& status) {
  std::optional<std::string> password;
  if (!PasswordArgument(arguments, kPasswordOption.name, password)) {
    status = kExitUsage;
    return nullptr;
  }
  ConsolePasswordPrompt prompt(std::nullopt);
  Database* db = Open(arguments.operands().front(), password, prompt);
  if (db == nullptr) status = kExitFailed;
  return db;
}

}  // namespace jov
