// A selection read from what a file or the clipboard holds: its XML form (an input that starts
// with "<") or the lines of its stored form, against a small database with subsets to name.
// What must hold: what the selection writes in either form reads back into a selection that
// writes the same. (The first writing may differ from the second: a criterion that does not
// compile is kept as typed and written with its tabs as blanks, which may then compile.)
#include <string>
#include <string_view>

#include "files/line_sink.h"
#include "files/xml_reader.h"
#include "fuzz_support.h"
#include "fuzz_target.h"
#include "model/database.h"
#include "select/selection.h"
#include "select/subset_list.h"

namespace jov {
namespace {

// Accounts 1 (10, 11), 2; cost centres A (A1), B; every value field, so that the XML form,
// which sets only the fields a database uses, keeps every condition; subsets "G1" and "Big".
void Fill(Database& database) {
  for (const char* code : {"1", "10", "11", "2"}) database.AddComponent(0, code, "", "");
  for (const char* code : {"A", "A1", "B"}) database.AddComponent(1, code, "", "");
  database.SetValueFieldCount(Selection::kValueFields);
  database.FlushChangeFlags();
  SubsetList::Of(database).Create("G1");
  SubsetList::Of(database).Create("Big");
}

std::string XmlOf(const Selection& selection) {
  StringByteSink bytes;
  LineSink sink(bytes, "\n");
  selection.WriteXml(sink);
  sink.Finish();
  return bytes.text();
}

// Reads the first "<selection>" element of `xml`.
void ReadXmlForm(Selection& selection, std::string_view xml) {
  XmlReader reader(xml);
  for (XmlReader::Event event = reader.Next();
       event != XmlReader::Event::kDone && event != XmlReader::Event::kError;
       event = reader.Next()) {
    if (event == XmlReader::Event::kStart && reader.name() == "selection") {
      selection.ReadXml(reader);
      return;
    }
  }
}

// Reads each line of `text` (LF or CR LF ended) as a stored line.
void ReadStoredForm(Selection& selection, std::string_view text) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    selection.ReadBlockLine(line);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
}

// The stored form as one text, a line each.
std::string StoredOf(const Selection& selection) {
  std::string text;
  for (const std::string& line : selection.BlockLines('V')) text += line + "\n";
  return text;
}

// `written`, a form of a selection, read by `read` into a fresh selection, gives back what
// `write` writes, or settles on that at the next round.
void CheckReadsBack(Database& database, const std::string& written,
                    void (*read)(Selection&, std::string_view),
                    std::string (*write)(const Selection&)) {
  Selection again(database);
  read(again, written);
  const std::string second = write(again);
  if (second == written) return;
  Selection third(database);
  read(third, second);
  JOV_FUZZ_CHECK(write(third) == second);
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(selection) {
  jov::fuzz::QuietRun run;
  jov::Database database;
  jov::Fill(database);
  const std::string_view text = jov::fuzz::AsText(data, size);
  jov::Selection read(database);
  if (text.starts_with('<')) {
    jov::ReadXmlForm(read, text);
  } else {
    jov::ReadStoredForm(read, text);
  }

  jov::CheckReadsBack(database, jov::StoredOf(read), jov::ReadStoredForm, jov::StoredOf);
  jov::CheckReadsBack(database, jov::XmlOf(read), jov::ReadXmlForm, jov::XmlOf);
}
