// The LZ codings of binary database blocks: this system's "b" coding (encoder and decoder) and
// the older "Z" coding (decoder only). A block holds at most 12,000 bytes of text, so every
// position fits in 16 bits.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jov {

// Codes one block (at most 32,767 bytes) and appends the tokens to `out`. Matches are searched
// among earlier positions with the same three-byte hash, newest first, up to a fixed number of
// candidates; a match never reaches past its own distance.
void EncodeLzBlock(std::string_view block, std::string& out);

// Decodes tokens and writes the text at out[end..], moving `end` past it; `out` is grown ahead
// as needed and its bytes past `end` are scratch (the caller cuts it to `end` when done), so
// decoding block after block fills each byte once. A token cut short at the end of the input,
// a match reaching before the start of this block's output, or text beyond what a block may
// hold (12,000 bytes in the "b" coding, 18,000 in the older one) ends the decoding there; the
// result says whether the whole input was decoded.
bool DecodeLzBlock(std::string_view tokens, std::string& out, size_t& end);
bool DecodeOlderLzBlock(std::string_view tokens, std::string& out, size_t& end);

}  // namespace jov
