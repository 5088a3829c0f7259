#include "files/named_objects.h"

namespace jov {

std::string SectionObjectName(std::string_view argument, MessageId default_name) {
  if (!argument.empty()) return std::string(argument);
  return MessageText(default_name) + " 1";
}

}  // namespace jov
