// Conversion between the engine's Windows-1252 texts and UTF-8 at the edges (terminal, files
// meant for other programs, automation strings). Inside the engine every text is 1252 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace jov {

// Each 1252 byte becomes its Unicode character in UTF-8. The five byte values that 1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
std::string Utf8FromCp1252(std::string_view cp1252);

// Characters outside 1252 and malformed UTF-8 sequences become '?'.
std::string Cp1252FromUtf8(std::string_view utf8);
// The same conversion for texts that must not be folded (a password "??" would open a file
// protected by "??" for anyone who types two Greek letters): nothing when any character lies
// outside 1252 or a sequence is malformed.
std::optional<std::string> Cp1252FromUtf8Exactly(std::string_view utf8);

// The 1252 byte of a Unicode character; '?' when 1252 has none.
char Cp1252FromCodePoint(char32_t cp);

// True when `text` is well-formed UTF-8 (plain ASCII included).
bool IsUtf8(std::string_view text);

// Decodes a UTF-8 stream that arrives in pieces into 1252: a sequence cut at the end of one
// piece is completed by the next. Characters outside 1252 and malformed bytes become '?' and
// are counted; a byte-order mark at the start of the stream is dropped.
class Utf8StreamDecoder {
 public:
  // Appends the decoding of `in` at `out`, which has room for in.size() + 1 bytes and does not
  // overlap `in`; returns the number of bytes written.
  size_t Decode(std::string_view in, char* out);
  // Ends the stream: a sequence still incomplete becomes '?' (1 byte written), else 0.
  size_t Finish(char* out);
  // Characters read as '?' so far.
  uint64_t replaced() const { return replaced_; }

 private:
  char Emit(char32_t cp);

  char held_[4] = {};
  size_t held_count_ = 0;
  bool at_start_ = true;
  uint64_t replaced_ = 0;
};

}  // namespace jov
