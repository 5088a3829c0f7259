// Writing and reading the section stream of a text database of 1,000,000 lines (three value
// fields, four dimensions, line texts on a third of the lines). Reports bytes of section text
// per second.
#include <benchmark/benchmark.h>

#include "datagen.h"
#include "files/line_source.h"
#include "files/save_setup.h"
#include "files/section_reader.h"
#include "files/section_writer.h"

namespace {

constexpr int64_t kLines = 1'000'000;

jov::Database& Generated() {
  static std::unique_ptr<jov::Database> database = jov::bench::MakeDatabase({.lines = kLines});
  return *database;
}

// Collects the stream in a buffer that keeps its capacity from one write to the next, as a file
// in the page cache would take it.
class ReusedSink : public jov::ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    text_.append(bytes);
    return true;
  }
  void Clear() { text_.clear(); }
  size_t size() const { return text_.size(); }

 private:
  std::string text_;
};

std::string WriteText(jov::Database& database) {
  jov::StringByteSink bytes;
  jov::WriteTextDatabase(database, bytes, jov::SaveSetup(), jov::DefaultSectionRegistry());
  return bytes.text();
}

void BM_WriteText(benchmark::State& state) {
  jov::Database& database = Generated();
  const jov::SectionRegistry registry = jov::DefaultSectionRegistry();
  const jov::SaveSetup setup;
  ReusedSink bytes;
  size_t bytes_written = 0;
  for (auto _ : state) {
    bytes.Clear();
    jov::WriteTextDatabase(database, bytes, setup, registry);
    bytes_written = bytes.size();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes_written) * state.iterations());
  state.counters["MB"] = static_cast<double>(bytes_written) / 1e6;
}
BENCHMARK(BM_WriteText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadText(benchmark::State& state) {
  static const std::string text = WriteText(Generated());
  const jov::SectionRegistry registry = jov::DefaultSectionRegistry();
  for (auto _ : state) {
    jov::MemoryByteSource bytes(text);
    jov::LineSource lines(bytes);
    jov::ReadResult result;
    std::unique_ptr<jov::Database> database = jov::ReadNewDatabase(lines, registry, &result);
    if (!database || !result.errors.empty()) state.SkipWithError("the read failed");
    state.PauseTiming();
    database.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(text.size()) * state.iterations());
  state.counters["lines"] = static_cast<double>(kLines);
}
BENCHMARK(BM_ReadText)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
