#include "analysis/function_column.h"

#include <array>

#include "analysis/shown_value.h"

namespace jov {
namespace {

// Letters by colour index; '-' for the colours without one.
constexpr std::string_view kColourLetters = "---2-5-7-BNRMVYLGCUD";
static_assert(kColourLetters.size() == kColumnColours);

// The colour table: the greys and black of the lettered dark entries, then the chart colours.
constexpr std::array<uint32_t, kColumnColours> kColourRgb = {
    0x000000,  // 0: none (drawn black)
    0xFFFFFF, 0xE0E0E0,
    0x333333,  // 3 "2": 20 percent grey
    0xC0C0C0,
    0x808080,  // 5 "5": 50 percent grey
    0xA0A0A0,
    0xBFBFBF,  // 7 "7": 75 percent grey
    0x404040,
    0x000000,  // 9 "B": black
    0x000080,  // 10 "N": navy
    0xD00000,  // 11 "R": red
    0xC000C0,  // 12 "M": magenta
    0x7030A0,  // 13 "V": violet
    0xE0B000,  // 14 "Y": yellow
    0x80C0FF,  // 15 "L": light blue
    0x00A000,  // 16 "G": green
    0x00B0C0,  // 17 "C": cyan
    0x0050E0,  // 18 "U": blue
    0x006040,  // 19 "D": dark green
};

}  // namespace

char ColourLetter(int colour) {
  return colour >= 0 && colour < kColumnColours ? kColourLetters[colour] : '-';
}

std::optional<int> ColourOfLetter(char letter) {
  if (letter == '-') return 0;
  const size_t at = kColourLetters.find(letter);
  if (letter == '\0' || at == std::string_view::npos) return std::nullopt;
  return static_cast<int>(at);
}

uint32_t ColourRgb(int colour) {
  return colour >= 0 && colour < kColumnColours ? kColourRgb[colour] : kColourRgb[0];
}

TableCell ColumnValueCell(double value, const ColumnLook& look) {
  TableCell cell{.text = ShownValue(value, look.decimals),
                 .alignment = CellAlignment::kRight,
                 .bold = look.bold};
  if (look.red_green) {
    cell.colour = value < 0   ? CellColour::kRed
                  : value > 0 ? CellColour::kGreen
                              : CellColour::kDefault;
  }
  return cell;
}

}  // namespace jov
