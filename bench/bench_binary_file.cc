// Saving and opening binary database files: "b" coding with scrambling, and unscrambling with
// decoding, in MB of section text per second, with the compression ratio, on the section
// stream of a generated database of 1,000,000 lines.
#include <benchmark/benchmark.h>

#include <string>

#include "datagen.h"
#include "files/binary_stream.h"
#include "files/line_sink.h"
#include "files/section_registry.h"
#include "files/section_writer.h"

namespace {

// The section stream of a generated database of `lines` lines, as a binary save writes it.
std::string SectionText(int64_t lines) {
  jov::bench::DataSpec spec;
  spec.lines = lines;
  const std::unique_ptr<jov::Database> db = jov::bench::MakeDatabase(spec);
  jov::StringByteSink sink;
  jov::WriteOptions options;
  options.line_end = jov::text_format::kBinaryLineEnd;
  jov::WriteSections(*db, sink, jov::SaveSetup(), jov::DefaultSectionRegistry(), options);
  return sink.text();
}

const std::string& Text() {
  static const std::string text = SectionText(1000000);
  return text;
}

void BM_SaveBinary(benchmark::State& state) {
  jov::BinaryWriteOptions options;
  options.compressed = state.range(0) != 0;
  const std::string& text = Text();  // made once, outside the timing
  size_t file_size = 0;
  for (auto _ : state) {
    const std::string file = jov::EncodeBinaryFile(text, options);
    file_size = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
  state.counters["ratio"] = static_cast<double>(file_size) / static_cast<double>(Text().size());
}
// The blocks are coded on worker threads: wall time, and the CPU time of the whole process.
BENCHMARK(BM_SaveBinary)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// Unscrambling and decoding block by block into one reused buffer, as a reader that hands
// each block's lines on does.
void BM_DecodeBinaryBlocks(benchmark::State& state) {
  jov::BinaryWriteOptions options;
  options.compressed = state.range(0) != 0;
  const std::string file = jov::EncodeBinaryFile(Text(), options);
  std::string buffer;
  for (auto _ : state) {
    jov::BinaryFileReader reader(file, std::nullopt);
    size_t end = 0;
    while (reader.NextBlock(buffer, end)) end = 0;
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}
BENCHMARK(BM_DecodeBinaryBlocks)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2);

// Decoding a whole file into one section text.
void BM_OpenBinary(benchmark::State& state) {
  jov::BinaryWriteOptions options;
  options.compressed = state.range(0) != 0;
  const std::string file = jov::EncodeBinaryFile(Text(), options);
  for (auto _ : state) {
    const jov::BinaryReadResult read = jov::DecodeBinaryFile(file, std::nullopt);
    benchmark::DoNotOptimize(read.section_text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
}
BENCHMARK(BM_OpenBinary)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
