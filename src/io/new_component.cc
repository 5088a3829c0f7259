#include "io/new_component.h"

#include <string>

#include "model/case_tables.h"
#include "shell/command_error.h"

namespace jov {
namespace {

// -1, 0 or 1 as `a` sorts before, with or after `b`, ignoring case unless `exact`.
int CompareHosts(std::string_view a, std::string_view b, bool exact) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (!exact) x = UpperCase(x), y = UpperCase(y);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The component whose host code is the greatest one not above `host`; kNoComponent for none.
ComponentRef NearestHost(const Database& database, int dimension, std::string_view host) {
  const bool exact =
      CaseOptionIsExact(database.dimension(dimension).case_option(ComponentField::kHost));
  const ComponentRef root = static_cast<ComponentRef>(dimension);
  ComponentRef nearest = kNoComponent;
  for (ComponentRef ref = database.NextInPreorder(root); ref != root;
       ref = database.NextInPreorder(ref)) {
    const std::string& candidate = database.component(ref).host;
    if (candidate.empty() || CompareHosts(candidate, host, exact) > 0) continue;
    if (nearest == kNoComponent ||
        CompareHosts(candidate, database.component(nearest).host, exact) > 0) {
      nearest = ref;
    }
  }
  return nearest;
}

// The JOV-Code the placement asks for; empty when it falls back to a generated code.
std::string PlacedCode(const Database& database, int dimension, std::string_view host,
                       NewComponentPlacement placement) {
  std::string code;
  if (placement == NewComponentPlacement::kHostAsCode) {
    code = host;
  } else if (placement == NewComponentPlacement::kAfterNearestHost) {
    const ComponentRef nearest = NearestHost(database, dimension, host);
    if (nearest != kNoComponent) code = database.component(nearest).code + std::string(host);
  }
  if (!code.empty() && database.FindByCode(dimension, code) != kNoComponent) code.clear();
  return code;
}

}  // namespace

ComponentRef AddImportedComponent(Database& database, int dimension, std::string_view host,
                                  NewComponentPlacement placement) {
  AlertRecord alert(msg::kHostNotFound);
  alert.Arg(host).Arg(database.GetName(name_id::kFirstSingular + dimension));
  RaiseCommandError(alert);
  const std::string code = PlacedCode(database, dimension, host, placement);
  const ComponentRef added = code.empty() ? database.GeneratedComponent(
                                                dimension, std::string(host), IdentifierKind::kHost)
                                          : database.AddComponent(dimension, code, "", host);
  return added == kNoComponent ? static_cast<ComponentRef>(dimension) : added;
}

}  // namespace jov
