// Conversion between the engine's Windows-1252 texts and UTF-8 at the edges (terminal, files
// meant for other programs, automation strings). Inside the engine every text is 1252 bytes.
#pragma once

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

}  // namespace jov
