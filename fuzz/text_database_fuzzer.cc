// The section stream of a text database, read as it comes. What must hold: what the database
// writes reads back into a database that writes the same text. (The first writing may differ
// from the second: a read normalises, and a few forms are ambiguous in the format, such as a
// dimension's first component whose code looks like a header line.)
#include "files/line_source.h"
#include "files/section_reader.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

namespace jov {
namespace {

std::string ReadAndWrite(std::string_view text) {
  Database database;
  MemoryByteSource bytes(text);
  LineSource lines(bytes);
  ReadSections(database, lines, fuzz::Registry());
  return fuzz::SectionText(database);
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(text_database) {
  jov::fuzz::QuietRun run;
  const std::string first = jov::ReadAndWrite(jov::fuzz::AsText(data, size));
  const std::string second = jov::ReadAndWrite(first);
  if (second != first) JOV_FUZZ_CHECK(jov::ReadAndWrite(second) == second);
}
