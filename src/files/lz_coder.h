// The LZ codings of binary database blocks: this system's "b" coding (encoder and decoder) and
// the older "Z" coding (decoder only). A block holds at most 12,000 bytes of text, so every
// position fits in 16 bits.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jov {

// Codes one block and appends the tokens to `out`. Every occupied slot of a key's probe
// sequence is examined, so the tokens are the same whatever the speed of the search.
void EncodeLzBlock(std::string_view block, std::string& out);

// Decodes tokens and appends the text to `out`. A token cut short at the end of the input, or a
// match reaching before the start of this block's output, ends the decoding there; the result
// says whether the whole input was decoded.
bool DecodeLzBlock(std::string_view tokens, std::string& out);
bool DecodeOlderLzBlock(std::string_view tokens, std::string& out);

}  // namespace jov
