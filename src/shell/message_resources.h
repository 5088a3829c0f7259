// The raw message-table resources that the build compiles in from resources/messages/*.txt.
// Resource number = table base (a multiple of 100) + language index. Each resource holds the
// table's items in index order: 16-bit little-endian length n, n bytes of Windows-1252 text, NUL.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace jov {

struct MessageResource {
  uint32_t number;
  std::string_view bytes;
};

// Sorted by number; generated at build time.
std::span<const MessageResource> BuiltInMessageResources();

}  // namespace jov
