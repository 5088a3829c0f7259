// "##BaseOptions": card-number digits (CN), value decimals (CD), the card-title and line-text
// labels (CT, LT), the value-field names (LV), the number of value fields (LN), the reference
// point (R) and the component index's entry count (EC), one key per line.
#pragma once

#include <string_view>

#include "model/packed_date.h"

namespace jov {

class CardStore;
class SectionInput;
class SectionOutput;

// The card-number digits that `number` needs: 1 up to 9, 2 up to 99 ... 6 above 99999.
int DigitsForCardNumber(Sequence number);
// The digits the largest card number of the store needs (0 without cards).
int DigitsForCards(const CardStore& cards);

void ReadBaseOptionsSection(SectionInput& input, std::string_view argument);
void WriteBaseOptionsSection(SectionOutput& output);

}  // namespace jov
