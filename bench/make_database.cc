// Writes a generated database of a given number of lines, for measuring the `jov` program on
// data of realistic size: make_database LINES OUT (.jov binary, .jox text).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "automation/section_kinds.h"
#include "datagen.h"
#include "files/database_file.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_database LINES OUT\n");
    return 2;
  }
  jov::bench::DataSpec spec;
  spec.lines = std::atoll(argv[1]);
  const std::unique_ptr<jov::Database> db = jov::bench::MakeDatabase(spec);
  const std::string out = argv[2];
  const bool saved = jov::SaveDatabaseFile(*db, out, jov::FormatForFileName(out), jov::SaveSetup(),
                                           jov::FullSectionRegistry(), nullptr);
  return saved ? 0 : 1;
}
