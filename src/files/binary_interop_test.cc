// Interoperability of binary database files with a second, independent implementation of the
// format. Everything in the anonymous namespace below implements the format afresh (keystream
// generator, both LZ codings, block layout, header), plainly and byte at a time, and shares no
// code with binary_file.cc, lz_coder.cc or block_cipher.cc, so that a misreading of the format
// on either side shows up as a file that the other side cannot read.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "files/binary_file.h"
#include "files/binary_stream.h"
#include "files/lz_coder.h"

namespace jov {
namespace {

unsigned Byte(char c) { return static_cast<unsigned char>(c); }

void PutWord(std::string& out, size_t at, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) out[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

uint32_t GetWord(std::string_view in, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | Byte(in[at + i]);
  return value;
}

// ---- Keystream ----------------------------------------------------------------------------

// Upper case of one byte: a-z, and 0xE0-0xFE except the division sign 0xF7.
unsigned FoldUpper(unsigned c) {
  if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
  return c;
}

constexpr uint32_t kHeaderMask = 0x3D91C7A4;
constexpr uint32_t kSeedU = 1193046471u;
constexpr uint32_t kSeedB = 2068915330u;

class Keystream {
 public:
  void Reset() {
    a_ = b_ = c_ = 1;
    index_ = 0;
    table_.fill(0);
  }
  // Any start is as good as another for a reader; the header carries it.
  void Start(uint32_t a, uint32_t b, uint32_t c) {
    Reset();
    a_ = a;
    b_ = b;
    c_ = c;
    for (int i = 0; i < 64; ++i) Step();
  }
  unsigned Step() {
    const uint32_t a = a_, b = b_, c = c_;
    c_ = (c << 8) | (b >> 24);
    b_ = (b << 8) | (a >> 24);
    a_ = (a << 8) | (((c >> 24) ^ (b >> 10) ^ (a >> 3)) & 0xFF);
    const unsigned out = (c & 0xFF) ^ table_[index_];
    index_ = (index_ + 1) % 64;
    return out;
  }
  void Mix(uint32_t value) {
    a_ ^= value;
    for (int i = 0; i < 16; ++i) Step();
  }
  void MixPassword(std::string_view password) {
    for (size_t i = password.size(); i-- > 0;) {
      a_ ^= FoldUpper(Byte(password[i]));
      Step();
    }
    for (int i = 0; i < 32; ++i) Step();
  }
  void FillTable() {
    std::array<unsigned char, 64> fresh;
    for (unsigned char& byte : fresh) byte = static_cast<unsigned char>(Step());
    table_ = fresh;
  }
  void Save(std::string& header) const {
    PutWord(header, 20, a_);
    PutWord(header, 24, b_ ^ kHeaderMask);
    PutWord(header, 28, c_);
  }
  void Load(std::string_view header) {
    Reset();
    a_ = GetWord(header, 20);
    b_ = GetWord(header, 24) ^ kHeaderMask;
    c_ = GetWord(header, 28);
  }
  void Scramble(std::string& bytes, size_t from, size_t count) {
    for (size_t i = from; i < from + count; ++i)
      bytes[i] = static_cast<char>(Byte(bytes[i]) ^ Step());
  }

 private:
  uint32_t a_ = 1, b_ = 1, c_ = 1;
  unsigned index_ = 0;
  std::array<unsigned char, 64> table_{};
};

uint16_t Checksum(std::string_view payload) {
  uint16_t sum = 0;
  for (char c : payload) {
    sum = static_cast<uint16_t>((sum >> 1) | ((sum & 1) << 15));
    sum = static_cast<uint16_t>(sum ^ Byte(c));
  }
  return sum;
}

// ---- "b" coding -----------------------------------------------------------------------------

// The hash table size for a block of n bytes: the prime for the number of halvings of n.
size_t PrimeSize(size_t n) {
  if (n < 1024) return 1229;
  if (n < 2048) return 2459;
  if (n < 4096) return 4919;
  if (n < 8192) return 9833;
  return 19661;  // up to 16383 bytes
}

void PutLiteralB(std::string& out, unsigned c) {
  if ((c >= 9 && c <= 15) || (c >= 32 && c <= 191)) {
    out.push_back(static_cast<char>(c));
  } else {
    out.push_back(24);
    out.push_back(static_cast<char>(c));
  }
}

void Put(std::string& out, std::initializer_list<size_t> bytes) {
  for (size_t b : bytes) out.push_back(static_cast<char>(b & 0xFF));
}

// The match forms in their order of preference; false when none fits.
bool PutMatchB(std::string& out, size_t length, size_t offset) {
  const size_t l = length, o = offset;
  if (l <= 10 && o < 2048) {
    Put(out, {192 + (l - 3) * 8 + (o >> 8), o});
  } else if (l == 3 && o < 3072) {
    Put(out, {(o - 2048) >> 8, o});
  } else if (l == 4 && o < 3328) {
    Put(out, {4 + ((o - 2048) >> 8), o});
  } else if (l >= 11 && l <= 18 && o < 256) {
    Put(out, {l + 5, o});
  } else if (l >= 4 && l <= 43 && o < 8192) {
    Put(out, {27 + ((l - 4) >> 3), ((l - 4) & 7) << 5 | (o >> 8), o});
  } else if (l >= 5 && l <= 260) {
    Put(out, {26, l - 5, o >> 8, o});
  } else if (l >= 5) {
    Put(out, {25, l >> 8, l, o >> 8, o});
  } else {
    return false;
  }
  return true;
}

// Probes every occupied slot of the key's sequence; no chain limit.
std::string EncodeB(std::string_view in) {
  const size_t n = in.size();
  const size_t size = PrimeSize(n);
  std::vector<int16_t> table(size, -1);
  const auto key_at = [&](size_t p) {
    return Byte(in[p]) | Byte(in[p + 1]) << 8 | Byte(in[p + 2]) << 16;
  };
  const auto next = [&](size_t slot, size_t step) {
    slot += step;
    return slot >= size ? slot - size : slot;
  };
  std::string out;
  size_t p = 0;
  while (p < n) {
    const size_t left = n - p;
    if (left <= 2) {
      PutLiteralB(out, Byte(in[p++]));
      continue;
    }
    const uint32_t key = key_at(p);
    const size_t step = key % 1201 + 1;
    size_t slot = key % size;
    size_t best = 2, best_offset = 0;
    while (table[slot] != -1) {
      const size_t q = static_cast<size_t>(table[slot]);
      const size_t limit = std::min(p - q, left);
      if (best <= limit && in.substr(q, best) == in.substr(p, best)) {
        size_t length = best;
        while (length < limit && in[q + length] == in[p + length]) ++length;
        best = length;
        best_offset = (p - q) - length;
      }
      slot = next(slot, step);
    }
    table[slot] = static_cast<int16_t>(p);
    if (best >= 3 && PutMatchB(out, best, best_offset)) {
      for (size_t i = p + 1; i < p + best && i + 3 <= n; ++i) {
        const uint32_t k = key_at(i);
        size_t s = k % size;
        while (table[s] != -1) s = next(s, k % 1201 + 1);
        table[s] = static_cast<int16_t>(i);
      }
      p += best;
    } else {
      PutLiteralB(out, Byte(in[p++]));
    }
  }
  return out;
}

// Appends the decoded text to `out`; false when a token is cut short or a match reaches before
// the start of this block's text.
bool DecodeB(std::string_view in, std::string& out) {
  const size_t start = out.size();
  size_t i = 0;
  while (i < in.size()) {
    const unsigned t = Byte(in[i]);
    const auto arg = [&](size_t k) { return size_t{Byte(in[i + k])}; };
    if ((t >= 9 && t <= 15) || (t >= 32 && t <= 191)) {
      out.push_back(static_cast<char>(t));
      ++i;
      continue;
    }
    size_t width = t == 25 ? 5 : t == 26 ? 4 : (t >= 27 && t <= 31) ? 3 : 2;
    if (i + width > in.size()) return false;
    size_t length = 0, distance = 0;
    if (t == 24) {
      out.push_back(in[i + 1]);
      i += 2;
      continue;
    } else if (t >= 192) {
      length = ((t - 192) >> 3) + 3;
      distance = ((t & 7) << 8) + arg(1) + length;
    } else if (t <= 3) {
      length = 3;
      distance = (size_t{t} << 8) + arg(1) + 2051;
    } else if (t <= 8) {
      length = 4;
      distance = ((t - 4) << 8) + arg(1) + 2052;
    } else if (t >= 16 && t <= 23) {
      length = t - 5;
      distance = arg(1) + length;
    } else if (t == 25) {
      length = arg(1) << 8 | arg(2);
      distance = (arg(3) << 8) + arg(4) + length;
    } else if (t == 26) {
      length = arg(1) + 5;
      distance = (arg(2) << 8) + arg(3) + length;
    } else {  // 27..31
      length = (t - 27) * 8 + 4 + (arg(1) >> 5);
      distance = ((arg(1) & 31) << 8) + arg(2) + length;
    }
    i += width;
    if (distance > out.size() - start) return false;
    for (size_t k = 0; k < length; ++k) out.push_back(out[out.size() - distance]);
  }
  return true;
}

// ---- "Z" coding -----------------------------------------------------------------------------

// A plain greedy coder: the longest match among the 256 newest earlier positions with the same
// first three bytes, in the shortest form that holds it. `used` counts the token bytes emitted.
std::string EncodeZ(std::string_view in, std::array<int, 256>* used = nullptr) {
  std::unordered_map<uint32_t, std::vector<size_t>> seen;
  std::string out;
  const auto emit = [&](std::initializer_list<size_t> bytes) {
    if (used) ++(*used)[*bytes.begin()];
    Put(out, bytes);
  };
  const size_t n = in.size();
  size_t p = 0;
  while (p < n) {
    size_t best = 0, best_offset = 0;
    if (p + 3 <= n) {
      const uint32_t key = Byte(in[p]) | Byte(in[p + 1]) << 8 | Byte(in[p + 2]) << 16;
      std::vector<size_t>& earlier = seen[key];
      for (size_t k = earlier.size(), probes = 0; k-- > 0 && probes < 256; ++probes) {
        const size_t q = earlier[k];
        const size_t limit = std::min({p - q, n - p, size_t{65535}});
        size_t length = 0;
        while (length < limit && in[q + length] == in[p + length]) ++length;
        if (length > best) {
          best = length;
          best_offset = p - q - length;
        }
      }
      earlier.push_back(p);
    }
    const size_t l = best, o = best_offset;
    bool matched = true;
    if (l == 3 && o < 1024) {
      emit({254 - (o >> 8), o});
    } else if (l == 4 && o < 512) {
      emit({250 - (o >> 8), o});
    } else if (l >= 4 && l <= 11 && o < 8192) {
      emit({248, (l - 4) << 5 | (o >> 8), o});
    } else if (l >= 12 && l <= 19 && o < 8192) {
      emit({247, (l - 12) << 5 | (o >> 8), o});
    } else if (l >= 5 && l <= 260) {
      emit({246, l - 5, o >> 8, o});
    } else if (l >= 5) {
      emit({245, l >> 8, l, o >> 8, o});
    } else {
      matched = false;
    }
    if (!matched) {
      const unsigned c = Byte(in[p]);
      if (c <= 244) {
        emit({c});
      } else {
        emit({255, c});
      }
      ++p;
      continue;
    }
    for (size_t i = p + 1; i < p + l && i + 3 <= n; ++i) {
      seen[Byte(in[i]) | Byte(in[i + 1]) << 8 | Byte(in[i + 2]) << 16].push_back(i);
    }
    p += l;
  }
  return out;
}

bool DecodeZ(std::string_view in, std::string& out) {
  const size_t start = out.size();
  size_t i = 0;
  while (i < in.size()) {
    const unsigned t = Byte(in[i]);
    if (t <= 244) {
      out.push_back(static_cast<char>(t));
      ++i;
      continue;
    }
    const size_t width = t == 245 ? 5 : t == 246 ? 4 : (t == 247 || t == 248) ? 3 : 2;
    if (i + width > in.size()) return false;
    const auto arg = [&](size_t k) { return size_t{Byte(in[i + k])}; };
    size_t length = 0, distance = 0;
    if (t == 255) {
      out.push_back(in[i + 1]);
      i += 2;
      continue;
    } else if (t >= 251) {
      length = 3;
      distance = arg(1) + 3 + 256 * (254 - t);
    } else if (t >= 249) {
      length = 4;
      distance = arg(1) + 4 + 256 * (250 - t);
    } else if (t == 248 || t == 247) {
      length = (arg(1) >> 5) + (t == 248 ? 4 : 12);
      distance = ((arg(1) & 31) << 8) + arg(2) + length;
    } else if (t == 246) {
      length = arg(1) + 5;
      distance = (arg(2) << 8) + arg(3) + length;
    } else {  // 245
      length = arg(1) << 8 | arg(2);
      distance = (arg(3) << 8) + arg(4) + length;
    }
    i += width;
    if (distance > out.size() - start) return false;
    for (size_t k = 0; k < length; ++k) out.push_back(out[out.size() - distance]);
  }
  return true;
}

// ---- Files ----------------------------------------------------------------------------------

constexpr size_t kHeader = 40;
constexpr size_t kMaxText = 12000;

struct FileShape {
  char kind = 'U';
  std::string codings = "b";  // block i is coded with codings[i % size]: 'b', 'Z' or '-'
  std::string password;       // marks the header "x" and keys the stream when not empty
  char compressed_mark = 'Z';
  uint32_t database_value = 0;
  std::vector<size_t> block_sizes = {kMaxText};  // text per block, cycled
  unsigned seed = 1;
  // Blocks of these codings and payloads, written as they are after the text's blocks.
  std::vector<std::pair<char, std::string>> raw_blocks;
};

std::string WriteFile(std::string_view sections, const FileShape& shape) {
  std::mt19937 random(shape.seed);
  std::string file(kHeader, '\0');
  file[0] = 0x05;
  file[1] = 0x13;
  file.replace(2, 3, "Uxe");
  file.replace(5, 6, "001219");
  file[11] = shape.password.empty() ? 'o' : 'x';
  file[12] = 'i';
  file[13] = shape.kind;
  file[14] = shape.compressed_mark;
  file[15] = '6';
  Keystream stream;
  stream.Start(random(), random(), random());
  stream.Save(file);
  PutWord(file, 32, shape.database_value);
  if (shape.kind == 'U') stream.Mix(kSeedU);
  if (shape.kind == 'B') stream.Mix(kSeedB);
  if (!shape.password.empty()) stream.MixPassword(shape.password);
  stream.FillTable();

  Keystream filler_source;
  filler_source.Start(random(), random(), random());
  std::string text(24 + (filler_source.Step() & 31), ' ');
  for (char& c : text) {
    unsigned value = filler_source.Step() + 32;
    if (value >= 251) value -= 185;
    c = static_cast<char>(value);
  }
  text += "\rjovmagic\r";
  text += sections;

  std::vector<std::pair<char, std::string>> blocks;
  size_t pos = 0;
  for (size_t block = 0; pos < text.size(); ++block) {
    const size_t size = std::min(
        {shape.block_sizes[block % shape.block_sizes.size()], kMaxText, text.size() - pos});
    const std::string_view plain = std::string_view(text).substr(pos, size);
    pos += size;
    char coding = shape.codings[block % shape.codings.size()];
    std::string payload = coding == 'b'   ? EncodeB(plain)
                          : coding == 'Z' ? EncodeZ(plain)
                                          : std::string(plain);
    if (payload.size() >= 14000) {
      coding = '-';
      payload = plain;
    }
    blocks.emplace_back(coding, std::move(payload));
  }
  blocks.insert(blocks.end(), shape.raw_blocks.begin(), shape.raw_blocks.end());
  for (const auto& [coding, payload] : blocks) {
    std::string bytes = "###";
    bytes.push_back(coding);
    Put(bytes, {payload.size() >> 8, payload.size()});
    const uint16_t sum = Checksum(payload);
    Put(bytes, {size_t{sum} >> 8, sum});
    bytes += payload;
    stream.Scramble(bytes, 0, 4);
    stream.Scramble(bytes, 8, payload.size());
    file += bytes;
  }
  return file;
}

struct FileRead {
  BinaryReadStatus status = BinaryReadStatus::kCorrupted;
  std::string header;
  std::string filler;
  std::string sections;            // after the "jovmagic" line
  std::string codings;             // one coding byte per block
  std::vector<size_t> text_sizes;  // decoded text per block
};

FileRead ReadFile(std::string_view file, std::optional<std::string_view> password) {
  FileRead read;
  if (file.size() < kHeader || Byte(file[0]) != 0x05 || Byte(file[1]) != 0x13 ||
      file.substr(2, 3) != "Uxe") {
    return read;
  }
  read.header = file.substr(0, kHeader);
  Keystream stream;
  stream.Load(read.header);
  const char kind = read.header[13];
  if (kind != 'U' && kind != 'B') {
    read.status = BinaryReadStatus::kUnknownKind;
    return read;
  }
  stream.Mix(kind == 'U' ? kSeedU : kSeedB);
  const bool expected = read.header[11] == 'x';
  if (password) stream.MixPassword(*password);
  if (read.header[15] == '6') stream.FillTable();

  std::string text;
  size_t pos = kHeader;
  while (pos < file.size()) {
    if (file.size() - pos < 8) return read;
    std::string head(file.substr(pos, 8));
    stream.Scramble(head, 0, 4);
    if (head.substr(0, 3) != "###") {
      if (expected || password) read.status = BinaryReadStatus::kIncorrectPassword;
      return read;
    }
    const size_t length = size_t{Byte(head[4])} << 8 | Byte(head[5]);
    const uint16_t sum = static_cast<uint16_t>(Byte(head[6]) << 8 | Byte(head[7]));
    if (length >= 14000 || file.size() - pos - 8 < length) return read;
    std::string payload(file.substr(pos + 8, length));
    stream.Scramble(payload, 0, length);
    if (Checksum(payload) != sum) return read;
    pos += 8 + length;
    const size_t before = text.size();
    read.codings.push_back(head[3]);
    if (head[3] == '-') {
      text += payload;
    } else if (head[3] == 'b') {
      DecodeB(payload, text);
    } else if (head[3] == 'Z') {
      DecodeZ(payload, text);
    }
    read.text_sizes.push_back(text.size() - before);
  }
  const size_t filler_end = text.find('\r');
  if (filler_end == std::string::npos) return read;
  read.filler = text.substr(0, filler_end);
  const size_t magic = text.find("\rjovmagic\r");
  if (magic == std::string::npos) return read;
  read.sections = text.substr(magic + 10);
  read.status = BinaryReadStatus::kOk;
  return read;
}

// ---- Test material ----------------------------------------------------------------------------

// Section text as a database writer leaves it: CR line ends, Latin-1 letters that need the
// escaped literal forms, "##End" last.
std::string Sections(size_t lines, unsigned seed) {
  std::mt19937 random(seed);
  std::string text = "##BaseOptions\rCN\t3\r##Cards\r";
  for (size_t i = 0; i < lines; ++i) {
    text += "L" + std::to_string(random() % 5000) + "\t" + std::to_string(random() % 1000) +
            ".5\tK\xE4kt " + std::to_string(random() % 13) + "\r";
    if (i % 97 == 0) text += "N\t\xF6verf\xF6ring \xFF\xC5r " + std::to_string(i) + "\r";
  }
  return text + "##End\r";
}

std::string Describe(const FileShape& shape) {
  return std::string("kind ") + shape.kind + " codings " + shape.codings + " mark " +
         shape.compressed_mark + " password \"" + shape.password + "\"";
}

// ---- Tests ------------------------------------------------------------------------------------

TEST(BinaryInteropTest, FilesFromTheIndependentWriterReadHere) {
  const std::string sections = Sections(3000, 7);
  std::vector<FileShape> shapes;
  for (char kind : {'U', 'B'}) {
    for (const char* coding : {"b", "Z", "-"}) {
      for (const char* password : {"", "L\xF6sen\xF7ord"}) {
        FileShape shape;
        shape.kind = kind;
        shape.codings = coding;
        shape.password = password;
        shape.compressed_mark = coding[0] == '-' ? '-' : 'Z';
        shape.database_value = 0x80000001u + static_cast<uint32_t>(shapes.size());
        shape.seed = static_cast<unsigned>(shapes.size()) + 11;
        shapes.push_back(shape);
      }
    }
  }
  // Codings mixed in one file, a header mark that does not match them, and blocks of any size
  // up to the limit, cut anywhere in a line.
  FileShape mixed;
  mixed.codings = "bZ-Zb";
  mixed.compressed_mark = '-';
  mixed.block_sizes = {12000, 1, 5003, 11999, 2, 700};
  shapes.push_back(mixed);
  mixed.kind = 'B';
  mixed.password = "x";
  mixed.seed = 99;
  shapes.push_back(mixed);

  for (const FileShape& shape : shapes) {
    const std::string file = WriteFile(sections, shape);
    const std::optional<std::string_view> password =
        shape.password.empty() ? std::nullopt : std::optional<std::string_view>(shape.password);
    const BinaryReadResult read = DecodeBinaryFile(file, password);
    ASSERT_EQ(read.status, BinaryReadStatus::kOk) << Describe(shape);
    EXPECT_EQ(read.section_text, sections) << Describe(shape);
    EXPECT_EQ(read.header.kind, shape.kind);
    EXPECT_EQ(read.header.password_expected, !shape.password.empty());
    EXPECT_EQ(read.header.compressed, shape.compressed_mark == 'Z');
    EXPECT_EQ(read.header.database_value, shape.database_value);
    // The independent reader agrees, so a failure above lies on our side.
    EXPECT_EQ(ReadFile(file, password).sections, sections) << Describe(shape);
  }
}

TEST(BinaryInteropTest, OurFilesReadWithTheIndependentReader) {
  const std::string sections = Sections(3000, 8);
  for (bool compressed : {true, false}) {
    for (const char* password : {"", "Hemlig\xE9\xF7"}) {
      BinaryWriteOptions options;
      options.compressed = compressed;
      options.password = password;
      options.database_value = 0xFEDCBA98u;
      const std::string file = EncodeBinaryFile(sections, options);
      // Letters in the other case key the same stream; the division sign has no partner.
      const std::string other_case = *password ? "hEMLIG\xC9\xF7" : "";
      const FileRead read =
          ReadFile(file, *password ? std::optional<std::string_view>(other_case) : std::nullopt);
      ASSERT_EQ(read.status, BinaryReadStatus::kOk) << compressed << password;
      EXPECT_EQ(read.sections, sections);

      const std::string& header = read.header;
      EXPECT_EQ(header.substr(5, 6), "001219");
      EXPECT_EQ(header[11], *password ? 'x' : 'o');
      EXPECT_EQ(header[12], 'i');
      EXPECT_EQ(header[13], 'U');
      EXPECT_EQ(header[14], compressed ? 'Z' : '-');
      EXPECT_EQ(header[15], '6');
      EXPECT_EQ(GetWord(header, 16), 0u);
      EXPECT_EQ(GetWord(header, 32), 0xFEDCBA98u);
      EXPECT_EQ(GetWord(header, 36), 0u);

      EXPECT_GE(read.filler.size(), 24u);
      EXPECT_LE(read.filler.size(), 55u);
      for (char c : read.filler) EXPECT_TRUE(Byte(c) >= 32 && Byte(c) <= 250) << Byte(c);

      // Full blocks of text but the last, all with the coding the header announces.
      ASSERT_GE(read.text_sizes.size(), 2u);
      for (size_t i = 0; i + 1 < read.text_sizes.size(); ++i) {
        EXPECT_EQ(read.text_sizes[i], kMaxText) << i;
      }
      EXPECT_EQ(read.codings, std::string(read.codings.size(), compressed ? 'b' : '-'));
    }
  }
}

TEST(BinaryInteropTest, BlockCodingAgreesWithTheExhaustiveEncoder) {
  const std::string a300(300, 'a');
  // Three literals, then matches of 3, 6, 12, 24, 48, 96 and 108 bytes, each at offset 0.
  std::string expected_a;
  for (int b :
       {97, 97, 97, 192, 0, 216, 0, 17, 0, 29, 128, 0, 26, 43, 0, 0, 26, 91, 0, 0, 26, 103, 0, 0}) {
    expected_a.push_back(static_cast<char>(b));
  }
  EXPECT_EQ(EncodeB(a300), expected_a);
  std::string ours_a;
  EncodeLzBlock(a300, ours_a);
  EXPECT_EQ(ours_a, expected_a);
  // Escaped and plain literals.
  EXPECT_EQ(EncodeB("\xC8\t\r\x01\x18"), "\x18\xC8\t\r\x18\x01\x18\x18");

  // Realistic blocks, each decoded by both decoders from both encoders.
  const std::string text = Sections(6000, 9);
  std::vector<std::string_view> blocks;
  for (size_t pos = 0; pos < text.size(); pos += kMaxText) {
    blocks.push_back(std::string_view(text).substr(pos, kMaxText));
  }
  size_t ours_total = 0, exhaustive_total = 0;
  // A block that repeats a long stretch needs the widest match form.
  std::string repeated = text.substr(0, 9000);
  repeated += repeated.substr(1000, 2000);
  for (const std::string_view block : {std::string_view(a300), std::string_view(repeated)}) {
    std::string ours;
    EncodeLzBlock(block, ours);
    for (const std::string& tokens : {ours, EncodeB(block)}) {
      std::string independent;
      EXPECT_TRUE(DecodeB(tokens, independent));
      EXPECT_EQ(independent, block);
      std::string decoded;
      size_t end = 0;
      EXPECT_TRUE(DecodeLzBlock(tokens, decoded, end));
      EXPECT_EQ(decoded.substr(0, end), block);
    }
  }
  for (const std::string_view block : blocks) {
    std::string ours;
    EncodeLzBlock(block, ours);
    const std::string exhaustive = EncodeB(block);
    ours_total += ours.size();
    exhaustive_total += exhaustive.size();
    const std::string* const both[] = {&ours, &exhaustive};
    for (const std::string* tokens : both) {
      std::string independent;
      EXPECT_TRUE(DecodeB(*tokens, independent));
      EXPECT_EQ(independent, block);
      std::string decoded = "prefix";
      size_t end = decoded.size();
      EXPECT_TRUE(DecodeLzBlock(*tokens, decoded, end));
      EXPECT_EQ(std::string_view(decoded).substr(6, end - 6), block);
    }
  }
  EXPECT_LE(ours_total * 100, exhaustive_total * 101)
      << "ours " << ours_total << ", exhaustive " << exhaustive_total;

  // Every form of the older coding decodes here as it does independently; the text repeats
  // long stretches so that the widest forms occur too.
  std::array<int, 256> used{};
  const std::string z = EncodeZ(repeated, &used);
  for (int t = 245; t <= 255; ++t) EXPECT_GT(used[t], 0) << "token " << t;
  std::string independent;
  EXPECT_TRUE(DecodeZ(z, independent));
  EXPECT_EQ(independent, repeated);
  std::string decoded;
  size_t end = 0;
  EXPECT_TRUE(DecodeOlderLzBlock(z, decoded, end));
  EXPECT_EQ(decoded.substr(0, end), repeated);
}

TEST(BinaryInteropTest, WrongPasswordsAndDamageOnIndependentFiles) {
  const std::string sections = Sections(800, 10);
  for (char kind : {'U', 'B'}) {
    FileShape locked;
    locked.kind = kind;
    locked.password = "Hemligt\xE5\xF7";
    const std::string file = WriteFile(sections, locked);
    EXPECT_EQ(DecodeBinaryFile(file, "HEMLIGT\xC5\xF7").status, BinaryReadStatus::kOk);
    for (std::string_view wrong : {"Hemligt\xE5", "Hemligt\xE5\xD7", "hemligt\xE5\xF7\xF7", ""}) {
      EXPECT_EQ(DecodeBinaryFile(file, wrong).status, BinaryReadStatus::kIncorrectPassword)
          << kind << wrong;
    }
    EXPECT_EQ(DecodeBinaryFile(file, std::nullopt).status, BinaryReadStatus::kIncorrectPassword);

    FileShape open;
    open.kind = kind;
    const std::string plain = WriteFile(sections, open);
    EXPECT_EQ(DecodeBinaryFile(plain, "Hemligt").status, BinaryReadStatus::kIncorrectPassword);
  }

  // Damage after the first block is corruption, not a wrong password.
  FileShape shape;
  shape.password = "pw";
  shape.block_sizes = {3000};
  const std::string file = WriteFile(sections, shape);
  const size_t second = kHeader + 8 + (Byte(file[kHeader + 4]) << 8 | Byte(file[kHeader + 5]));
  std::string bad_sum = file;
  bad_sum[second + 8] = static_cast<char>(bad_sum[second + 8] ^ 1);
  EXPECT_EQ(DecodeBinaryFile(bad_sum, "PW").status, BinaryReadStatus::kCorrupted);
  std::string long_block = file;
  long_block[second + 4] = static_cast<char>(14000 >> 8);
  long_block[second + 5] = static_cast<char>(14000 & 0xFF);
  EXPECT_EQ(DecodeBinaryFile(long_block, "PW").status, BinaryReadStatus::kCorrupted);
  // A bad mark past the first block is damage too: the password has already proved right.
  std::string bad_mark = file;
  bad_mark[second] = static_cast<char>(bad_mark[second] ^ 1);
  EXPECT_EQ(DecodeBinaryFile(bad_mark, "PW").status, BinaryReadStatus::kCorrupted);
  // A block that decodes to more text than a block holds is damage, whatever its coding:
  // 12,000 bytes stored or in the "b" coding, 18,000 in the older one.
  // Tokens for `total` bytes of text: "a" doubled by matches, then a last line "##End".
  const auto doubling = [](unsigned char token, size_t total) {
    constexpr std::string_view kEnd = "\r##End\r";
    std::string tokens(8, 'a');
    for (size_t out = 8; out < total - kEnd.size();) {
      const size_t length = std::min<size_t>({out, total - kEnd.size() - out, 65535});
      Put(tokens, {token, length >> 8, length, 0, 0});  // offset 0: the last `length` bytes
      out += length;
    }
    return tokens.append(kEnd);
  };
  // The blocks stand before the stream's end, which they carry, so that the reader reaches them.
  const std::string open_stream = sections.substr(0, sections.rfind("##End"));
  for (const auto& [coding, payload] :
       {std::pair{'b', doubling(25, 12001)}, std::pair{'b', doubling(25, size_t{100} << 20)},
        std::pair{'Z', doubling(245, 18001)}, std::pair{'-', std::string(12001, '\r')}}) {
    FileShape bomb = shape;
    bomb.raw_blocks = {{coding, payload}};
    EXPECT_EQ(DecodeBinaryFile(WriteFile(open_stream, bomb), "pw").status,
              BinaryReadStatus::kCorrupted)
        << coding << payload.size();
  }
  FileShape full = shape;
  full.raw_blocks = {{'b', doubling(25, 12000)}, {'Z', doubling(245, 18000)}};
  EXPECT_EQ(DecodeBinaryFile(WriteFile(open_stream, full), "pw").status, BinaryReadStatus::kOk);
  // A coding we do not know is refused rather than read as a block without text.
  FileShape unknown_coding = shape;
  unknown_coding.codings = "bq";
  EXPECT_EQ(DecodeBinaryFile(WriteFile(sections, unknown_coding), "pw").status,
            BinaryReadStatus::kCorrupted);
  std::string other_kind = file;
  other_kind[13] = 'N';
  EXPECT_EQ(DecodeBinaryFile(other_kind, "PW").status, BinaryReadStatus::kUnknownKind);
}

}  // namespace
}  // namespace jov
