// SIE files, read as the open pipeline reads them into a new database. What must hold: the
// reader's counts are what the database holds, and what it made saves as a text database whose
// text, once a first writing has settled it (as for any text database), reads back the same.
#include "fuzz_support.h"
#include "fuzz_target.h"
#include "io/sie_import.h"

JOV_FUZZ_TARGET(sie) {
  jov::fuzz::QuietRun run;
  jov::Database database;
  const jov::SieResult result = jov::ReadSie(database, jov::fuzz::AsText(data, size));
  JOV_FUZZ_CHECK(result.done);
  JOV_FUZZ_CHECK(result.cards == database.cards().card_count());
  JOV_FUZZ_CHECK(result.lines == database.cards().line_count());
  const std::string text = jov::fuzz::SectionText(database);
  const std::string second = jov::fuzz::ReadAndWrite(text);
  if (second != text) JOV_FUZZ_CHECK(jov::fuzz::ReadAndWrite(second) == second);
}
