#include "files/lz_coder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/string_hash.h"

namespace jov {
namespace {

constexpr int16_t kEmpty = -1;
constexpr uint32_t kStepModulus = 1201;
constexpr unsigned char kLiteralEscape = 24;

bool IsPlainLiteral(unsigned char c) { return (c >= 9 && c <= 15) || (c >= 32 && c <= 191); }

void Put(std::string& out, unsigned value) { out.push_back(static_cast<char>(value & 0xFF)); }

// The open-addressing table of block positions keyed by the three bytes at each position.
class PositionTable {
 public:
  explicit PositionTable(size_t block_size)
      : size_(HashTableSize(block_size)), slots_(size_, kEmpty) {}

  struct Probe {
    uint32_t slot;
    uint32_t step;
  };
  Probe Start(const unsigned char* at) const {
    const uint32_t key = at[0] | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16;
    return {key % size_, key % kStepModulus + 1};
  }
  void Advance(Probe& probe) const {
    probe.slot += probe.step;
    if (probe.slot >= size_) probe.slot -= size_;
  }
  int16_t At(const Probe& probe) const { return slots_[probe.slot]; }
  void Insert(const unsigned char* at, int16_t position) {
    Probe probe = Start(at);
    while (At(probe) != kEmpty) Advance(probe);
    slots_[probe.slot] = position;
  }
  void Store(const Probe& probe, int16_t position) { slots_[probe.slot] = position; }

 private:
  uint32_t size_;
  std::vector<int16_t> slots_;
};

struct Match {
  size_t length = 2;
  size_t offset = 0;
};

// Examines every position in p's probe sequence and stores p in the empty slot that ends it.
Match FindMatch(PositionTable& table, const unsigned char* data, size_t p, size_t remaining) {
  Match best;
  PositionTable::Probe probe = table.Start(data + p);
  for (int16_t q; (q = table.At(probe)) != kEmpty; table.Advance(probe)) {
    const size_t distance = p - static_cast<size_t>(q);
    const size_t limit = std::min(distance, remaining);
    if (best.length > limit) continue;
    const unsigned char* a = data + q;
    const unsigned char* b = data + p;
    // Checking the last byte of the current best first rejects most candidates at once.
    if (a[best.length - 1] != b[best.length - 1] || !std::equal(a, a + best.length, b)) continue;
    size_t length = best.length;
    while (length < limit && a[length] == b[length]) ++length;
    best = {length, distance - length};
  }
  table.Store(probe, static_cast<int16_t>(p));
  return best;
}

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

// Copies a match; false when its source lies before the start of this block's output.
bool CopyMatch(std::string& out, size_t block_start, size_t length, size_t distance) {
  if (distance == 0 || distance > out.size() - block_start) return false;
  const size_t from = out.size() - distance;
  for (size_t i = 0; i < length; ++i) out.push_back(out[from + i]);
  return true;
}

}  // namespace

void EncodeLzBlock(std::string_view block, std::string& out) {
  const auto* data = reinterpret_cast<const unsigned char*>(block.data());
  const size_t n = block.size();
  PositionTable table(n);
  size_t p = 0;
  while (p < n) {
    const size_t remaining = n - p;
    if (remaining > 2) {
      const Match match = FindMatch(table, data, p, remaining);
      if (match.length >= 3 && EmitMatch(match.length, match.offset, out)) {
        for (size_t i = p + 1; i < p + match.length && n - i > 2; ++i) {
          table.Insert(data + i, static_cast<int16_t>(i));
        }
        p += match.length;
        continue;
      }
    }
    if (!IsPlainLiteral(data[p])) Put(out, kLiteralEscape);
    Put(out, data[p]);
    ++p;
  }
}

bool DecodeLzBlock(std::string_view tokens, std::string& out) {
  const auto* in = reinterpret_cast<const unsigned char*>(tokens.data());
  const size_t n = tokens.size();
  const size_t block_start = out.size();
  size_t i = 0;
  const auto need = [&](size_t bytes) { return i + bytes <= n; };
  while (i < n) {
    const unsigned t = in[i];
    size_t length = 0, offset = 0, size = 0;
    if (IsPlainLiteral(static_cast<unsigned char>(t))) {
      out.push_back(static_cast<char>(t));
      ++i;
      continue;
    }
    if (t == kLiteralEscape) {
      if (!need(2)) return false;
      out.push_back(static_cast<char>(in[i + 1]));
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
    if (!CopyMatch(out, block_start, length, offset + length)) return false;
    i += size;
  }
  return true;
}

bool DecodeOlderLzBlock(std::string_view tokens, std::string& out) {
  const auto* in = reinterpret_cast<const unsigned char*>(tokens.data());
  const size_t n = tokens.size();
  const size_t block_start = out.size();
  size_t i = 0;
  while (i < n) {
    const unsigned t = in[i];
    if (t <= 244) {
      out.push_back(static_cast<char>(t));
      ++i;
      continue;
    }
    const size_t size = t == 245 ? 5 : t == 246 ? 4 : (t == 247 || t == 248) ? 3 : 2;
    if (i + size > n) return false;
    const unsigned char* b = in + i + 1;
    size_t length = 0, distance = 0;
    if (t == 255) {
      out.push_back(static_cast<char>(b[0]));
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
    if (!CopyMatch(out, block_start, length, distance)) return false;
    i += size;
  }
  return true;
}

}  // namespace jov
