#include "files/file_kind.h"

#include <fstream>

#include "shell/message_ids.h"

namespace jov {
namespace {

constexpr std::string_view kTextMagic = "##JOV-Text";
constexpr std::string_view kHashBinaryMagic = "##Uxe";
constexpr std::string_view kBinaryMagic = "\x05\x13Uxe";
constexpr uint32_t kFirstTextDate = 19960930;
constexpr uint32_t kFirstBinaryDate = 19961214;
constexpr uint32_t kFirstRegularBinaryDate = 19981202;
constexpr uint32_t kFirstReadableBinaryDate = 19981208;
constexpr size_t kQuickTestBytes = 31;

// Six digits YYMMDD from `offset`, skipping characters below 33; YY below 28 is 20YY. Zero
// when the digits are missing.
uint32_t FormatDate(std::string_view head, size_t offset) {
  uint32_t digits = 0;
  int count = 0;
  for (size_t i = offset; i < head.size() && count < 6; ++i) {
    const unsigned char c = static_cast<unsigned char>(head[i]);
    if (c < 33) continue;
    if (c < '0' || c > '9') return 0;
    digits = digits * 10 + (c - '0');
    ++count;
  }
  if (count < 6) return 0;
  const uint32_t yy = digits / 10000;
  return (yy < 28 ? 20000000 : 19000000) + digits;
}

void SniffBinary(std::string_view head, FileSniff& sniff) {
  sniff.format_date = FormatDate(head, 5);
  if (sniff.format_date < kFirstBinaryDate) {
    sniff.kind = FileKind::kPreRelease;
  } else if (sniff.format_date < kFirstRegularBinaryDate) {
    sniff.kind = FileKind::kBinaryEarly;
  } else if (sniff.format_date < kFirstReadableBinaryDate) {
    sniff.kind = FileKind::kPreRelease;
  } else {
    const char letter = head.size() > 13 ? head[13] : '\0';
    sniff.kind = letter == 'B'   ? FileKind::kBinaryB
                 : letter == 'N' ? FileKind::kBinaryN
                 : letter == 'U' ? FileKind::kBinary
                                 : FileKind::kNothing;
    sniff.compressed = !(head.size() > 14 && head[14] == '-');
    sniff.password = head.size() > 11 && head[11] == 'x';
    if (head.size() >= 36) {
      for (size_t i = 32; i < 36; ++i) {
        sniff.database_value = sniff.database_value << 8 | static_cast<unsigned char>(head[i]);
      }
    }
    sniff.later_version = sniff.format_date > kOwnFormatDate;
  }
}

bool FoundAfterFirstByte(std::string_view head, std::string_view what) {
  return head.size() > 1 && head.substr(1).find(what) != std::string_view::npos;
}

}  // namespace

FileSniff SniffFileKind(std::string_view head) {
  head = head.substr(0, kSniffBytes);
  FileSniff sniff;
  if (head.starts_with(kTextMagic)) {
    sniff.kind = FileKind::kText;
    sniff.format_date = FormatDate(head, 11);
    if (sniff.format_date < kFirstTextDate) {
      sniff.kind = FileKind::kPreRelease;
    } else if (sniff.format_date > kOwnFormatDate) {
      sniff.later_version = true;
    }
  } else if (head.starts_with(kHashBinaryMagic) || head.starts_with(kBinaryMagic)) {
    SniffBinary(head, sniff);
  } else if (head.starts_with("\xA5\xA5\xA5")) {
    sniff.kind = FileKind::kThirdGeneration;
  } else if (head.starts_with("<?XML") || head.starts_with("<JOV-XML")) {
    sniff.kind = FileKind::kXmlCommands;
  } else if (head.find("#SIETYP") != std::string_view::npos) {
    sniff.kind = FileKind::kSie;
  } else if (FoundAfterFirstByte(head, "#JOV") || FoundAfterFirstByte(head, "#Uxe") ||
             FoundAfterFirstByte(head, "\x13Uxe")) {
    sniff.kind = FileKind::kDamaged;
  } else {
    sniff.kind = FileKind::kNotDatabase;
  }
  return sniff;
}

FileSniff SniffFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return FileSniff{};
  std::string head(kSniffBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  return SniffFileKind(head);
}

bool LooksLikeDatabaseFile(std::string_view head) {
  head = head.substr(0, kQuickTestBytes);
  if (head.starts_with(kBinaryMagic) || head.starts_with(kHashBinaryMagic)) return true;
  size_t skip = 0;
  while (skip < head.size() && static_cast<unsigned char>(head[skip]) >= 1 &&
         static_cast<unsigned char>(head[skip]) <= 32) {
    ++skip;
  }
  return head.substr(skip).starts_with(kTextMagic);
}

MessageId RefusalMessage(FileKind kind) {
  switch (kind) {
    case FileKind::kBinaryB:
    case FileKind::kBinary:
    case FileKind::kText:
    case FileKind::kNothing:
      return kNoMessage;
    case FileKind::kPreRelease:
      return msg::kPreRelease;
    case FileKind::kThirdGeneration:
      return msg::kThirdGeneration;
    case FileKind::kLaterFormat:
      return msg::kLaterFormat;
    case FileKind::kDamaged:
      return msg::kCorrupted;
    case FileKind::kBinaryN:
    case FileKind::kBinaryEarly:
    case FileKind::kXmlCommands:
    case FileKind::kSie:
    case FileKind::kNotDatabase:
      return msg::kNotDatabase;
  }
  return msg::kNotDatabase;
}

}  // namespace jov
