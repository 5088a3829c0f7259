#include "files/lz_coder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "files/binary_format.h"

namespace jov {
namespace {

namespace bf = binary_format;

constexpr int16_t kNone = -1;
constexpr unsigned char kLiteralEscape = 24;
// Candidates examined per position, newest first. Long runs of one key (repetitive section
// text) would otherwise cost a probe per earlier occurrence; beyond this many the gain in
// compression is negligible.
constexpr int kMaxCandidates = 48;
// A block has at most 12,000 positions; 8,192 chains keep the tables that each block clears small.
constexpr int kHashBits = 13;

constexpr std::array<bool, 256> MakePlainLiterals() {
  std::array<bool, 256> plain{};
  for (int c = 0; c < 256; ++c) plain[c] = (c >= 9 && c <= 15) || (c >= 32 && c <= 191);
  return plain;
}
constexpr std::array<bool, 256> kPlainLiteral = MakePlainLiterals();

bool IsPlainLiteral(unsigned char c) { return kPlainLiteral[c]; }

void Put(std::string& out, unsigned value) { out.push_back(static_cast<char>(value & 0xFF)); }

struct Match {
  size_t length = 2;
  size_t offset = 0;
};

// Whether the first `length` bytes agree, eight at a time; candidates mostly share or miss
// their first bytes, so a call to memcmp would cost more than the comparison.
bool SamePrefix(const unsigned char* a, const unsigned char* b, size_t length) {
  size_t i = 0;
  for (; i + 8 <= length; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + i, 8);
    std::memcpy(&y, b + i, 8);
    if (x != y) return false;
  }
  for (; i < length; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// Earlier positions of the block chained by the hash of the three bytes at each position.
class MatchFinder {
 public:
  MatchFinder(const unsigned char* data, size_t size)
      : data_(data),
        head_(size_t{1} << kHashBits, kNone),
        oldest_(size_t{1} << kHashBits, kNone),
        previous_(size, kNone) {}

  // Chains position p; it needs three bytes from p on.
  void Insert(size_t p) {
    const size_t hash = Hash(p);
    if (head_[hash] == kNone) oldest_[hash] = static_cast<int16_t>(p);
    previous_[p] = head_[hash];
    head_[hash] = static_cast<int16_t>(p);
  }

  // The longest earlier match that does not reach past its own distance, the nearest of equal
  // length; `remaining` bytes are left from p.
  Match Find(size_t p, size_t remaining) const {
    Match best;
    const size_t hash = Hash(p);
    int16_t q = head_[hash];
    for (int candidates = 0; q != kNone && candidates < kMaxCandidates;
         ++candidates, q = previous_[static_cast<size_t>(q)]) {
      Try(static_cast<size_t>(q), p, remaining, best);
    }
    // The oldest position of the chain reaches the farthest back: in a long run of one byte it
    // gives the longest match, which the newest candidates cannot.
    if (oldest_[hash] != kNone) Try(static_cast<size_t>(oldest_[hash]), p, remaining, best);
    // The same bytes at exactly the match's length back code with offset 0, the shortest form.
    if (best.offset > 0 && std::equal(data_ + p - best.length, data_ + p, data_ + p)) {
      best.offset = 0;
    }
    return best;
  }

 private:
  // Makes the match at q the best when it is longer than the best so far.
  void Try(size_t q, size_t p, size_t remaining, Match& best) const {
    const size_t distance = p - q;
    const size_t limit = std::min(distance, remaining);
    if (limit <= best.length) return;
    const unsigned char* a = data_ + q;
    const unsigned char* b = data_ + p;
    if (a[best.length] != b[best.length] || !SamePrefix(a, b, best.length)) return;
    size_t length = best.length + 1;
    while (length < limit && a[length] == b[length]) ++length;
    best = {length, distance - length};
  }

  size_t Hash(size_t p) const {
    const uint32_t key = data_[p] | uint32_t{data_[p + 1]} << 8 | uint32_t{data_[p + 2]} << 16;
    return (key * 2654435761u) >> (32 - kHashBits);
  }

  const unsigned char* data_;
  std::vector<int16_t> head_;
  std::vector<int16_t> oldest_;
  std::vector<int16_t> previous_;
};

// Emits the first match form that fits; false when none does (the byte goes out as a literal).
bool EmitMatch(size_t length, size_t offset, std::string& out) {
  const size_t l = length, o = offset;
  if (l <= 10 && o < 2048) {
    Put(out, 192 + (l - 3) * 8 + (o >> 8)), Put(out, o);
  } else if (l == 3 && o < 3072) {
    Put(out, (o - 2048) >> 8), Put(out, o);
  } else if (l == 4 && o < 3328) {
    Put(out, 4 + ((o - 2048) >> 8)), Put(out, o);
  } else if (l >= 11 && l <= 18 && o < 256) {
    Put(out, l + 5), Put(out, o);
  } else if (l >= 4 && l <= 43 && o < 8192) {
    Put(out, 27 + ((l - 4) >> 3)), Put(out, ((l - 4) & 7) << 5 | (o >> 8)), Put(out, o);
  } else if (l >= 5 && l <= 260) {
    Put(out, 26), Put(out, l - 5), Put(out, o >> 8), Put(out, o);
  } else if (l >= 5) {
    Put(out, 25), Put(out, l >> 8), Put(out, l), Put(out, o >> 8), Put(out, o);
  } else {
    return false;
  }
  return true;
}

// The decoded text of one block, written straight into room made once for the most text a
// block may hold (`limit`), so that each byte is a plain store. The room is followed by
// kCopySlack scratch bytes, which lets a match be copied eight bytes at a time. A block of a
// few thousand tokens could otherwise claim gigabytes: text beyond the limit is damage.
class BlockOutput {
 public:
  static constexpr size_t kCopySlack = 8;

  BlockOutput(std::string& out, size_t& end, size_t limit) : end_(end) {
    if (out.size() < end + limit + kCopySlack) {
      out.resize(std::max(out.size() * 2, end + limit + kCopySlack));
    }
    start_ = reinterpret_cast<unsigned char*>(out.data()) + end;
    at_ = start_;
    limit_ = start_ + limit;
  }
  // The caller's end moves past the text written, also when the decoding failed half way.
  ~BlockOutput() { end_ += static_cast<size_t>(at_ - start_); }
  BlockOutput(const BlockOutput&) = delete;
  BlockOutput& operator=(const BlockOutput&) = delete;

  // False when the block is full.
  bool Literal(unsigned char c) {
    if (at_ == limit_) return false;
    *at_++ = c;
    return true;
  }
  // Copies a match (which may overlap itself); false when its source lies before the start of
  // this block's output or it would overfill the block.
  bool Copy(size_t length, size_t distance) {
    if (length == 0) return true;  // copies nothing, wherever it points
    if (distance == 0 || distance > static_cast<size_t>(at_ - start_)) return false;
    if (length > static_cast<size_t>(limit_ - at_)) return false;
    unsigned char* to = at_;
    const unsigned char* from = to - distance;
    if (distance >= 8) {
      // Each eight bytes read lie wholly before the eight written, so overlapping matches
      // repeat as they must; the last store may run into the slack.
      for (size_t i = 0; i < length; i += 8) std::memcpy(to + i, from + i, 8);
    } else {
      for (size_t i = 0; i < length; ++i) to[i] = from[i];
    }
    at_ += length;
    return true;
  }

 private:
  size_t& end_;
  unsigned char* start_;
  unsigned char* at_;
  unsigned char* limit_;
};

}  // namespace

void EncodeLzBlock(std::string_view block, std::string& out) {
  const auto* data = reinterpret_cast<const unsigned char*>(block.data());
  const size_t n = block.size();
  MatchFinder finder(data, n);
  size_t p = 0;
  while (p < n) {
    const size_t remaining = n - p;
    if (remaining > 2) {
      const Match match = finder.Find(p, remaining);
      finder.Insert(p);
      if (match.length >= 3 && EmitMatch(match.length, match.offset, out)) {
        for (size_t i = p + 1; i < p + match.length && n - i > 2; ++i) finder.Insert(i);
        p += match.length;
        continue;
      }
    }
    if (!IsPlainLiteral(data[p])) Put(out, kLiteralEscape);
    Put(out, data[p]);
    ++p;
  }
}

bool DecodeLzBlock(std::string_view tokens, std::string& out, size_t& end) {
  const auto* in = reinterpret_cast<const unsigned char*>(tokens.data());
  const size_t n = tokens.size();
  BlockOutput output(out, end, bf::kBlockTextSize);
  size_t i = 0;
  const auto need = [&](size_t bytes) { return i + bytes <= n; };
  while (i < n) {
    const unsigned t = in[i];
    size_t length = 0, offset = 0, size = 0;
    if (IsPlainLiteral(static_cast<unsigned char>(t))) {
      if (!output.Literal(static_cast<unsigned char>(t))) return false;
      ++i;
      continue;
    }
    if (t == kLiteralEscape) {
      if (!need(2) || !output.Literal(in[i + 1])) return false;
      i += 2;
      continue;
    }
    if (t >= 192) {
      size = 2, length = ((t - 192) >> 3) + 3, offset = ((t & 7) << 8);
    } else if (t <= 3) {
      size = 2, length = 3, offset = (t << 8) + 2048;
    } else if (t <= 8) {
      size = 2, length = 4, offset = ((t - 4) << 8) + 2048;
    } else if (t >= 16 && t <= 23) {
      size = 2, length = t - 5;
    } else if (t == 25) {
      size = 5;
    } else if (t == 26) {
      size = 4;
    } else {  // 27..31
      size = 3;
    }
    if (!need(size)) return false;
    const unsigned char* b = in + i + 1;
    if (t == 25) {
      length = (size_t{b[0]} << 8) + b[1], offset = (size_t{b[2]} << 8) + b[3];
    } else if (t == 26) {
      length = size_t{b[0]} + 5, offset = (size_t{b[1]} << 8) + b[2];
    } else if (t >= 27 && t <= 31) {
      length = (t - 27) * 8 + 4 + (b[0] >> 5), offset = ((size_t{b[0]} & 31) << 8) + b[1];
    } else {
      offset += b[0];
    }
    if (!output.Copy(length, offset + length)) return false;
    i += size;
  }
  return true;
}

bool DecodeOlderLzBlock(std::string_view tokens, std::string& out, size_t& end) {
  const auto* in = reinterpret_cast<const unsigned char*>(tokens.data());
  const size_t n = tokens.size();
  BlockOutput output(out, end, bf::kMaxOlderBlockText);
  size_t i = 0;
  while (i < n) {
    const unsigned t = in[i];
    if (t <= 244) {
      if (!output.Literal(static_cast<unsigned char>(t))) return false;
      ++i;
      continue;
    }
    const size_t size = t == 245 ? 5 : t == 246 ? 4 : (t == 247 || t == 248) ? 3 : 2;
    if (i + size > n) return false;
    const unsigned char* b = in + i + 1;
    size_t length = 0, distance = 0;
    if (t == 255) {
      if (!output.Literal(b[0])) return false;
      i += 2;
      continue;
    } else if (t >= 251) {
      length = 3, distance = b[0] + 3 + (254 - t) * 256;
    } else if (t >= 249) {
      length = 4, distance = b[0] + 4 + (250 - t) * 256;
    } else if (t >= 247) {
      length = (b[0] >> 5) + (t == 248 ? 4 : 12);
      distance = ((size_t{b[0]} & 31) << 8) + b[1] + length;
    } else if (t == 246) {
      length = size_t{b[0]} + 5, distance = (size_t{b[1]} << 8) + b[2] + length;
    } else {
      length = (size_t{b[0]} << 8) + b[1], distance = (size_t{b[2]} << 8) + b[3] + length;
    }
    if (!output.Copy(length, distance)) return false;
    i += size;
  }
  return true;
}

}  // namespace jov
