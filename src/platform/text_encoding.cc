#include "platform/text_encoding.h"

#include <array>
#include <cstdint>
#include <optional>

namespace jov {
namespace {

// Unicode code points of the bytes 0x80..0x9F; the rest of 1252 equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t CodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// The 1252 byte of a code point; nothing for one that 1252 lacks.
std::optional<char> ByteForCodePoint(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return std::nullopt;
}

// The smallest code point of a sequence of each length: a longer form of a smaller one is not
// UTF-8 (it would let one character pass as another).
constexpr std::array<char32_t, 5> kSmallestOfLength = {0, 0, 0x80, 0x800, 0x10000};

// Decodes one UTF-8 sequence at text[pos] and advances pos past what it read. Nothing for a
// malformed sequence: a stray or cut-short byte, an overlong form, a surrogate, or a code point
// beyond U+10FFFF.
std::optional<char32_t> DecodeSequence(std::string_view text, size_t& pos) {
  const unsigned char lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < extra; ++i) {
    if (pos >= text.size()) return std::nullopt;
    const unsigned char next = static_cast<unsigned char>(text[pos]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (next & 0x3F);
    ++pos;
  }
  const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
  if (cp < kSmallestOfLength[extra + 1] || cp > 0x10FFFF || surrogate) return std::nullopt;
  return cp;
}

// As DecodeSequence, with U+FFFD for a malformed sequence.
char32_t DecodeUtf8(std::string_view text, size_t& pos) {
  return DecodeSequence(text, pos).value_or(0xFFFD);
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the sequence a lead byte starts; 0 for a byte that cannot start one.
size_t SequenceLength(unsigned char lead) {
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

// The length of a sequence that starts near the end of `text` and is cut short by it; 0 when
// the text ends with a whole character.
size_t CutSequenceLength(std::string_view text) {
  for (size_t back = 1; back <= 3 && back <= text.size(); ++back) {
    const unsigned char byte = static_cast<unsigned char>(text[text.size() - back]);
    if (IsContinuation(byte)) continue;
    return SequenceLength(byte) > back ? back : 0;
  }
  return 0;
}

}  // namespace

bool IsUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    if (!DecodeSequence(text, pos)) return false;
  }
  return true;
}

char Cp1252FromCodePoint(char32_t cp) { return ByteForCodePoint(cp).value_or('?'); }

char Utf8StreamDecoder::Emit(char32_t cp) {
  const std::optional<char> byte = ByteForCodePoint(cp);
  if (!byte) ++replaced_;
  return byte.value_or('?');
}

size_t Utf8StreamDecoder::Decode(std::string_view in, char* out) {
  size_t written = 0;
  size_t pos = 0;
  if (held_count_ > 0) {
    const size_t length = SequenceLength(static_cast<unsigned char>(held_[0]));
    while (held_count_ < length && pos < in.size() &&
           IsContinuation(static_cast<unsigned char>(in[pos]))) {
      held_[held_count_++] = in[pos++];
    }
    if (held_count_ < length && pos == in.size()) return 0;  // still cut short
    size_t used = 0;
    const char32_t cp = DecodeUtf8(std::string_view(held_, held_count_), used);
    held_count_ = 0;
    if (!(at_start_ && cp == 0xFEFF)) out[written++] = Emit(cp);
    at_start_ = false;
  }
  const size_t cut = CutSequenceLength(in.substr(pos));
  const std::string_view whole = in.substr(0, in.size() - cut);
  while (pos < whole.size()) {
    const unsigned char byte = static_cast<unsigned char>(whole[pos]);
    if (byte < 0x80) {
      out[written++] = static_cast<char>(byte);
      ++pos;
    } else {
      const char32_t cp = DecodeUtf8(whole, pos);
      if (!(at_start_ && cp == 0xFEFF)) out[written++] = Emit(cp);
    }
    at_start_ = false;
  }
  for (size_t i = whole.size(); i < in.size(); ++i) held_[held_count_++] = in[i];
  return written;
}

size_t Utf8StreamDecoder::Finish(char* out) {
  if (held_count_ == 0) return 0;
  held_count_ = 0;
  ++replaced_;
  *out = '?';
  return 1;
}

std::string Utf8FromCp1252(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size());
  for (char c : cp1252) AppendUtf8(out, CodePoint(static_cast<unsigned char>(c)));
  return out;
}

std::string Cp1252FromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) out.push_back(ByteForCodePoint(DecodeUtf8(utf8, pos)).value_or('?'));
  return out;
}

std::optional<std::string> Cp1252FromUtf8Exactly(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t pos = 0;
  while (pos < utf8.size()) {
    const std::optional<char> byte = ByteForCodePoint(DecodeUtf8(utf8, pos));
    if (!byte) return std::nullopt;
    out.push_back(*byte);
  }
  return out;
}

}  // namespace jov
