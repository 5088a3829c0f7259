#include "files/lz_coder.h"

#include <algorithm>
#include <array>
#include <bit>
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

constexpr std::array<bool, 256> MakePlainLiterals() {
  std::array<bool, 256> plain{};
  for (int c = 0; c < 256; ++c) plain[c] = (c >= 9 && c <= 15) || (c >= 32 && c <= 191);
  return plain;
}
constexpr std::array<bool, 256> kPlainLiteral = MakePlainLiterals();

bool IsPlainLiteral(unsigned char c) { return kPlainLiteral[c]; }

uint64_t Load64(const unsigned char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// How many bytes from `a` and `b` agree, compared eight at a time, counting at most `limit`
// (the caller's bytes run on at least kSlack past the limit).
size_t CommonLength(const unsigned char* a, const unsigned char* b, size_t limit) {
  size_t length = 0;
  while (length < limit) {
    const uint64_t differ = Load64(a + length) ^ Load64(b + length);
    if (differ != 0) {
      length += static_cast<size_t>(std::countr_zero(differ)) / 8;
      break;
    }
    length += 8;
  }
  return std::min(length, limit);
}

}  // namespace

// The block is copied behind kSlack zero bytes of room, so that comparisons may read whole
// words past its end; what they find there is cut off by the lengths they are given.
void LzEncoder::Encode(std::string_view block, std::string& out) {
  n_ = block.size();
  data_.resize(n_ + kSlack);
  std::memcpy(data_.data(), block.data(), n_);
  std::memset(data_.data() + n_, 0, kSlack);
  if (previous_.size() < n_) previous_.resize(n_);
  head_.fill(kNone);
  oldest_.fill(kNone);
  // A token takes at most two bytes per byte of text it stands for.
  tokens_.resize(2 * n_);
  at_ = tokens_.data();

  const unsigned char* data = data_.data();
  size_t p = 0;
  while (p < n_) {
    const size_t remaining = n_ - p;
    if (remaining > 2) {
      const size_t hash = Hash(p);
      const Match match = Find(p, hash, remaining);
      Insert(p, hash);
      if (match.length >= 3 && EmitMatch(match.length, match.offset)) {
        for (size_t i = p + 1; i < p + match.length && n_ - i > 2; ++i) Insert(i, Hash(i));
        p += match.length;
        continue;
      }
    }
    if (!IsPlainLiteral(data[p])) *at_++ = kLiteralEscape;
    *at_++ = data[p];
    ++p;
  }
  out.append(reinterpret_cast<const char*>(tokens_.data()),
             static_cast<size_t>(at_ - tokens_.data()));
}

size_t LzEncoder::Hash(size_t p) const {
  const unsigned char* at = data_.data() + p;
  const uint32_t key = at[0] | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16;
  return (key * 2654435761u) >> (32 - kHashBits);
}

void LzEncoder::Insert(size_t p, size_t hash) {
  if (head_[hash] == kNone) oldest_[hash] = static_cast<int16_t>(p);
  previous_[p] = head_[hash];
  head_[hash] = static_cast<int16_t>(p);
}

// The longest earlier match that does not reach past its own distance, the nearest of equal
// length. Candidates are the newest kMaxCandidates positions chained under the hash (those of
// other bytes with the same hash among them: they never match three bytes) and the chain's
// oldest position, which reaches the farthest back: in a long run of one byte it gives the
// longest match, which the newest candidates cannot.
LzEncoder::Match LzEncoder::Find(size_t p, size_t hash, size_t remaining) const {
  const unsigned char* data = data_.data();
  const unsigned char* here = data + p;
  const uint64_t first_word = Load64(here);
  size_t best_length = 2, best_distance = 0;
  const auto try_at = [&](size_t q) {
    const size_t distance = p - q;
    const size_t limit = std::min(distance, remaining);
    if (limit <= best_length) return;
    const uint64_t differ = Load64(data + q) ^ first_word;
    size_t length;
    if (differ != 0) {
      length = std::min(static_cast<size_t>(std::countr_zero(differ)) / 8, limit);
    } else {
      length = 8 + CommonLength(data + q + 8, here + 8, limit > 8 ? limit - 8 : 0);
      length = std::min(length, limit);
    }
    if (length > best_length) best_length = length, best_distance = distance;
  };
  int16_t q = head_[hash];
  for (int candidates = 0; q != kNone && candidates < kMaxCandidates;
       ++candidates, q = previous_[static_cast<size_t>(q)]) {
    try_at(static_cast<size_t>(q));
  }
  if (oldest_[hash] != kNone) try_at(static_cast<size_t>(oldest_[hash]));
  Match best{best_length, best_distance - best_length};
  if (best_distance == 0) return Match{};
  // The same bytes at exactly the match's length back code with offset 0, the shortest form.
  if (best.offset > 0 && CommonLength(here - best.length, here, best.length) == best.length) {
    best.offset = 0;
  }
  return best;
}

// Emits the first match form that fits; false when none does (the byte goes out as a literal).
bool LzEncoder::EmitMatch(size_t length, size_t offset) {
  const size_t l = length, o = offset;
  const auto put = [this](size_t value) { *at_++ = static_cast<unsigned char>(value & 0xFF); };
  if (l <= 10 && o < 2048) {
    put(192 + (l - 3) * 8 + (o >> 8)), put(o);
  } else if (l == 3 && o < 3072) {
    put((o - 2048) >> 8), put(o);
  } else if (l == 4 && o < 3328) {
    put(4 + ((o - 2048) >> 8)), put(o);
  } else if (l >= 11 && l <= 18 && o < 256) {
    put(l + 5), put(o);
  } else if (l >= 4 && l <= 43 && o < 8192) {
    put(27 + ((l - 4) >> 3)), put(((l - 4) & 7) << 5 | (o >> 8)), put(o);
  } else if (l >= 5 && l <= 260) {
    put(26), put(l - 5), put(o >> 8), put(o);
  } else if (l >= 5) {
    put(25), put(l >> 8), put(l), put(o >> 8), put(o);
  } else {
    return false;
  }
  return true;
}

namespace {

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
  LzEncoder encoder;
  encoder.Encode(block, out);
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
