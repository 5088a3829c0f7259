#include "files/export_settings.h"

#include <array>
#include <cstdint>

#include "shell/message_ids.h"

namespace jov {
namespace {

constexpr std::array<uint8_t, 3> kDecimalChoices = {separator::kSystem, separator::kComma,
                                                    separator::kPoint};
constexpr std::array<uint8_t, 6> kThousandChoices = {separator::kSystem, separator::kNone,
                                                     separator::kSpace,  separator::kPadding,
                                                     separator::kPoint,  separator::kComma};
constexpr std::array<uint8_t, 5> kBetweenChoices = {separator::kSystem, separator::kTab,
                                                    separator::kComma, separator::kSpace,
                                                    separator::kSemicolon};
constexpr std::array<uint8_t, 5> kAroundChoices = {separator::kSystem, separator::kNone,
                                                   separator::kDoubleQuote, separator::kApostrophe,
                                                   separator::kUnderscore};
constexpr std::array<uint8_t, 4> kRowTerminatorChoices = {separator::kSystem, separator::kReturn,
                                                          separator::kLineFeed, separator::kCrLf};

// The choice that "from System" stands for.
uint8_t SystemChoice(SeparatorSetting setting) {
  const NumberSeparators& system = Process().system_separators;
  switch (setting) {
    case SeparatorSetting::kDecimal:
      return static_cast<uint8_t>(system.decimal);
    case SeparatorSetting::kThousand:
      return system.thousand == 0 ? separator::kNone : static_cast<uint8_t>(system.thousand);
    case SeparatorSetting::kBetweenFields:
      return separator::kTab;
    case SeparatorSetting::kAroundFields:
      return separator::kNone;
    case SeparatorSetting::kRowTerminator:
      return separator::kCrLf;
  }
  return separator::kNone;
}

MessageId NamedChoiceLabel(uint8_t value) {
  switch (value) {
    case separator::kNone:
      return msg::kSeparatorNone;
    case separator::kCrLf:
      return msg::kSeparatorCrLf;
    case separator::kTab:
      return msg::kSeparatorTab;
    case separator::kLineFeed:
      return msg::kSeparatorLineFeed;
    case separator::kReturn:
      return msg::kSeparatorReturn;
    case separator::kSpace:
      return msg::kSeparatorSpace;
    case separator::kComma:
      return msg::kSeparatorComma;
    case separator::kPoint:
      return msg::kSeparatorPoint;
    case separator::kSemicolon:
      return msg::kSeparatorSemicolon;
    case separator::kPadding:
      return msg::kSeparatorPadding;
    default:
      return kNoMessage;
  }
}

// The number separator a choice gives; 0 for none.
char NumberSeparator(SeparatorSetting setting, uint8_t value) {
  if (value == separator::kSystem) value = SystemChoice(setting);
  return value == separator::kNone ? char{0} : static_cast<char>(value);
}

}  // namespace

std::span<const uint8_t> SeparatorChoices(SeparatorSetting setting) {
  switch (setting) {
    case SeparatorSetting::kDecimal:
      return kDecimalChoices;
    case SeparatorSetting::kThousand:
      return kThousandChoices;
    case SeparatorSetting::kBetweenFields:
      return kBetweenChoices;
    case SeparatorSetting::kAroundFields:
      return kAroundChoices;
    case SeparatorSetting::kRowTerminator:
      return kRowTerminatorChoices;
  }
  return {};
}

std::string SeparatorText(SeparatorSetting setting, uint8_t value) {
  if (value == separator::kSystem) value = SystemChoice(setting);
  if (value == separator::kNone) return {};
  if (value == separator::kCrLf) return "\r\n";
  return std::string(1, static_cast<char>(value));
}

std::string SeparatorLabel(SeparatorSetting setting, uint8_t value) {
  if (value == separator::kSystem) {
    return SeparatorLabel(setting, SystemChoice(setting)) + MessageText(msg::kFromSystem);
  }
  const MessageId named = NamedChoiceLabel(value);
  if (named != kNoMessage) return MessageText(named);
  if (value < 33) return "#" + std::to_string(value);
  return std::string(1, static_cast<char>(value));
}

NumberSeparators ChosenNumberSeparators(const ExportSettings& settings) {
  return {.decimal = NumberSeparator(SeparatorSetting::kDecimal, settings.decimal),
          .thousand = NumberSeparator(SeparatorSetting::kThousand, settings.thousand)};
}

MessageId FormatLabel(ExportFormat format) {
  switch (format) {
    case ExportFormat::kHtml:
      return msg::kFormatHtml;
    case ExportFormat::kXml:
      return msg::kFormatXml;
    case ExportFormat::kText:
      break;
  }
  return msg::kFormatText;
}

MessageId CopyExtentLabel(CopyExtent extent) {
  return msg::kFirstCopyExtent + static_cast<MessageId>(extent);
}

size_t CopyByteLimit(CopyExtent extent) {
  switch (extent) {
    case CopyExtent::kMax30K:
      return 30720;
    case CopyExtent::kMax10K:
      return 10240;
    case CopyExtent::kMax3K:
      return 3072;
    case CopyExtent::kAll:
    case CopyExtent::kVisibleOnly:
      break;
  }
  return SIZE_MAX;
}

std::string FourCharacterCode(std::string_view text) {
  std::string code(text.substr(0, kBlankCode.size()));
  code.resize(kBlankCode.size(), ' ');
  return code;
}

}  // namespace jov
