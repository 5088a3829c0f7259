// Text import of a generated ledger export of 1,000,000 semicolon-separated rows (date,
// voucher number, account, cost centre, amount with a decimal comma, text; about 60 MB) into a
// new database, from a file as `jov import` reads it. Reports rows per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "datagen.h"
#include "io/import_setup_section.h"
#include "io/text_import.h"
#include "platform/file_io.h"
#include "shell/alert.h"

namespace {

constexpr int64_t kRows = 1'000'000;

// New components are reported as command errors; the benchmark answers them unseen.
class QuietSink : public jov::AlertSink {
 public:
  int Report(jov::AlertRecord&) override { return 0; }
};

const std::string& RowsFile() {
  static const std::string path = [] {
    const std::string file =
        (std::filesystem::temp_directory_path() / "jov_bench_import_rows.txt").string();
    jov::WriteFileAtomically(file, jov::bench::VoucherRows({.lines = kRows}));
    return file;
  }();
  return path;
}

void BM_ImportFile(benchmark::State& state) {
  const std::string& path = RowsFile();
  const jov::ImportSetup setup = *jov::ReadImportSetupFile(jov::bench::kVoucherRowsSetup, "");
  QuietSink quiet;
  jov::ScopedSink scoped(&quiet);
  uint64_t rows = 0;
  for (auto _ : state) {
    auto database = std::make_unique<jov::Database>();
    const jov::ImportResult result = jov::ImportTextFile(*database, path, setup);
    rows = result.rows;
    benchmark::DoNotOptimize(result.lines);
    state.PauseTiming();  // freeing the database is not part of the import
    database.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(rows) * state.iterations());
  state.SetBytesProcessed(jov::FileSize(path).value_or(0) * state.iterations());
}
BENCHMARK(BM_ImportFile)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
