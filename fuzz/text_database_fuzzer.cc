// The section stream of a text database, read as it comes. What must hold: what the database
// writes reads back into a database that writes the same text. (The first writing may differ
// from the second: a read normalises, and a few forms are ambiguous in the format, such as a
// dimension's first component whose code looks like a header line.)
#include "fuzz_support.h"
#include "fuzz_target.h"

JOV_FUZZ_TARGET(text_database) {
  jov::fuzz::QuietRun run;
  const std::string first = jov::fuzz::ReadAndWrite(jov::fuzz::AsText(data, size));
  const std::string second = jov::fuzz::ReadAndWrite(first);
  if (second != first) JOV_FUZZ_CHECK(jov::fuzz::ReadAndWrite(second) == second);
}
