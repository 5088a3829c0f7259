#include "files/database_file.h"

#include <memory>
#include <vector>

#include "files/binary_stream.h"
#include "files/line_sink.h"
#include "files/line_source.h"
#include "files/section_reader.h"
#include "files/section_writer.h"
#include "platform/file_io.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/progress.h"

namespace jov {
namespace {

constexpr std::string_view kTemplatesFileName = "Templates.jov";

void Report(MessageId message, const std::string& file) {
  AlertRecord alert(message);
  alert.Arg(file).Button(msg::kButtonOk);
  ReportAlert(alert);
}

// Asks a question about the file; true when the user chose the button `yes`.
bool Ask(MessageId message, const std::string& file, MessageId first, MessageId second, int yes) {
  AlertRecord alert(message);
  alert.Arg(file).Button(first).Button(second);
  return ReportAlert(alert) == yes;
}

// A text file in memory, handed to the line reader in slices so that the read can report how far
// it has come.
class TextFileSource : public ByteSource {
 public:
  static constexpr size_t kSlice = 64 * 1024;
  explicit TextFileSource(std::string_view text) : text_(text) {}
  bool Next(std::string_view* chunk) override {
    if (position_ >= text_.size()) return false;
    *chunk = text_.substr(position_, kSlice);
    position_ += chunk->size();
    ReportProgress(static_cast<int64_t>(position_));
    return true;
  }

 private:
  std::string_view text_;
  size_t position_ = 0;
};

// Counts the section text a save writes for its progress report, and fails the write when the
// user stopped the save, so that the old file stays as it was.
class ProgressByteSink : public ByteSink {
 public:
  explicit ProgressByteSink(ByteSink& target) : target_(target) {}
  bool Write(std::string_view bytes) override {
    if (StopRequested()) return false;
    written_ += static_cast<int64_t>(bytes.size());
    ReportProgress(written_);
    return target_.Write(bytes);
  }

 private:
  ByteSink& target_;
  int64_t written_ = 0;
};

// The file's name without its folder, as progress titles show it.
std::string_view BaseName(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The section stream of a binary save, cut into blocks as it is written.
class BinaryBlockSink : public ByteSink {
 public:
  explicit BinaryBlockSink(BinaryFileWriter& writer) : writer_(writer) {}
  bool Write(std::string_view bytes) override {
    writer_.Append(bytes);
    return true;
  }

 private:
  BinaryFileWriter& writer_;
};

struct StreamResult {
  bool readable = false;  // false: the file's damage or password was reported
  ReadResult sections;
};

StreamResult ReadBinaryStream(Database& database, std::string_view bytes,
                              const std::optional<std::string>& password,
                              const SectionRegistry& registry, const std::string& path) {
  StreamResult result;
  BinaryFileReader reader(bytes, password);
  if (reader.status() == BinaryReadStatus::kUnknownKind) {
    Report(msg::kNotDatabase, path);
    return result;
  }
  BinaryBlockSource blocks(reader);
  LineSource lines(blocks);
  if (SkipToMagicLine(lines)) result.sections = ReadSections(database, lines, registry);
  if (StopRequested()) {
    // Stopped by the user or by a pending error: the file is not damaged for that.
  } else if (reader.status() == BinaryReadStatus::kIncorrectPassword) {
    Report(msg::kIncorrectPassword, path);
  } else if (reader.status() != BinaryReadStatus::kOk || !result.sections.saw_end) {
    // A stream that ends before "##End" was cut short.
    Report(msg::kCorrupted, path);
  } else {
    result.readable = true;
  }
  return result;
}

StreamResult ReadTextStream(Database& database, std::string_view bytes,
                            const SectionRegistry& registry) {
  StreamResult result;
  TextFileSource source(bytes);
  LineSource lines(source);
  result.sections = ReadSections(database, lines, registry);
  result.readable = true;
  return result;
}

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
  title.Arg(BaseName(path));
  password = prompt->Ask(title.ComposeText(), MessageText(msg::kPasswordLabel));
  return password.has_value();
}

// Copies the components and cards of `source` into `target`, whose settings stay; the
// components are found or added by code, and a card whose number is taken gets the next free.
void MergeInto(Database& target, const Database& source) {
  std::vector<ComponentRef> map(source.components().size(), kNoComponent);
  for (int d = 0; d < kDimensionCount; ++d) {
    const ComponentRef root = static_cast<ComponentRef>(d);
    map[root] = root;
    for (ComponentRef ref = source.NextInPreorder(root); ref != root;
         ref = source.NextInPreorder(ref)) {
      const Component& c = source.component(ref);
      const ComponentRef added = target.AddComponent(d, c.code, c.text, c.host);
      map[ref] = added == kNoComponent ? root : added;
    }
  }
  const CardStore& from = source.cards();
  CardStore& to = target.cards();
  const int values = std::min(source.value_field_count(), target.value_field_count());
  for (CardRef card = from.FirstCard(); card != kCardSentinel && !StopRequested();
       card = from.NextCard(card)) {
    const CardRef copy = to.CreateCard(from.CardId(card));
    if (copy == kNoRecord) continue;
    const Card& record = from.card(card);
    to.SetTitle(copy, from.Title(card));
    to.SetNotes(copy, from.Notes(card), record.notes_stamp);
    Card& stamps = to.mutable_card(copy);
    stamps.created = record.created, stamps.modified = record.modified;
    stamps.examined = record.examined, stamps.approved = record.approved;
    for (GroupRef g = record.first_group; g != kNoRecord; g = from.group(g).next) {
      const GroupRef group = to.FindOrAddGroup(copy, map[from.group(g).component]);
      for (LineRef l = from.group(g).first_line; l != kNoLine; l = from.lines().next(l)) {
        const LineRef line = to.CreateLine(group);
        if (line == kNoLine) break;
        for (int i = 0; i < values; ++i) to.lines().set_value(line, i, from.GetValue(l, i));
        to.SetLineText(line, from.LineText(l));
        for (int k = 1; k <= target.line_layout().slots; ++k) {
          to.lines().set_slot(line, k, map[source.LineComponent(g, l, k)]);
        }
      }
    }
    to.FinishCard(copy);
  }
  target.FlushChangeFlags();
}

void AdoptFile(Database& database, const std::string& path, DatabaseFormat format,
               bool compressed) {
  database.SetFileName(path);
  DatabaseFileState& state = database.Attached<DatabaseFileState>();
  const bool format_changed = state.format != format;
  state.format = format;
  state.compressed = compressed;
  if (format_changed) database.Notify(ChangeCode::kFileFormat);
  state.modification_time = FileModificationTime(path);
  database.ClearModified();
}

}  // namespace

DatabaseFormat FormatForFileName(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const bool text = dot != std::string::npos && path.size() - dot == 4 &&
                    EqualsIgnoringCase(std::string_view(path).substr(dot), ".jox");
  return text ? DatabaseFormat::kText : DatabaseFormat::kBinary;
}

bool ReadDatabaseFile(Database& database, const std::string& path, const ReadOptions& options,
                      PasswordPrompt* prompt, const SectionRegistry& registry) {
  const std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) {
    Report(msg::kUnableToOpen, path);
    return false;
  }
  const FileSniff sniff = SniffFileKind(*bytes);
  if (sniff.later_version &&
      !Ask(msg::kLaterVersion, path, msg::kButtonCancel, msg::kButtonContinue, 1)) {
    return false;
  }
  if (!IsReadable(sniff.kind)) {
    const MessageId refusal = RefusalMessage(sniff.kind);
    Report(refusal == kNoMessage ? msg::kNotDatabase : refusal, path);
    return false;
  }
  std::optional<std::string> password;
  if (!ReadingPassword(sniff, options, prompt, path, password)) return false;

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
    ScopedProgress progress(options.import ? ProgressMode::kImporting : ProgressMode::kOpening,
                            BaseName(path), static_cast<int64_t>(bytes->size()));
    result = binary ? ReadBinaryStream(reading, *bytes, password, registry, path)
                    : ReadTextStream(reading, *bytes, registry);
  }
  for (AlertRecord& error : result.sections.errors) ReportAlert(error);
  if (!result.readable || !result.sections.ok) return false;
  // A binary file's section must name the password it was read with (none for a file read
  // without one), or the next save would be keyed by a password the user never chose.
  if (binary && read_password.section_read &&
      read_password.password.check_value() != Password::CheckValue(password.value_or(""))) {
    Report(msg::kIncorrectPassword, path);
    return false;
  }
  if (options.import) {
    MergeInto(database, reading);
    return true;
  }
  database.Attached<DatabasePassword>().read_from_text = !binary;
  if (binary) database.set_creator_value(sniff.database_value);
  if (options.startup) options.startup(database);
  AdoptFile(database, path, binary ? DatabaseFormat::kBinary : DatabaseFormat::kText,
            sniff.compressed);
  return true;
}

Database* OpenDatabaseFile(OpenDatabases& open, const std::string& path, const ReadOptions& options,
                           PasswordPrompt* prompt, const SectionRegistry& registry) {
  if (Database* already = open.FindByFileName(path)) {
    if (!Ask(msg::kAlreadyOpen, path, msg::kButtonOpen, msg::kButtonCancel, 0)) return already;
  }
  Database& database = open.Create();
  if (!ReadDatabaseFile(database, path, options, prompt, registry)) {
    open.Close(database);
    return nullptr;
  }
  return &database;
}

bool SaveDatabaseFile(Database& database, const std::string& path, DatabaseFormat format,
                      const SaveSetup& setup, const SectionRegistry& registry,
                      PasswordPrompt* prompt, bool adopt) {
  const Password& password = database.Attached<DatabasePassword>().password;
  const bool text = format == DatabaseFormat::kText;
  if (text && password.HasPassword() &&
      (prompt == nullptr ||
       !VerifyForTextSave(database, *prompt, setup.Saves(SaveSection::kProtection)))) {
    return false;
  }
  // The setup's selection limits the cards saved; preparing it may be stopped by the user.
  const std::unique_ptr<SaveFilter> filter = registry.MakeSaveFilter(database, setup);
  if (StopRequested()) return false;
  DatabaseFileState& state = database.Attached<DatabaseFileState>();
  state.check_allowed = false;
  std::string bytes;
  bool written;
  ScopedProgress progress(ProgressMode::kSaving, BaseName(path), EstimatedSaveBytes(database));
  if (text) {
    StringByteSink text_sink;
    ProgressByteSink sink(text_sink);
    WriteOptions options;
    options.filter = filter.get();
    options.write_creator = false;  // the creator section belongs to binary files
    written = WriteTextDatabase(database, sink, setup, registry, options);
    bytes = text_sink.text();
  } else {
    BinaryWriteOptions binary;
    binary.compressed = setup.compressed;
    if (setup.Saves(SaveSection::kProtection)) binary.password = password.GetPassword();
    binary.database_value = database.creator_value();
    bytes.reserve(
        ExpectedFileSize(static_cast<size_t>(EstimatedSaveBytes(database)), binary.compressed));
    BinaryFileWriter writer(binary, bytes);
    BinaryBlockSink blocks(writer);
    ProgressByteSink sink(blocks);
    WriteOptions options;
    options.filter = filter.get();
    options.line_end = text_format::kBinaryLineEnd;
    written = WriteSections(database, sink, setup, registry, options);
    writer.Finish();
  }
  state.check_allowed = true;
  if (!written || StopRequested()) return false;
  if (!WriteFileAtomically(path, bytes)) {
    Report(msg::kErrorWriting, path);
    return false;
  }
  if (adopt) AdoptFile(database, path, format, setup.compressed);
  database.Notify(ChangeCode::kSaved);
  return true;
}

int64_t EstimatedSaveBytes(const Database& database) {
  const CardStore& cards = database.cards();
  const size_t components = database.components().size() - kFirstComponent;
  return static_cast<int64_t>(72 * cards.card_count() + 40 * cards.line_count() + 32 * components +
                              database.ComponentTextBytes() + cards.texts().TextBytes());
}

bool SaveDatabase(Database& database, const SectionRegistry& registry, PasswordPrompt* prompt) {
  if (database.file_name().empty()) return false;
  const DatabaseFormat format =
      database.Attached<DatabaseFileState>().format == DatabaseFormat::kText
          ? DatabaseFormat::kText
          : DatabaseFormat::kBinary;
  return SaveDatabaseFile(database, database.file_name(), format,
                          database.Attached<SaveSetups>().in_effect(), registry, prompt);
}

bool SaveTemplatesFile(Database& database, const SectionRegistry& registry) {
  SaveSetup setup = database.Attached<SaveSetups>().in_effect();
  for (SaveSection off :
       {SaveSection::kProtection, SaveSection::kBaseOptions, SaveSection::kSaveSetups,
        SaveSection::kImportSetups, SaveSection::kTimeScales, SaveSection::kMacros,
        SaveSection::kDimensions, SaveSection::kCards}) {
    setup.sections[static_cast<size_t>(off)] = false;
  }
  const std::string path = JoinPath(FolderOf(database.file_name()), kTemplatesFileName);
  return SaveDatabaseFile(database, path, DatabaseFormat::kBinary, setup, registry, nullptr,
                          /*adopt=*/false);
}

bool ModifiedOnDisk(Database& database) {
  const DatabaseFileState& state = database.Attached<DatabaseFileState>();
  if (!state.check_allowed || database.file_name().empty() || !state.modification_time) {
    return false;
  }
  return FileModificationTime(database.file_name()) != state.modification_time;
}

}  // namespace jov
