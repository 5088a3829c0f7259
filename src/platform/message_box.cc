#include "platform/message_box.h"

#include <cstdio>
#include <string>

#include "platform/text_encoding.h"

namespace jov {

// Without a desktop, the box is a line on the standard error stream.
void ShowSystemMessageBox(std::string_view title, std::string_view text) {
  const std::string line = Utf8FromCp1252(title) + ": " + Utf8FromCp1252(text) + "\n";
  std::fputs(line.c_str(), stderr);
}

}  // namespace jov
