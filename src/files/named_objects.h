// Named objects of one kind (save setups, import setups, time scales, macros, subsets) as the
// section readers find them: by name ignoring letter case, with a default name for a section
// that names none.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/case_tables.h"
#include "shell/messages.h"

namespace jov {

// The name of an object read from a section line: `argument`, or the kind's default text
// followed by " 1" when the argument is empty.
std::string SectionObjectName(std::string_view argument, MessageId default_name);

// The object named `name` (ignoring case) in `list`, reset to a fresh one that keeps its name so
// that the section body replaces its content; a new one at the end when there is none.
template <typename T>
T& ReplaceOrAddNamed(std::vector<T>& list, std::string_view name) {
  for (T& object : list) {
    if (EqualsIgnoringCase(object.name, name)) {
      std::string kept = std::move(object.name);
      object = T();
      object.name = std::move(kept);
      return object;
    }
  }
  T& added = list.emplace_back();
  added.name = std::string(name);
  return added;
}

}  // namespace jov
