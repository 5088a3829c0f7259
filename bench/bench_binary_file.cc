// Saving and opening binary database files: "b" coding with scrambling, and unscrambling with
// decoding, in MB of section text per second, with the compression ratio. The section text is
// shaped like a saved database: card, group and line lines with codes, amounts and texts.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "files/binary_file.h"

namespace {

std::string SectionText(size_t lines) {
  std::mt19937 random(11);
  const char* const words[] = {"Faktura", "Hyra", "El", "Kontorsmaterial", "Resa", "Lön"};
  std::string text = "##BaseOptions\rCN\t3\rCD\t2\r##Cards\r";
  int day = 1, card = 1;
  for (size_t i = 0; i < lines; ++i) {
    if (i % 10 == 0) {
      if (random() % 4 == 0) day = day % 28 + 1, card = 0;
      text += "C\t2403" + std::string(day < 10 ? "0" : "") + std::to_string(day) + "-" +
              std::to_string(++card) + "\t" + words[random() % 6] + " " +
              std::to_string(random() % 90000 + 10000) + "\r";
      text += "G\t" + std::to_string(1000 + random() % 3000) + "\r";
    }
    text += "L\tCC" + std::to_string(random() % 40) + "\tK" + std::to_string(random() % 3000) +
            "\t" + std::to_string(random() % 100000) + "." + std::to_string(random() % 100) + "\t" +
            std::to_string(random() % 1000) + "\t" + std::to_string(random() % 10);
    if (i % 3 == 0) text += std::string("\t") + words[random() % 6];
    text += "\r";
  }
  return text + "##End\r";
}

const std::string& Text() {
  static const std::string text = SectionText(1000000);
  return text;
}

void BM_SaveBinary(benchmark::State& state) {
  jov::BinaryWriteOptions options;
  options.compressed = state.range(0) != 0;
  size_t file_size = 0;
  for (auto _ : state) {
    const std::string file = jov::EncodeBinaryFile(Text(), options);
    file_size = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Text().size()));
  state.counters["ratio"] = static_cast<double>(file_size) / static_cast<double>(Text().size());
}
BENCHMARK(BM_SaveBinary)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->MinTime(2);

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
