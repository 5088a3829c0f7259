// Stand-in for the desktop platform's plain system message box, the last resort for a report
// when no alert sink is installed. Texts are Windows-1252.
#pragma once

#include <string_view>

namespace jov {

void ShowSystemMessageBox(std::string_view title, std::string_view text);

}  // namespace jov
