// A component: one node of a dimension's tree, known by its JOV-Code (which also fixes its place:
// its parent's code is the longest proper prefix of its own), an optional Host Code and Text.
// Components live in the database-wide pool and are addressed by number (ComponentRef).
#pragma once

#include <cstdint>
#include <string>

namespace jov {

using ComponentRef = uint32_t;

constexpr int kDimensionCount = 16;
// Pool records 0..15 are the roots of the 16 dimensions; a reference to a dimension's root means
// "no component in this dimension".
constexpr ComponentRef kFirstComponent = kDimensionCount;
// The absent link (no parent, no sibling, no child) and the failed allocation.
constexpr ComponentRef kNoComponent = 0xFFFFFFFF;

inline bool IsRoot(ComponentRef ref) { return ref < kFirstComponent; }

struct Component {
  ComponentRef number = kNoComponent;
  ComponentRef next_sibling = kNoComponent;
  // The first child's previous sibling is the last child, so appending is constant time.
  ComponentRef prev_sibling = kNoComponent;
  ComponentRef parent = kNoComponent;
  ComponentRef first_child = kNoComponent;
  std::string code;
  std::string text;  // empty: absent
  std::string host;  // empty: absent
};

}  // namespace jov
