// The stored form of a selection: its lines as the "##Subset" sections and templates hold them
// ("VC", "VD1", "VVA" ...), read against a small database with subsets to name. What must hold:
// the lines the selection writes read back into a selection that writes the same lines. (The
// first writing may differ from the second: a criterion that does not compile is kept as typed
// and written with its tabs as blanks, which may then compile.)
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "fuzz_target.h"
#include "model/database.h"
#include "select/selection.h"
#include "select/subset_list.h"

namespace jov {
namespace {

// Dimension 1: 1 (10, 11), 2; dimension 2: A (A1), B; every value field; subsets "G1" and
// "Big".
Database& Small() {
  static Database* const database = [] {
    auto* db = new Database;
    for (const char* code : {"1", "10", "11", "2"}) db->AddComponent(0, code, "", "");
    for (const char* code : {"A", "A1", "B"}) db->AddComponent(1, code, "", "");
    db->SetValueFieldCount(Selection::kValueFields);
    db->FlushChangeFlags();
    SubsetList::Of(*db).Create("G1");
    SubsetList::Of(*db).Create("Big");
    return db;
  }();
  return *database;
}

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
  jov::Selection read(jov::Small());
  jov::ReadLines(read, jov::fuzz::AsText(data, size));
  const std::string first = jov::LinesOf(read);
  jov::Selection again(jov::Small());
  jov::ReadLines(again, first);
  const std::string second = jov::LinesOf(again);
  if (second == first) return;
  jov::Selection third(jov::Small());
  jov::ReadLines(third, second);
  JOV_FUZZ_CHECK(jov::LinesOf(third) == second);
}
