#include "files/file_kind.h"

#include <algorithm>
#include <optional>

#include "files/binary_format.h"
#include "files/text_format.h"
#include "platform/file_io.h"
#include "shell/message_ids.h"

namespace jov {
namespace {

namespace bf = binary_format;

constexpr uint32_t kFirstTextDate = 19960930;
constexpr uint32_t kFirstBinaryDate = 19961214;
constexpr uint32_t kFirstRegularBinaryDate = 19981202;
constexpr uint32_t kFirstReadableBinaryDate = 19981208;

void SniffBinary(const BinaryHeader& header, FileSniff& sniff) {
  sniff.format_date = FormatDateValue(header.format_date);
  if (sniff.format_date < kFirstBinaryDate) {
    sniff.kind = FileKind::kPreRelease;
  } else if (sniff.format_date < kFirstRegularBinaryDate) {
    sniff.kind = FileKind::kBinaryEarly;
  } else if (sniff.format_date < kFirstReadableBinaryDate) {
    sniff.kind = FileKind::kPreRelease;
  } else {
    sniff.kind = header.kind == bf::kKindOlder        ? FileKind::kBinaryB
                 : header.kind == bf::kKindUnreadable ? FileKind::kBinaryN
                 : header.kind == bf::kKindOwn        ? FileKind::kBinary
                                                      : FileKind::kNothing;
    sniff.compressed = header.compressed;
    sniff.password = header.password_expected;
    sniff.database_value = header.database_value;
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
  if (head.starts_with(text_format::kTextFileMagic)) {
    sniff.kind = FileKind::kText;
    // The date follows the magic and one separator; a file may end before either.
    const size_t date = std::min(head.size(), text_format::kTextFileMagic.size() + 1);
    sniff.format_date = FormatDateValue(head.substr(date));
    if (sniff.format_date < kFirstTextDate) {
      sniff.kind = FileKind::kPreRelease;
    } else if (sniff.format_date > kOwnFormatDate) {
      sniff.later_version = true;
    }
  } else if (const std::optional<BinaryHeader> header = BinaryHeader::DecodeFrom(head)) {
    SniffBinary(*header, sniff);
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
  const std::optional<std::string> head = ReadFileHead(path, kSniffBytes);
  return head ? SniffFileKind(*head) : FileSniff{};
}

bool LooksLikeDatabaseFile(std::string_view head) {
  head = head.substr(0, kQuickTestBytes);
  if (head.starts_with(bf::kMagic) || head.starts_with(bf::kHashMagic)) return true;
  size_t skip = 0;
  while (skip < head.size() && static_cast<unsigned char>(head[skip]) >= 1 &&
         static_cast<unsigned char>(head[skip]) <= 32) {
    ++skip;
  }
  return head.substr(skip).starts_with(text_format::kTextFileMagic);
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
