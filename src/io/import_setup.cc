#include "io/import_setup.h"

#include <algorithm>

#include "analysis/time_scale.h"
#include "analysis/time_scale_list.h"
#include "model/case_tables.h"
#include "shell/messages.h"

namespace jov {

bool FieldSpec::empty() const {
  return std::all_of(parts.begin(), parts.end(),
                     [](const FieldPart& part) { return part.empty(); });
}

std::string_view FieldSpec::default_text() const {
  return parts.empty() ? std::string_view() : std::string_view(parts.front().default_text);
}

ImportSetup* ImportSetups::Find(std::string_view name) {
  for (ImportSetup& setup : named_) {
    if (EqualsIgnoringCase(setup.name, name)) return &setup;
  }
  return nullptr;
}

std::string ImportSetups::UniqueName(std::string_view name, std::string_view except) const {
  std::string unique = SingleLineName(name);
  if (unique.empty()) unique = MessageText(ImportSetup::kDefaultName);
  const auto taken = [&](std::string_view candidate) {
    return std::any_of(named_.begin(), named_.end(), [&](const ImportSetup& setup) {
      return EqualsIgnoringCase(setup.name, candidate) &&
             (except.empty() || !EqualsIgnoringCase(setup.name, except));
    });
  };
  while (taken(unique)) unique = NextNumberedName(unique);
  return unique;
}

ImportSetup& ImportSetups::Store(const ImportSetup& edit, std::string_view old_name) {
  ImportSetup stored = edit;
  stored.name = UniqueName(edit.name, old_name);
  ImportSetup* old = old_name.empty() ? nullptr : Find(old_name);
  ImportSetup& result = old != nullptr ? (*old = std::move(stored)) : named_.emplace_back(stored);
  database_.MarkModified();
  database_.Notify(ChangeCode::kImportSetups);
  return result;
}

bool ImportSetups::Remove(std::string_view name) {
  const auto found = std::find_if(named_.begin(), named_.end(), [&](const ImportSetup& setup) {
    return EqualsIgnoringCase(setup.name, name);
  });
  if (found == named_.end()) return false;
  named_.erase(found);
  database_.MarkModified();
  database_.Notify(ChangeCode::kImportSetups);
  return true;
}

}  // namespace jov
