// The text of a value as analysis tables show it: with the column's decimals (0..6), or divided
// by a thousand or a million for the scaled forms (kThousands, kMillions), with the number
// separators in effect; a value that is not finite as the special numbers' texts.
#pragma once

#include <string>

namespace jov {

void AppendShownValue(std::string& out, double value, int decimals);
std::string ShownValue(double value, int decimals);

}  // namespace jov
