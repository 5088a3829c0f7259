// The save pipeline: a database as a binary or text file, always written atomically.
#include <memory>

#include "files/binary_file.h"
#include "files/database_file.h"
#include "files/line_sink.h"
#include "files/section_writer.h"
#include "platform/file_io.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/progress.h"

namespace jov {
namespace {

constexpr std::string_view kTemplatesFileName = "Templates.jov";

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

// The file being saved, written through one large buffer: whoever produces the bytes appends
// them to buffer(), and they go to the file whenever a buffer's worth has collected, so that a
// save holds neither the whole file nor its section text.
class BufferedFile : public ByteSink {
 public:
  static constexpr size_t kBufferBytes = size_t{1} << 20;

  explicit BufferedFile(AtomicFileWriter& file) : file_(file) { buffer_.reserve(2 * kBufferBytes); }
  bool Write(std::string_view bytes) override {
    buffer_.append(bytes);
    return FlushWhenFull();
  }
  std::string& buffer() { return buffer_; }
  // False once a write to the file has failed.
  bool FlushWhenFull() { return buffer_.size() < kBufferBytes || Flush(); }
  bool Flush() {
    if (!buffer_.empty() && !file_.Write(buffer_)) failed_ = true;
    buffer_.clear();
    return !failed_;
  }
  bool failed() const { return failed_; }

 private:
  AtomicFileWriter& file_;
  std::string buffer_;
  bool failed_ = false;
};

// The section stream of a binary save, cut into blocks as it is written; the coded blocks go to
// the file's buffer.
class BinaryBlockSink : public ByteSink {
 public:
  BinaryBlockSink(BinaryFileWriter& writer, BufferedFile& file) : writer_(writer), file_(file) {}
  bool Write(std::string_view bytes) override {
    writer_.Append(bytes);
    return file_.FlushWhenFull();
  }

 private:
  BinaryFileWriter& writer_;
  BufferedFile& file_;
};

void ReportSaveFailure(const AtomicFileWriter& file, const std::string& path) {
  ReportAboutFile(file.not_a_file() ? msg::kNotAFileToSave : msg::kErrorWriting, path);
}

}  // namespace

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
  AtomicFileWriter file;
  if (!file.Open(path)) {
    ReportSaveFailure(file, path);
    return false;
  }
  BufferedFile out(file);
  DatabaseFileState& state = database.Attached<DatabaseFileState>();
  state.check_allowed = false;
  bool written;
  ScopedProgress progress(ProgressMode::kSaving, FileNameOf(path), EstimatedSaveBytes(database));
  if (text) {
    ProgressByteSink sink(out);
    WriteOptions options;
    options.filter = filter.get();
    options.write_creator = false;  // the creator section belongs to binary files
    written = WriteTextDatabase(database, sink, setup, registry, options);
  } else {
    BinaryWriteOptions binary;
    binary.compressed = setup.compressed;
    if (setup.Saves(SaveSection::kProtection)) binary.password = password.GetPassword();
    binary.database_value = database.creator_value();
    BinaryFileWriter writer(binary, out.buffer());
    BinaryBlockSink blocks(writer, out);
    ProgressByteSink sink(blocks);
    WriteOptions options;
    options.filter = filter.get();
    options.line_end = text_format::kBinaryLineEnd;
    written = WriteSections(database, sink, setup, registry, options);
    if (written) writer.Finish();
  }
  state.check_allowed = true;
  if (out.failed()) {
    ReportSaveFailure(file, path);
    return false;
  }
  // A stopped save leaves the old file as it was: the temporary file goes with `file`.
  if (!written || StopRequested()) return false;
  if (!out.Flush() || !file.Commit()) {
    ReportSaveFailure(file, path);
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

}  // namespace jov
