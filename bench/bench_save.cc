// Saving a generated database of 1,000,000 lines (three value fields, four dimensions, line texts
// on a third of the lines) to a file, the whole way a user's save goes: the sections written,
// the blocks coded ("b") and scrambled or the text as it stands, the file written and renamed
// into place. Reports MB of section text per second of wall time (the coding runs on worker
// threads; the CPU time shown is the whole process's) and the file's size over the section
// text's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "datagen.h"
#include "files/database_file.h"
#include "files/line_sink.h"
#include "files/section_writer.h"
#include "model/database.h"

namespace {

jov::Database& Generated() {
  static const std::unique_ptr<jov::Database> database =
      jov::bench::MakeDatabase({.lines = jov::bench::BenchLines(1'000'000)});
  return *database;
}

// Counts the bytes of a stream without keeping them.
class CountingSink : public jov::ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    size_ += bytes.size();
    return true;
  }
  size_t size() const { return size_; }

 private:
  size_t size_ = 0;
};

// The section text a save of the database writes: the stream that a binary file's blocks code,
// or the text file itself.
size_t SectionBytes(bool binary) {
  CountingSink sink;
  const jov::SectionRegistry registry = jov::DefaultSectionRegistry();
  if (binary) {
    jov::WriteOptions options;
    options.line_end = jov::text_format::kBinaryLineEnd;
    jov::WriteSections(Generated(), sink, jov::SaveSetup(), registry, options);
  } else {
    jov::WriteOptions options;
    options.write_creator = false;
    jov::WriteTextDatabase(Generated(), sink, jov::SaveSetup(), registry, options);
  }
  return sink.size();
}

// Argument 1: a binary file with "b" coding, 0: a text file.
void BM_SaveDatabase(benchmark::State& state) {
  const bool binary = state.range(0) != 0;
  jov::Database& database = Generated();
  const size_t section_bytes = SectionBytes(binary);
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("jov_bench_save." + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / (binary ? "data.jov" : "data.jox")).string();
  const jov::SectionRegistry registry = jov::DefaultSectionRegistry();
  for (auto _ : state) {
    if (!jov::SaveDatabaseFile(database, path, jov::FormatForFileName(path), jov::SaveSetup(),
                               registry, nullptr, /*adopt=*/false)) {
      state.SkipWithError("the save failed");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * section_bytes));
  state.counters["ratio"] =
      static_cast<double>(std::filesystem::file_size(path)) / static_cast<double>(section_bytes);
  state.counters["MB"] = static_cast<double>(section_bytes) / 1e6;
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SaveDatabase)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
