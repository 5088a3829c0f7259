#include "files/section_input.h"

#include "files/multiline_text.h"
#include "shell/pending_error.h"

namespace jov {

bool SectionInput::Advance() {
  if (at_end_) return false;
  ++line_number_;
  if (!lines_.Next(&line_)) {
    line_ = {};
    at_end_ = true;
  }
  return !at_end_;
}

bool SectionInput::NextBodyLine(std::string_view end_prefix) {
  if (StopRequested() || !Advance()) return false;
  // Most bodies end at "##": two bytes compared in place rather than through a library call,
  // since this runs for every line of the file.
  if (end_prefix.size() == 2) {
    return line_.size() < 2 || line_[0] != end_prefix[0] || line_[1] != end_prefix[1];
  }
  return !line_.starts_with(end_prefix);
}

std::string_view SectionInput::JoinContinued() {
  std::string_view piece = line_;
  if (!TakeContinuation(&piece)) return line_;
  joined_.assign(piece);
  while (Advance()) {
    piece = line_;
    const bool more = TakeContinuation(&piece);
    joined_.append(piece);
    if (!more) break;
  }
  line_ = joined_;
  return line_;
}

void SectionInput::SetTranslation(const CharacterTable& table) {
  lines_.SetTranslation(table);
  // The line that ended the character section was read before the table existed.
  std::string translated;
  Translate(line_, table, &translated);
  joined_ = std::move(translated);
  line_ = joined_;
}

}  // namespace jov
