// Recognising files from their first bytes: database files (binary or text, of this or other
// format generations), command documents, SIE files, damaged database files and others.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "files/text_format.h"
#include "shell/messages.h"

namespace jov {

enum class FileKind : int {
  kNothing = 0,      // nothing to read (a file that cannot be opened, a refusal, a cancel)
  kBinaryN = 1,      // binary database, kind letter "N": unreadable
  kBinaryB = 2,      // binary database, kind letter "B"
  kBinary = 3,       // binary database written by this system ("U")
  kBinaryEarly = 4,  // binary database of format dates 961214..981201: unreadable
  kText = 5,         // text database ("##JOV-Text")
  kPreRelease = 8,
  kThirdGeneration = 9,
  kLaterFormat = 10,
  kXmlCommands = 11,
  kSie = 12,
  kNotDatabase = 13,
  kDamaged = 14,
};

struct FileSniff {
  FileKind kind = FileKind::kNothing;
  uint32_t format_date = 0;  // YYYYMMDD
  bool later_version = false;
  bool compressed = true;
  uint32_t database_value = 0;
  bool password = false;
};

// How many leading bytes decide the kind.
constexpr size_t kSniffBytes = 511;

// A format date: six digits YYMMDD, characters below 33 skipped; YY below 28 is 20YY. As
// YYYYMMDD, or 0 when the digits are missing.
constexpr uint32_t FormatDateValue(std::string_view text) {
  uint32_t digits = 0;
  int count = 0;
  for (size_t i = 0; i < text.size() && count < 6; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 33) continue;
    if (c < '0' || c > '9') return 0;
    digits = digits * 10 + (c - '0');
    ++count;
  }
  if (count < 6) return 0;
  return (digits / 10000 < 28 ? 20000000 : 19000000) + digits;
}

// This system's format date.
constexpr uint32_t kOwnFormatDate = FormatDateValue(text_format::kFormatDate);
static_assert(kOwnFormatDate == 20001219);

// Classifies a file from its first bytes (at most kSniffBytes are looked at).
FileSniff SniffFileKind(std::string_view head);
// Reads the file's first bytes and classifies them; kNothing when it cannot be opened or is
// no regular file (a folder, a device, a FIFO).
FileSniff SniffFile(const std::string& path);

// The quick test of the imports of text: a database file, judged from its first bytes.
constexpr size_t kQuickTestBytes = 31;
bool LooksLikeDatabaseFile(std::string_view head);

// The message that refuses a file of this kind as a database (with the file name as @0), or
// kNoMessage for the kinds that are read. The unreadable binary kinds and kinds no row names
// are refused as not being database files that can be read: msg::kNotDatabase.
MessageId RefusalMessage(FileKind kind);

}  // namespace jov
