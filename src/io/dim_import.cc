#include "io/dim_import.h"

#include <algorithm>
#include <cmath>

#include "files/database_file.h"
#include "files/file_kind.h"
#include "io/import_fields.h"
#include "platform/file_io.h"
#include "shell/alert.h"
#include "shell/message_ids.h"
#include "shell/messages.h"
#include "shell/number_text.h"
#include "shell/pending_error.h"
#include "shell/progress.h"

namespace jov {
namespace {

using Row = DimensionEdit::Row;

FieldSpec FieldNumber(int number) {
  FieldSpec spec;
  spec.parts.emplace_back().field = number;
  return spec;
}

// A JOV-Code holds no blanks; nor control characters, which a file read without leaving them out
// may have in a code.
void RemoveBlanks(std::string& text) {
  std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

class DimImporter {
 public:
  DimImporter(DimensionEdit& edit, ImportInput& input, const DimImport& setup)
      : edit_(edit), setup_(setup), reader_(input, setup.file), fields_(setup.file) {
    levels_.fill(DimensionEdit::kNoRow);
  }

  uint64_t Run(uint64_t max_rows) {
    for (int skip = 0;
         skip < setup_.file.rows_to_skip && reader_.rows() < max_rows && reader_.NextRow();
         ++skip) {
    }
    while (!StopRequested() && reader_.rows() < max_rows && reader_.NextRow()) {
      fields_.SetRow(reader_.row());
      ReadRow();
      if (reader_.rows() % 256 == 0) ReportProgress(static_cast<int64_t>(reader_.bytes_read()));
    }
    return reader_.rows();
  }

  bool read_failed() const { return reader_.read_failed(); }

 private:
  void ReadRow();
  // The parent of a new row and its full JOV-Code for each method; kNoRow to skip the row.
  Row CodePathParent();
  Row LevelParent(int level);
  Row LinkedParent();
  // The row last placed at the level above `level`; the top for level 0.
  Row Above(int level) const {
    const Row above = level == 0 ? DimensionEdit::kTop : levels_[level - 1];
    return above == DimensionEdit::kNoRow ? DimensionEdit::kTop : above;
  }
  void AddRow(Row parent, int level);

  DimensionEdit& edit_;
  const DimImport& setup_;
  RowReader reader_;
  FieldReader fields_;
  std::array<Row, DimImport::kLevels> levels_;
  std::string code_;  // the row's code, blanks removed
  std::string full_;  // the new component's JOV-Code
  std::string text_, host_, link_;
};

void DimImporter::ReadRow() {
  fields_.CodeJoin(setup_.code, code_);
  const size_t indent = std::min(code_.find_first_not_of(' '), code_.size());
  RemoveBlanks(code_);
  if (code_.empty()) return;
  switch (setup_.method) {
    case HierarchyMethod::kCodePath:
      AddRow(CodePathParent(), -1);
      break;
    case HierarchyMethod::kIndented: {
      const int level = static_cast<int>(std::min<size_t>(indent, DimImport::kLevels - 1));
      AddRow(LevelParent(level), level);
      break;
    }
    case HierarchyMethod::kLevelNumbers: {
      fields_.PlainJoin(setup_.level_or_parent, link_);
      const double number = std::round(ParseNumber(link_));
      if (!(number >= 1 && number <= DimImport::kLevels)) return;
      const int level = static_cast<int>(number) - 1;
      AddRow(LevelParent(level), level);
      break;
    }
    case HierarchyMethod::kParentLinks:
      AddRow(LinkedParent(), -1);
      break;
  }
}

// The component whose code is the longest leading part of the code, with the parents up to
// the create-parents level made between it and the new one.
Row DimImporter::CodePathParent() {
  if (edit_.Find(ComponentField::kCode, code_) != DimensionEdit::kNoRow) {
    return DimensionEdit::kNoRow;
  }
  Row parent = DimensionEdit::kTop;
  size_t length = code_.size() - 1;
  for (; length > 0; --length) {
    const Row found = edit_.Find(ComponentField::kCode, std::string_view(code_).substr(0, length));
    if (found != DimensionEdit::kNoRow) {
      parent = found;
      break;
    }
  }
  const size_t deepest =
      std::min(static_cast<size_t>(setup_.create_parents_level), code_.size() - 1);
  for (++length; length <= deepest && parent != DimensionEdit::kNoRow; ++length) {
    parent = edit_.Add(parent, std::string_view(code_).substr(0, length), "", "");
  }
  full_ = code_;
  return parent;
}

// Indented and Level Numbers: the parent is the row last placed at the level above; a code that
// exists already becomes the row of its level and adds nothing.
Row DimImporter::LevelParent(int level) {
  const Row parent = Above(level);
  full_ = edit_.code(parent) + code_;
  const Row existing = edit_.Find(ComponentField::kCode, full_);
  if (existing == DimensionEdit::kNoRow) return parent;
  levels_[level] = existing;
  return DimensionEdit::kNoRow;
}

Row DimImporter::LinkedParent() {
  Row parent = DimensionEdit::kTop;
  if (setup_.search == ParentSearch::kCode) {
    fields_.CodeJoin(setup_.level_or_parent, link_);
    RemoveBlanks(link_);
  } else {
    fields_.PlainJoin(setup_.level_or_parent, link_);
  }
  if (!link_.empty()) {
    constexpr ComponentField kFields[] = {ComponentField::kCode, ComponentField::kText,
                                          ComponentField::kHost};
    parent = edit_.Find(kFields[static_cast<int>(setup_.search)], link_);
    if (parent == DimensionEdit::kNoRow) return DimensionEdit::kNoRow;
  }
  full_ = edit_.code(parent) + code_;
  if (edit_.Find(ComponentField::kCode, full_) != DimensionEdit::kNoRow) {
    return DimensionEdit::kNoRow;
  }
  return parent;
}

void DimImporter::AddRow(Row parent, int level) {
  if (parent == DimensionEdit::kNoRow) return;
  fields_.TextJoin(setup_.text, text_);
  fields_.PlainJoin(setup_.host, host_);
  const size_t width = static_cast<size_t>(setup_.zero_filling);
  if (!host_.empty() && host_.size() < width) host_.insert(0, width - host_.size(), '0');
  const Row row = edit_.Add(parent, full_, text_, host_);
  if (level >= 0) levels_[level] = row;
}

void ReportDuplicate(const DimensionEdit& edit, const DimensionEdit::Duplicate& duplicate) {
  AlertRecord alert = edit.DuplicateAlert(duplicate);
  alert.kind = 1;
  alert.Button(msg::kButtonClose);
  ReportAlert(alert);
}

}  // namespace

DimImport DefaultDimImport() {
  DimImport setup;
  // Rows end at LF: the CR of a CR LF end is a control character, which fields leave out.
  setup.file.row_terminator = '\n';
  setup.code = FieldNumber(1);
  setup.text = FieldNumber(2);
  setup.host = FieldNumber(3);
  setup.level_or_parent = FieldNumber(4);
  return setup;
}

uint64_t ImportDimensionRows(DimensionEdit& edit, ImportInput& input, const DimImport& setup,
                             uint64_t max_rows) {
  return DimImporter(edit, input, setup).Run(max_rows);
}

DimImportResult ReadDimensionFile(DimensionEdit& edit, const std::string& path,
                                  const DimImport& setup) {
  DimImportResult result;
  const std::optional<std::string> head = ReadFileBytes(path, kQuickTestBytes);
  if (!head) return result;
  if (LooksLikeDatabaseFile(*head)) {
    PostPendingError(msg::kDatabaseFileNotImported);
    return result;
  }
  FileImportInput input;
  if (!input.Open(path)) {
    ReportAboutFile(msg::kUnableToOpen, path);
    return result;
  }
  const int added_before = edit.added_count();
  ScopedProgress progress(ProgressMode::kImporting, FileNameOf(path), FileSize(path).value_or(0));
  DimImporter importer(edit, input, setup);
  result.rows = importer.Run(UINT64_MAX);
  result.added = edit.added_count() - added_before;
  if (importer.read_failed()) {
    ReportAboutFile(msg::kErrorReading, path);
    return result;
  }
  result.outcome = StopRequested() ? DimImportOutcome::kStopped : DimImportOutcome::kDone;
  return result;
}

DimImportResult ImportDimensionFile(Database& database, int dimension, const std::string& path,
                                    const DimImport& setup) {
  DimensionEdit edit(database, dimension);
  DimImportResult result = ReadDimensionFile(edit, path, setup);
  if (result.outcome != DimImportOutcome::kDone) {
    result.added = 0;
    return result;
  }
  if (const auto duplicate = edit.FindDuplicate()) {
    ReportDuplicate(edit, *duplicate);
    result.added = 0;
    result.outcome = DimImportOutcome::kDuplicate;
    return result;
  }
  // The copy only adds, so no removed component can be in use; what is left (memory, or the
  // dimension changed meanwhile) writes nothing and fails the import.
  if (edit.Apply() != DimensionEdit::ApplyOutcome::kWritten) {
    result.added = 0;
    result.outcome = DimImportOutcome::kFailed;
  }
  return result;
}

FixedTable PreviewDimImport(Database& database, int dimension, ImportInput& input,
                            const DimImport& setup, int max_rows) {
  DimensionEdit edit(database, dimension);
  const int first_new = edit.row_count();
  DimImporter(edit, input, setup).Run(static_cast<uint64_t>(std::max(max_rows, 0)));
  FixedTable table;
  table.set_title(MessageText(msg::kPreview));
  for (const MessageId title : {msg::kJovCode, msg::kComponentText, msg::kHostCode}) {
    table.AddColumn({.title = MessageText(title)});
  }
  table.AddColumn({.title = MessageText(msg::kParentField)});
  for (DimensionEdit::Row row = first_new; row < edit.row_count(); ++row) {
    table.AddDataRow({{.text = edit.code(row)},
                      {.text = edit.text(row)},
                      {.text = edit.host(row)},
                      {.text = edit.code(edit.parent(row))}});
  }
  return table;
}

}  // namespace jov
