// The bytes of a binary database, decoded without a password and with one, block by block, and
// read. What must hold: no block yields more text than a block may hold, and the section text of
// what was read is coded again, with and without a password, into a file that decodes to that
// same text.
#include "files/binary_file.h"
#include "files/binary_format.h"
#include "files/binary_stream.h"
#include "files/line_source.h"
#include "files/section_reader.h"
#include "files/text_format.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

namespace jov {
namespace {

constexpr std::string_view kPassword = "Hemligt";

void CheckRoundTrip(Database& database) {
  StringByteSink sink;
  WriteOptions stream;
  stream.line_end = text_format::kBinaryLineEnd;
  WriteSections(database, sink, SaveSetup(), fuzz::Registry(), stream);
  for (const std::string_view key : {std::string_view(), kPassword}) {
    BinaryWriteOptions options;
    options.password = std::string(key);
    options.compressed = !key.empty();
    const std::optional<std::string_view> password =
        key.empty() ? std::nullopt : std::optional<std::string_view>(key);
    const BinaryReadResult again =
        DecodeBinaryFile(EncodeBinaryFile(sink.text(), options), password);
    JOV_FUZZ_CHECK(again.status == BinaryReadStatus::kOk);
    JOV_FUZZ_CHECK(again.section_text == sink.text());
  }
}

void Decode(std::string_view file, std::optional<std::string_view> password) {
  BinaryFileReader reader(file, password);
  std::string text;
  size_t end = 0;
  for (size_t before = 0; reader.NextBlock(text, end); before = end) {
    JOV_FUZZ_CHECK(end - before <= binary_format::kMaxOlderBlockText);
  }
  const BinaryReadResult result = DecodeBinaryFile(file, password);
  if (result.status != BinaryReadStatus::kOk) return;
  Database database;
  MemoryByteSource bytes(result.section_text);
  LineSource lines(bytes);
  ReadSections(database, lines, fuzz::Registry());
  CheckRoundTrip(database);
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(binary_database) {
  jov::fuzz::QuietRun run;
  const std::string_view file = jov::fuzz::AsText(data, size);
  jov::Decode(file, std::nullopt);
  jov::Decode(file, jov::kPassword);
}
