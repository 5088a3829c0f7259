#include "automation/automation_objects.h"

#include <optional>
#include <utility>
#include <vector>

#include "automation/command_runner.h"
#include "automation/command_state.h"
#include "automation/macro.h"
#include "automation/silent_sink.h"
#include "automation/xml_command.h"
#include "files/database_file.h"
#include "files/dimension_section.h"
#include "files/password.h"
#include "files/save_setup_section.h"
#include "io/dim_import.h"
#include "io/plain_text_import.h"
#include "model/database_info.h"
#include "model/user_stamp.h"
#include "platform/file_io.h"
#include "platform/scratch_file.h"
#include "platform/text_encoding.h"
#include "shell/error_log_sink.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/process.h"

namespace jov {
namespace {

constexpr size_t kMaxFileName = 511;
constexpr size_t kMaxPassword = 1023;
constexpr size_t kMaxDimensionName = 299;
constexpr std::string_view kScratchPrefix = "jov";

// A client's text in Windows-1252; nothing when a character has no place there.
std::optional<std::string> FromClient(std::string_view utf8) { return Cp1252FromUtf8Exactly(utf8); }

std::string ToClient(std::string_view text) { return Utf8FromCp1252(text); }

// Silences the alerts of one operation and makes the last of them its error code.
class SilentOperation {
 public:
  SilentOperation() { PushSink(&sink_); }
  ~SilentOperation() { RemoveSink(&sink_); }
  SilentOperation(const SilentOperation&) = delete;
  SilentOperation& operator=(const SilentOperation&) = delete;

  SilentSink& sink() { return sink_; }
  // Reports the pending error (into the silent sink) and maps the last message.
  ErrorCodes Finish() {
    FlushPendingError();
    return ErrorCodeFor(sink_.ids().empty() ? kNoMessage : sink_.ids().back());
  }

 private:
  SilentSink sink_;
};

// The alerts of a reading: written to an error log, and kept by the operation's silent sink
// all the same, so that a reading that failed never answers errNone. Without a log file the
// alerts only reach the silent sink.
class ReadingLog : public AlertSink {
 public:
  ReadingLog(const std::string& file, AlertSink& codes) : codes_(codes) {
    if (!file.empty()) log_.emplace(file, /*append=*/true);
    PushSink(this);
  }
  ~ReadingLog() override { RemoveSink(this); }
  ReadingLog(const ReadingLog&) = delete;
  ReadingLog& operator=(const ReadingLog&) = delete;

  int Report(AlertRecord& alert) override {
    if (log_) log_->Report(alert);
    return codes_.Report(alert);
  }

 private:
  AlertSink& codes_;
  std::optional<ErrorLogSink> log_;  // closed at the end of the reading
};

// The log of readings into a database: its own log file, but none for a database without a
// file of its own, whose folder would be the server's current folder.
std::string ReadingLogFile(Database& database) {
  if (database.file_name().empty() && CommandState::Of(database).log_file_name.empty()) return {};
  return ErrorLogFile(database);
}

// Keeps a database's place for the objects that refer to it, and clears it when the database
// goes.
struct AutomationLinkKeeper : DatabaseAttachment {
  explicit AutomationLinkKeeper(Database& database)
      : link(std::make_shared<Database*>(&database)) {}
  ~AutomationLinkKeeper() override { *link = nullptr; }
  DatabaseLink link;
};

// What a script asked of the application (`close`, `quit`) is done once the script ended.
void ActOnScriptRequests(AutomationServer& server, Database& database) {
  CommandState& state = CommandState::Of(database);
  const bool close = std::exchange(state.close_requested, false);
  const bool quit = std::exchange(state.quit_requested, false);
  if (quit) server.host().Quit();
  if (close) server.host().Close(database);
}

// Imports a client's text through a temporary file of its own, which `import` reads; an empty
// text does nothing.
template <typename Import>
ErrorCodes ImportThroughScratchFile(std::string_view text, Import import) {
  const std::optional<std::string> bytes = FromClient(text);
  if (!bytes) return errInvalidParameter;
  if (bytes->empty()) return errNone;
  const std::optional<ScratchFile> file = ScratchFile::Create(kScratchPrefix, *bytes);
  if (!file) return errMissingResource;
  return import(file->path());
}

// The blank-separated tokens of a text.
std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = std::min(text.find(' ', pos), text.size());
    if (end > pos) tokens.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return tokens;
}

}  // namespace

ErrorCodes ErrorCodeFor(MessageId last_message) {
  switch (last_message) {
    case kNoMessage:
      return errNone;
    case msg::kOutOfMemory:
      return errOutofMemory;
    case msg::kResourceError:
      return errMissingResource;
    case msg::kUnableToOpen:
      return errOpeningFile;
    case msg::kErrorReading:
      return errReadingFile;
    case msg::kErrorWriting:
      return errWritingFile;
    case msg::kIncorrectPassword:
      return errWrongPassword;
    case msg::kImportSetupNotFound:
      return errNoImportSetup;
    default:
      return errGeneral;
  }
}

void AutomationHost::Close(Database& database) { databases().Close(database); }

// --- Server

void AutomationServer::ReleaseObject() {
  --objects_;
  QuitWhenUnused();
}

void AutomationServer::Unlock() {
  if (locks_ > 0) --locks_;
  QuitWhenUnused();
}

void AutomationServer::QuitWhenUnused() {
  if (exit_on_release_ && objects_ == 0 && locks_ == 0) host_.Quit();
}

// --- Application

int16_t ApplicationObject::Visible() const { return server_.host().visible() ? 1 : 0; }

void ApplicationObject::SetVisible(int16_t visible) { server_.host().SetVisible(visible != 0); }

int16_t ApplicationObject::GetWindowState() const { return server_.host().window_state(); }

void ApplicationObject::SetWindowState(int16_t state) {
  server_.host().SetWindowState(
      state == wsMaximize || state == wsMinimize ? static_cast<WindowState>(state) : wsNormal);
}

int16_t ApplicationObject::ExitOnRelease() const { return server_.exit_on_release() ? 1 : 0; }

void ApplicationObject::SetExitOnRelease(int16_t exit) { server_.SetExitOnRelease(exit != 0); }

std::string ApplicationObject::Signature() const {
  return ToClient(Process().preferences.signature);
}

ErrorCodes ApplicationObject::SetSignature(std::string_view signature) {
  const std::optional<std::string> text = FromClient(signature);
  if (!text) return errInvalidParameter;
  SetUserSignature(std::string_view(*text).substr(0, Stamp::kMaxSignature));
  return errNone;
}

ApplicationObject::Opened ApplicationObject::OpenFile(std::string_view file_name,
                                                      std::string_view password) {
  const std::optional<std::string> name = FromClient(file_name);
  const std::optional<std::string> secret = FromClient(password);
  // A name or password cut to its limit would name another file or key.
  if (!name || !secret || name->empty() || name->size() > kMaxFileName ||
      secret->size() > kMaxPassword) {
    return {errInvalidParameter, nullptr};
  }
  const std::string path = FullPath(".", *name);
  AutomationHost& host = server_.host();
  if (Database* open = host.databases().FindByFileName(path)) {
    const Password& held = open->Attached<DatabasePassword>().password;
    if (held.HasPassword() && Password::CheckValue(*secret) != held.check_value()) {
      return {errWrongPassword, nullptr};
    }
    return {errNone, std::make_unique<DatabaseObject>(server_, *open)};
  }
  SilentOperation operation;
  Database* database = nullptr;
  {
    ReadingLog log(JoinPath(FolderOf(path), kDefaultErrorLog), operation.sink());
    ReadOptions options;
    if (!secret->empty()) options.password = *secret;
    database = OpenDatabaseFile(host.databases(), path, options, nullptr, host.registry());
  }
  const ErrorCodes error = operation.Finish();
  if (database == nullptr) return {error == errNone ? errOpeningFile : error, nullptr};
  host.Opened(*database);
  return {error, std::make_unique<DatabaseObject>(server_, *database)};
}

void ApplicationObject::Quit() { server_.SetExitOnRelease(true); }

// --- Database

DatabaseObject::DatabaseObject(AutomationServer& server, Database& database)
    : DatabaseObject(server, database.Attached<AutomationLinkKeeper>().link) {}

DatabaseObject::DatabaseObject(AutomationServer& server, DatabaseLink link)
    : AutomationObject(server), link_(std::move(link)) {}

std::string DatabaseObject::Name() const {
  return database() != nullptr ? ToClient(database()->file_name()) : std::string();
}

ErrorCodes DatabaseObject::SetPassword(std::string_view password) {
  if (database() == nullptr) return errBaseInvalid;
  const std::optional<std::string> text = FromClient(password);
  if (!text || text->size() > kMaxPassword) return errInvalidParameter;
  database()->Attached<DatabasePassword>().password.SetPassword(*text);
  return errNone;
}

std::string DatabaseObject::Password() const {
  if (database() == nullptr) return {};
  return ToClient(database()->Attached<DatabasePassword>().password.GetPassword());
}

std::unique_ptr<DimensionObject> DatabaseObject::GetDim(int16_t number) {
  if (database() == nullptr || number < 1 || number > kDimensionCount) return nullptr;
  return std::make_unique<DimensionObject>(server_, link_, number - 1);
}

ErrorCodes DatabaseObject::Import(std::string_view file_name, std::string_view password) {
  if (database() == nullptr) return errBaseInvalid;
  const std::optional<std::string> name = FromClient(file_name);
  const std::optional<std::string> secret = FromClient(password);
  if (!name || !secret || name->empty() || secret->size() > kMaxPassword) {
    return errInvalidParameter;
  }
  return ImportFile(FullPath(DatabaseFolder(*database()), *name), &*secret, {});
}

ErrorCodes DatabaseObject::ImportWithSetup(std::string_view file_name,
                                           std::string_view setup_name) {
  if (database() == nullptr) return errBaseInvalid;
  const std::optional<std::string> name = FromClient(file_name);
  if (!name || name->empty()) return errInvalidParameter;
  return ImportFile(FullPath(DatabaseFolder(*database()), *name), nullptr, setup_name);
}

ErrorCodes DatabaseObject::ImportText(std::string_view text) {
  if (database() == nullptr) return errBaseInvalid;
  return ImportThroughFile(text, {});
}

ErrorCodes DatabaseObject::ImportTrans(std::string_view data, std::string_view setup_name) {
  if (database() == nullptr) return errBaseInvalid;
  if (setup_name.empty()) return errInvalidParameter;
  return ImportThroughFile(data, setup_name);
}

// An empty `setup_name` imports without naming a setup.
ErrorCodes DatabaseObject::ImportFile(const std::string& path, const std::string* password,
                                      std::string_view setup_name) {
  Database& db = *database();
  const ImportSetup* setup = nullptr;
  if (!setup_name.empty()) {
    const std::optional<std::string> name = FromClient(setup_name);
    if (!name) return errInvalidParameter;
    setup = ImportSetups::Of(db).Find(*name);
    if (setup == nullptr) return errNoImportSetup;
  }
  SilentOperation operation;
  {
    ReadingLog log(ReadingLogFile(db), operation.sink());
    std::optional<ScopedImportSetup> in_force;
    if (setup != nullptr) in_force.emplace(setup);
    ReadOptions options;
    options.import = true;
    if (password != nullptr && !password->empty()) options.password = *password;
    ReadDatabaseFile(db, path, options, nullptr, server_.host().registry());
  }
  return operation.Finish();
}

ErrorCodes DatabaseObject::ImportThroughFile(std::string_view text, std::string_view setup_name) {
  // Checked before the file is made, so that an unknown setup costs nothing.
  if (!setup_name.empty()) {
    const std::optional<std::string> name = FromClient(setup_name);
    if (!name) return errInvalidParameter;
    if (ImportSetups::Of(*database()).Find(*name) == nullptr) return errNoImportSetup;
  }
  return ImportThroughScratchFile(
      text, [&](const std::string& path) { return ImportFile(path, nullptr, setup_name); });
}

ErrorCodes DatabaseObject::Save() {
  if (database() == nullptr) return errBaseInvalid;
  // A database that never had a file has nowhere to go: SaveAs names one.
  if (database()->file_name().empty()) return errWritingFile;
  SilentOperation operation;
  const bool saved = SaveDatabase(*database(), server_.host().registry(), nullptr);
  const ErrorCodes error = operation.Finish();
  return !saved && error == errNone ? errWritingFile : error;
}

ErrorCodes DatabaseObject::SaveAs(std::string_view file_name, std::string_view options) {
  if (database() == nullptr) return errBaseInvalid;
  const std::optional<std::string> name = FromClient(file_name);
  const std::optional<std::string> lines = FromClient(options);
  if (!name || !lines || name->empty()) return errInvalidParameter;
  Database& db = *database();
  SaveSetup setup = db.Attached<SaveSetups>().in_effect();
  for (const std::string_view option : Tokens(*lines)) {
    if (!ApplySaveOption(option, setup)) return errInvalidParameter;
  }
  const std::string path = FullPath(DatabaseFolder(db), *name);
  SilentOperation operation;
  const bool saved = SaveDatabaseFile(db, path, FormatForFileName(path), setup,
                                      server_.host().registry(), nullptr, /*adopt=*/false);
  const ErrorCodes error = operation.Finish();
  return !saved && error == errNone ? errWritingFile : error;
}

std::string DatabaseObject::XmlCommand(std::string_view request) {
  return ToClient(jov::XmlCommand(database(), Cp1252FromUtf8(request)));
}

ErrorCodes DatabaseObject::MacroCall(std::string_view name) {
  if (database() == nullptr) return errBaseInvalid;
  const std::optional<std::string> text = FromClient(name);
  if (!text) return errInvalidParameter;
  if (MacroList::Of(*database()).Find(*text) == nullptr) return errNotFound;
  return RunScriptSilently(*text, /*is_macro=*/true);
}

ErrorCodes DatabaseObject::MacroCommand(std::string_view commands) {
  if (database() == nullptr) return errBaseInvalid;
  const std::optional<std::string> text = FromClient(commands);
  if (!text) return errInvalidParameter;
  return RunScriptSilently(*text, /*is_macro=*/false);
}

ErrorCodes DatabaseObject::RunScriptSilently(std::string_view text, bool is_macro) {
  Database& db = *database();
  ScriptHost& host = server_.host().script_host();
  SilentOperation operation;
  if (is_macro) {
    if (Macro* macro = MacroList::Of(db).Find(text)) MacroList::Of(db).Execute(*macro, host);
  } else {
    jov::MacroCommand(&db, text, host);
  }
  const ErrorCodes error = operation.Finish();
  ActOnScriptRequests(server_, db);
  return error;
}

void DatabaseObject::Close() {
  if (database() != nullptr) server_.host().Close(*database());
}

// --- Dimension

DimensionObject::DimensionObject(AutomationServer& server, DatabaseLink link, int index)
    : AutomationObject(server), link_(std::move(link)), index_(index) {}

std::string DimensionObject::Singular() const {
  if (database() == nullptr) return {};
  return ToClient(database()->GetName(name_id::kFirstSingular + index_));
}

std::string DimensionObject::Plural() const {
  if (database() == nullptr) return {};
  return ToClient(database()->GetName(name_id::kFirstPlural + index_));
}

ErrorCodes DimensionObject::SetSingular(std::string_view name) {
  return SetName(name, &Dimension::SetSingularName);
}

ErrorCodes DimensionObject::SetPlural(std::string_view name) {
  return SetName(name, &Dimension::SetPluralName);
}

ErrorCodes DimensionObject::SetName(std::string_view name,
                                    void (Dimension::*set)(std::string_view)) {
  if (database() == nullptr) return errBaseInvalid;
  const std::optional<std::string> text = FromClient(name);
  if (!text) return errInvalidParameter;
  (database()->dimension(index_).*set)(std::string_view(*text).substr(0, kMaxDimensionName));
  return errNone;
}

int16_t DimensionObject::DimString() const {
  if (database() == nullptr) return dcCodeText;
  return static_cast<int16_t>(database()->dimension(index_).display());
}

ErrorCodes DimensionObject::SetDimString(int16_t display) {
  if (database() == nullptr) return errBaseInvalid;
  if (display < dcCode || display > dcCodeHostText) display = dcCodeText;
  database()->dimension(index_).SetDisplay(static_cast<DisplayFields>(display));
  return errNone;
}

int32_t DimensionObject::ComponentsInUse() const {
  if (database() == nullptr) return 0;
  return static_cast<int32_t>(CountDatabaseInfo(*database(), 0).dimensions[index_].in_use);
}

int32_t DimensionObject::ActiveComponents() const {
  if (database() == nullptr) return 0;
  return static_cast<int32_t>(CountDatabaseInfo(*database(), 0).dimensions[index_].active);
}

int32_t DimensionObject::TotalComponents() const {
  if (database() == nullptr) return 0;
  return static_cast<int32_t>(CountDatabaseInfo(*database(), 0).dimensions[index_].all);
}

ErrorCodes DimensionObject::Import(std::string_view file_name) {
  if (database() == nullptr) return errBaseInvalid;
  const std::optional<std::string> name = FromClient(file_name);
  if (!name || name->empty()) return errInvalidParameter;
  return ImportPath(FullPath(DatabaseFolder(*database()), *name));
}

ErrorCodes DimensionObject::ImportText(std::string_view text) {
  if (database() == nullptr) return errBaseInvalid;
  return ImportThroughScratchFile(text,
                                  [this](const std::string& path) { return ImportPath(path); });
}

ErrorCodes DimensionObject::ImportPath(const std::string& path) {
  Database& db = *database();
  const std::optional<DimImport>& own = DimImports::Of(db).of(index_);
  const DimImport setup = own ? *own : DefaultDimImport();
  SilentOperation operation;
  const DimImportResult result = ImportDimensionFile(db, index_, path, setup);
  const ErrorCodes error = operation.Finish();
  return result.outcome != DimImportOutcome::kDone && error == errNone ? errGeneral : error;
}

ErrorCodes DimensionObject::Export(std::string_view file_name) {
  if (database() == nullptr) return errBaseInvalid;
  const std::optional<std::string> name = FromClient(file_name);
  if (!name || name->empty()) return errInvalidParameter;
  const std::string path = FullPath(DatabaseFolder(*database()), *name);
  SilentOperation operation;
  if (!WriteFileAtomically(path, DimensionSectionText(*database(), index_))) {
    ReportAboutFile(msg::kErrorWriting, path);
  }
  return operation.Finish();
}

std::string DimensionObject::ExportText() const {
  if (database() == nullptr) return {};
  return ToClient(DimensionSectionText(*database(), index_));
}

}  // namespace jov
