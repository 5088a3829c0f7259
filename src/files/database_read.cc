// The read pipeline: a database file into a new database or, as an import, into an open one.
#include <memory>
#include <vector>

#include "files/binary_stream.h"
#include "files/database_file.h"
#include "files/line_source.h"
#include "files/section_reader.h"
#include "model/database_merge.h"
#include "platform/file_io.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "shell/progress.h"

namespace jov {
namespace {

// Asks a question about the file with two buttons; the caption of the one the user chose.
MessageId Ask(MessageId message, const std::string& file, MessageId first, MessageId second) {
  AlertRecord alert(message);
  alert.Arg(file).Button(first).Button(second);
  const int chosen = ReportAlert(alert);
  return chosen >= 0 && chosen < alert.button_count ? alert.buttons[chosen] : kNoMessage;
}

// The bytes of a text file as they are read, with how far the read has come reported.
class ProgressByteSource : public ByteSource {
 public:
  explicit ProgressByteSource(FileByteSource& file) : file_(file) {}
  bool Next(std::string_view* chunk) override {
    if (!file_.Next(chunk)) return false;
    ReportProgress(static_cast<int64_t>(file_.position()));
    return true;
  }

 private:
  FileByteSource& file_;
};

struct StreamResult {
  bool readable = false;  // false: the file's damage or password was reported
  ReadResult sections;
};

StreamResult ReadBinaryStream(Database& database, InputFile& file,
                              const std::optional<std::string>& password, uint32_t format_date,
                              const SectionRegistry& registry, const std::string& path) {
  StreamResult result;
  FileByteSource bytes(file);
  BinaryFileReader reader(bytes, password);
  if (reader.status() == BinaryReadStatus::kUnknownKind) {
    ReportAboutFile(msg::kNotDatabase, path);
    return result;
  }
  BinaryBlockSource blocks(reader);
  LineSource lines(blocks);
  if (SkipToMagicLine(lines)) {
    result.sections = ReadSections(database, lines, registry, format_date);
  }
  blocks.Finish();
  if (StopRequested()) {
    // Stopped by the user or by a pending error: the file is not damaged for that.
  } else if (bytes.failed()) {
    ReportAboutFile(msg::kUnableToOpen, path);
  } else if (reader.status() == BinaryReadStatus::kIncorrectPassword) {
    ReportAboutFile(msg::kIncorrectPassword, path);
  } else if (reader.status() != BinaryReadStatus::kOk || !result.sections.saw_end) {
    // A stream that ends before "##End" was cut short.
    ReportAboutFile(msg::kCorrupted, path);
  } else {
    result.readable = true;
  }
  return result;
}

StreamResult ReadTextStream(Database& database, InputFile& file, uint32_t format_date,
                            const SectionRegistry& registry, const std::string& path) {
  StreamResult result;
  FileByteSource bytes(file);
  ProgressByteSource source(bytes);
  LineSource lines(source);
  result.sections = ReadSections(database, lines, registry, format_date);
  // A read error ends the lines early: what was read is not the file.
  result.readable = !bytes.failed();
  if (bytes.failed()) ReportAboutFile(msg::kUnableToOpen, path);
  return result;
}

// An SIE file is read by the registry's reader straight into the database, as a text import
// is: an import that is stopped keeps what it made, and a database opened from it keeps no file
// name, so that saving it never writes over the SIE file.
bool ReadSieFile(Database& database, std::string_view bytes, const ReadOptions& options,
                 const SectionRegistry& registry, const std::string& path) {
  ScopedProgress progress(options.import ? ProgressMode::kImporting : ProgressMode::kOpening,
                          FileNameOf(path), static_cast<int64_t>(bytes.size()));
  return registry.sie_reader()(database, bytes);
}

// The files whose read is in progress, innermost last.
struct FilesBeingRead : ProcessSlot {
  std::vector<std::string> paths;
};

// Marks the file as being read into the database for the lifetime of the object.
class ScopedReading {
 public:
  ScopedReading(Database& database, const std::string& path)
      : state_(database.Attached<DatabaseFileState>()), previous_(state_.reading_path) {
    state_.reading_path = path;
    Process().Slot<FilesBeingRead>().paths.push_back(path);
  }
  ~ScopedReading() {
    state_.reading_path = previous_;
    std::vector<std::string>& paths = Process().Slot<FilesBeingRead>().paths;
    if (!paths.empty()) paths.pop_back();
  }
  ScopedReading(const ScopedReading&) = delete;
  ScopedReading& operator=(const ScopedReading&) = delete;

 private:
  DatabaseFileState& state_;
  std::string previous_;
};

bool IsReadable(FileKind kind) {
  return kind == FileKind::kBinary || kind == FileKind::kBinaryB || kind == FileKind::kText;
}

// The password for reading: the supplied one, else the prompt's answer when the file expects
// one. False when the user cancelled.
bool ReadingPassword(const FileSniff& sniff, const ReadOptions& options, PasswordPrompt* prompt,
                     const std::string& path, std::optional<std::string>& password) {
  password = options.password;
  if (!sniff.password || password) return true;
  if (prompt == nullptr) return false;
  AlertRecord title(msg::kProtectionFor);
  title.Arg(FileNameOf(path));
  password = prompt->Ask(title.ComposeText(), MessageText(msg::kPasswordLabel));
  return password.has_value();
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::string& path, std::optional<size_t> limit) {
  ReadFailure failure;
  std::optional<std::string> bytes =
      limit ? ReadFileHead(path, *limit, &failure) : ReadWholeFile(path, &failure);
  if (failure == ReadFailure::kNotRegular) ReportAboutFile(msg::kNotRegularFile, path);
  if (failure == ReadFailure::kCannotOpen) ReportAboutFile(msg::kUnableToOpen, path);
  if (failure == ReadFailure::kOutOfMemory) PostOutOfMemory();
  return bytes;
}

namespace {

// Opens the file for a read in chunks; false, with the reason reported as ReadFileBytes reports
// it, when it cannot be read.
bool OpenForReading(InputFile& file, const std::string& path) {
  ReadFailure failure;
  if (file.Open(path, &failure)) return true;
  if (failure == ReadFailure::kNotRegular) ReportAboutFile(msg::kNotRegularFile, path);
  if (failure == ReadFailure::kCannotOpen) ReportAboutFile(msg::kUnableToOpen, path);
  return false;
}

}  // namespace

bool ReadDatabaseFile(Database& database, const std::string& path, const ReadOptions& options,
                      PasswordPrompt* prompt, const SectionRegistry& registry) {
  // The kind is told from the first bytes; the rest is read only for a kind that is read.
  std::optional<std::string> bytes = ReadFileBytes(path, kSniffBytes);
  if (!bytes) return false;
  const FileSniff sniff = SniffFileKind(*bytes);
  // A file that is no database file goes to the text import, which reads it in blocks into the
  // database itself: an import that is stopped keeps what it made. A database opened from such
  // a file keeps no file name, so that saving it never writes over the text file.
  if (registry.plain_text_reader() && sniff.kind == FileKind::kNotDatabase) {
    return registry.plain_text_reader()(database, path);
  }
  if (sniff.later_version && Ask(msg::kLaterVersion, path, msg::kButtonCancel,
                                 msg::kButtonContinue) != msg::kButtonContinue) {
    return false;
  }
  if (sniff.kind == FileKind::kSie && registry.sie_reader()) {
    bytes = ReadFileBytes(path, std::nullopt);
    return bytes && ReadSieFile(database, *bytes, options, registry, path);
  }
  if (!IsReadable(sniff.kind)) {
    const MessageId refusal = RefusalMessage(sniff.kind);
    ReportAboutFile(refusal == kNoMessage ? msg::kNotDatabase : refusal, path);
    return false;
  }
  std::optional<std::string> password;
  if (!ReadingPassword(sniff, options, prompt, path, password)) return false;
  // The file is read in chunks as it is parsed: neither it nor its decoded text is held whole.
  InputFile file;
  if (!OpenForReading(file, path)) return false;

  // An import reads into a database of its own first, so that a file that cannot be read
  // leaves the open database as it was and its settings are not replaced.
  std::unique_ptr<Database> scratch = options.import ? std::make_unique<Database>() : nullptr;
  Database& reading = options.import ? *scratch : database;
  // The password given for reading only keys the keystream; the database's password changes
  // through a "##Protection" section alone.
  DatabasePassword& read_password = reading.Attached<DatabasePassword>();
  read_password.section_read = false;
  const bool binary = sniff.kind != FileKind::kText;
  StreamResult result;
  {
    ScopedReading marked(reading, path);
    ScopedProgress progress(options.import ? ProgressMode::kImporting : ProgressMode::kOpening,
                            FileNameOf(path), static_cast<int64_t>(file.size()));
    result = binary ? ReadBinaryStream(reading, file, password, sniff.format_date, registry, path)
                    : ReadTextStream(reading, file, sniff.format_date, registry, path);
  }
  for (AlertRecord& error : result.sections.errors) ReportAlert(error);
  if (!result.readable || !result.sections.ok) return false;
  // A binary file's section must name the password it was read with (none for a file read
  // without one), or the next save would be keyed by a password the user never chose.
  if (binary && read_password.section_read &&
      read_password.password.check_value() != Password::CheckValue(password.value_or(""))) {
    ReportAboutFile(msg::kIncorrectPassword, path);
    return false;
  }
  if (options.import) {
    MergeInto(database, reading);
    return true;
  }
  database.Attached<DatabaseFileState>().read_lost_data = result.sections.lost_data;
  database.Attached<DatabasePassword>().read_from_text = !binary;
  if (binary) database.set_creator_value(sniff.database_value);
  if (options.startup) {
    // The start-up actions resolve file names against the folder of the file just read.
    DatabaseFileState& state = database.Attached<DatabaseFileState>();
    state.reading_path = path;
    options.startup(database);
    state.reading_path.clear();
  }
  AdoptFile(database, path, binary ? DatabaseFormat::kBinary : DatabaseFormat::kText,
            sniff.compressed);
  return true;
}

bool IsBeingRead(const std::string& path) {
  for (const std::string& reading : Process().Slot<FilesBeingRead>().paths) {
    if (SameFile(reading, path)) return true;
  }
  return false;
}

Database* OpenDatabaseFile(OpenDatabases& open, const std::string& path, const ReadOptions& options,
                           PasswordPrompt* prompt, const SectionRegistry& registry) {
  if (Database* already = open.FindByFileName(path)) {
    if (Ask(msg::kAlreadyOpen, path, msg::kButtonOpen, msg::kButtonCancel) != msg::kButtonOpen) {
      return already;
    }
  }
  Database& database = open.Create();
  if (!ReadDatabaseFile(database, path, options, prompt, registry)) {
    open.Close(database);
    return nullptr;
  }
  return &database;
}

}  // namespace jov
