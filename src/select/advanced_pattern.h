// The advanced form of text patterns ("\" followed by a whole-text pattern): groups "{ }",
// alternatives ";", repeats "+" and ":", "*" and "?", case-sensitive "^", ranges "c_d" and
// quoted literals. Compiled into a nondeterministic automaton that is simulated one text
// character at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace jov {

class AdvancedPattern {
 public:
  // Reads the pattern that starts at text[*pos] (just after its "\") up to the first character
  // that may not stand there, appends its corrected text to *out ("(" and ")" as "{" and "}",
  // missing "}" and closing quotes added) and advances *pos to that character. Runs of dots
  // are the caller's to turn into "_" first. Always gives a pattern; one with no item matches the
  // empty text alone.
  static AdvancedPattern Read(std::string_view text, size_t* pos, std::string* out);

  // True when the whole text matches. Uses scratch space kept with the pattern, so one pattern
  // must not be matched from two threads at once; no allocation.
  bool Matches(const char* chars, size_t length) const;

 private:
  friend class AdvancedPatternCompiler;

  enum class StateKind : uint8_t {
    kMatch,
    kExact,
    kFolded,
    kRangeExact,
    kRangeFolded,
    kAny,
    kSplit
  };
  struct State {
    StateKind kind;
    unsigned char low;   // the character, or the range's first
    unsigned char high;  // the range's last
    uint32_t out;        // the next state
    uint32_t out2;       // kSplit: the other next state
  };

  // A list of live states in scratch space that holds every state once.
  struct StateList {
    uint32_t* states;
    size_t count;
  };

  bool Accepts(const State& state, unsigned char c, unsigned char folded) const;
  // Adds `state` and every state reachable from it through splits to `list`, each at most once
  // per generation.
  void AddClosure(StateList& list, uint32_t state) const;
  void NextGeneration() const;
  void SizeScratch();

  std::vector<State> states_;
  uint32_t start_ = 0;

  // Scratch space sized with the automaton: the live states before and after the current
  // character, the closure's work stack and the generation marks. A state enters a list at most
  // once per character, so neither list outgrows the state count.
  mutable std::vector<uint32_t> scratch_;
  mutable std::vector<uint32_t> marks_;
  mutable uint32_t generation_ = 0;
};

}  // namespace jov
