// Writes a generated ledger export for measuring text import: make_import_file ROWS OUT writes
// OUT (semicolon-separated voucher rows) and OUT.setup (the import setup that reads them), for
// example for `jov import NEW.jov OUT --setup-file OUT.setup`.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "datagen.h"
#include "platform/file_io.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_import_file ROWS OUT\n");
    return 2;
  }
  jov::bench::DataSpec spec;
  spec.lines = std::atoll(argv[1]);
  const std::string out = argv[2];
  const bool written = jov::WriteFileAtomically(out, jov::bench::VoucherRows(spec)) &&
                       jov::WriteFileAtomically(out + ".setup", jov::bench::kVoucherRowsSetup);
  return written ? 0 : 1;
}
