// Constants of the section stream that text (.jox) and binary database files carry: section
// names, line ends, the multi-line text coding and the character-set strings. Shared by the
// section reader and writer.
#pragma once

#include <cstddef>
#include <string_view>

namespace jov::text_format {

// A line starting with this opens a section: "##" name, tab, argument.
inline constexpr std::string_view kSectionStart = "##";

// Line ends: text database files end lines with CR LF, binary files with CR. Readers accept CR,
// LF and either pair.
inline constexpr std::string_view kTextLineEnd = "\r\n";
// A missing line value: no digit, so the number parser reads it as missing; the same mark as
// the missing-value test of value conditions.
inline constexpr std::string_view kMissingValue = "\\";
inline constexpr std::string_view kBinaryLineEnd = "\r";

// The first line of a text database file: "##JOV-Text", a tab and the format date (YYMMDD).
inline constexpr std::string_view kTextFileMagic = "##JOV-Text";
inline constexpr std::string_view kFormatDate = "001219";

// Section names, without "##".
inline constexpr std::string_view kEnd = "End";
inline constexpr std::string_view kJovText = "JOV-Text";
inline constexpr std::string_view kCharacters = "Characters";
inline constexpr std::string_view kProtection = "Protection";
inline constexpr std::string_view kCreator = "Creator";
inline constexpr std::string_view kBaseOptions = "BaseOptions";
inline constexpr std::string_view kSaveSetup = "SaveSetup";
inline constexpr std::string_view kImportSetup = "ImportSetup";
inline constexpr std::string_view kTimeScale = "TimeScale";
inline constexpr std::string_view kMacro = "Macro";
inline constexpr std::string_view kDimension = "Dimension";
inline constexpr std::string_view kDimImport = "DimImport";
inline constexpr std::string_view kCards = "Cards";
inline constexpr std::string_view kSubset = "Subset";
inline constexpr std::string_view kTemplates = "Templates";
inline constexpr std::string_view kDefaults = "Defaults";
inline constexpr std::string_view kCommands = "Commands";
// The records of "##Cards", by the letter that starts their line: a card, then its notes and
// stamps, each group of the card and the lines of the group; and a directive, "-D" followed by
// an identifier letter, that names how a dimension's components are identified.
inline constexpr char kCardRecord = 'C';
inline constexpr char kNotesRecord = 'N';
inline constexpr char kStampsRecord = 'S';
inline constexpr char kGroupRecord = 'G';
inline constexpr char kLineRecord = 'L';
inline constexpr char kDirectiveRecord = '-';
inline constexpr std::string_view kDimensionDirective = "-D";

// A section line whose name is shorter than this is not reported as unknown.
inline constexpr size_t kMinReportedNameLength = 3;

// Multi-line texts (card notes): CR is written as byte 3 and tab as byte 4; a text longer than
// kMaxUnsplitBytes goes out as pieces of kPieceBytes, each followed by kContinuation and a line
// end, then the rest.
inline constexpr char kEncodedReturn = 3;
inline constexpr char kEncodedTab = 4;
inline constexpr size_t kPieceBytes = 4200;
inline constexpr size_t kMaxUnsplitBytes = 4208;
inline constexpr std::string_view kContinuation = "/==";

// A physical line longer than this is refused (msg::kLinesTooLong) rather than collected without
// bound.
inline constexpr size_t kMaxLineBytes = size_t{8} << 20;

// "##Characters": the writer's own codes for accented upper-case letters (U), their lower-case
// partners (L) and other signs (X), in a fixed order; a blank marks a position without a
// character. A reader compares at most kMaxCharacterString bytes of each.
inline constexpr std::string_view kUpperCharacters =
    "\xC4\xC1\xC0\xC2\xC3\xC6\xC5\x20\xCB\xC9\xC8\xCA\x20\xCF\xCD\xCC"
    "\xCE\x20\xD6\xD3\xD2\xD4\xD5\x8C\x20\xDC\xDA\xD9\xDB\x20\xC7\xD1";
inline constexpr std::string_view kLowerCharacters =
    "\xE4\xE1\xE0\xE2\xE3\xE6\xE5\x20\xEB\xE9\xE8\xEA\x20\xEF\xED\xEC"
    "\xEE\x20\xF6\xF3\xF2\xF4\xF5\x9C\x20\xFC\xFA\xF9\xFB\x20\xE7\xF1";
inline constexpr std::string_view kOtherCharacters =
    "\xB1\xAC\xF7\x20\x20\xAB\xBB\x20\x83\x83\x20\x20\x20\x20\x85\x20\xA3\xA7\x20\xDF"
    "\xB5\xB6\xA5\x20\x97\xAA\xBA\xA9\xAE\xBF\xA1\x20\x20\x20\x20\x89\x99\x86\x87";
inline constexpr size_t kMaxCharacterString = 64;

}  // namespace jov::text_format
