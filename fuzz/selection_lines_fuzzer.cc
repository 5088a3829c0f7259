// The stored form of a selection: its lines as the "##Subset" sections and templates hold them
// ("VC", "VD1", "VVA" ...), read against a small database with a subset to name. What must hold:
// the lines the selection writes read back into a selection that writes the same lines. (The
// first writing may differ from the second: a criterion that does not compile is kept as typed
// and written with its tabs as blanks, which may then compile.)
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "fuzz_target.h"
#include "model/database.h"
#include "select/selection.h"

namespace jov {
namespace {

// Reads each line of `text` (LF or CR LF ended) as a stored line.
void ReadLines(Selection& selection, std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    selection.ReadBlockLine(line);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
}

std::string LinesOf(const Selection& selection) {
  std::string text;
  for (const std::string& line : selection.BlockLines('V')) text += line + "\n";
  return text;
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(selection_lines) {
  jov::fuzz::QuietRun run;
  jov::Selection read(jov::fuzz::SelectionDatabase());
  jov::ReadLines(read, jov::fuzz::AsText(data, size));
  const std::string first = jov::LinesOf(read);
  jov::Selection again(jov::fuzz::SelectionDatabase());
  jov::ReadLines(again, first);
  const std::string second = jov::LinesOf(again);
  if (second == first) return;
  jov::Selection third(jov::fuzz::SelectionDatabase());
  jov::ReadLines(third, second);
  JOV_FUZZ_CHECK(jov::LinesOf(third) == second);
}
