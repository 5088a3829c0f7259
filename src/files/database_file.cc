#include "files/database_file.h"

#include "model/case_tables.h"
#include "platform/file_io.h"
#include "shell/alert.h"
#include "shell/message_ids.h"

namespace jov {

void ReportAboutFile(MessageId message, const std::string& file) {
  AlertRecord alert(message);
  alert.Arg(file).Button(msg::kButtonOk);
  ReportAlert(alert);
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

DatabaseFormat FormatForFileName(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const bool text = dot != std::string::npos && path.size() - dot == 4 &&
                    EqualsIgnoringCase(std::string_view(path).substr(dot), ".jox");
  return text ? DatabaseFormat::kText : DatabaseFormat::kBinary;
}

bool ModifiedOnDisk(const Database& database) {
  const DatabaseFileState& state = database.Attached<DatabaseFileState>();
  if (!state.check_allowed || database.file_name().empty() || !state.modification_time) {
    return false;
  }
  return FileModificationTime(database.file_name()) != state.modification_time;
}

}  // namespace jov
