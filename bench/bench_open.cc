// Opening a generated database of 1,000,000 lines (three value fields, four dimensions, line
// texts on a third of the lines) from its binary file and from its text file, the whole way a
// user's open goes: the file read, the blocks decoded, the sections parsed into a new database.
// Reports bytes of file per second; the files are written once to a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "datagen.h"
#include "files/database_file.h"
#include "model/database.h"

namespace {

// The two files of the generated database, removed when the program ends.
class GeneratedFiles {
 public:
  GeneratedFiles() {
    dir_ = std::filesystem::temp_directory_path() / ("jov_bench_open." + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    const std::unique_ptr<jov::Database> db = jov::bench::MakeDatabase({.lines = 1'000'000});
    for (const bool binary : {true, false}) {
      const std::string path = Path(binary);
      if (!jov::SaveDatabaseFile(*db, path, jov::FormatForFileName(path), jov::SaveSetup(),
                                 jov::DefaultSectionRegistry(), nullptr, /*adopt=*/false)) {
        std::abort();
      }
    }
  }
  ~GeneratedFiles() { std::filesystem::remove_all(dir_); }
  std::string Path(bool binary) const {
    return (dir_ / (binary ? "data.jov" : "data.jox")).string();
  }

 private:
  std::filesystem::path dir_;
};

const GeneratedFiles& Files() {
  static const GeneratedFiles files;
  return files;
}

// Argument 1: the binary file, 0: the text file.
void BM_OpenDatabase(benchmark::State& state) {
  const std::string path = Files().Path(state.range(0) != 0);
  const jov::SectionRegistry registry = jov::DefaultSectionRegistry();
  size_t lines = 0;
  for (auto _ : state) {
    jov::Database db;
    if (!jov::ReadDatabaseFile(db, path, {}, nullptr, registry)) {
      state.SkipWithError("the generated file did not open");
      return;
    }
    lines = db.cards().line_count();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_OpenDatabase)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
