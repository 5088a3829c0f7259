// The two block codings' decoders on any tokens, and this system's coder on any text. What must
// hold: no block decodes past what a block may hold, and a block of text decodes back from its
// tokens unchanged.
#include <algorithm>
#include <string>

#include "files/binary_format.h"
#include "files/lz_coder.h"
#include "fuzz_target.h"

JOV_FUZZ_TARGET(block_decoder) {
  namespace bf = jov::binary_format;
  const std::string_view bytes = jov::fuzz::AsText(data, size);
  std::string out = "previous block";
  size_t end = out.size();
  jov::DecodeLzBlock(bytes, out, end);
  JOV_FUZZ_CHECK(end - 14 <= bf::kBlockTextSize);
  end = 14;
  jov::DecodeOlderLzBlock(bytes, out, end);
  JOV_FUZZ_CHECK(end - 14 <= bf::kMaxOlderBlockText);

  const std::string_view block = bytes.substr(0, std::min(bytes.size(), bf::kBlockTextSize));
  std::string tokens;
  jov::EncodeLzBlock(block, tokens);
  std::string decoded;
  end = 0;
  JOV_FUZZ_CHECK(jov::DecodeLzBlock(tokens, decoded, end));
  JOV_FUZZ_CHECK(std::string_view(decoded).substr(0, end) == block);
}
