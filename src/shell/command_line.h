// The documents named on the program's command line: quoted names, and unquoted names that may
// hold spaces and run until a space followed by a drive letter and colon or by two backslashes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace jov {

// Nothing when the line is empty or starts with "/" or "-" (an automation switch).
std::vector<std::string> DocumentNames(std::string_view command_line);

}  // namespace jov
