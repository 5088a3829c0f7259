// Component expressions typed against a small tree. What must hold: the printed form (stored and
// displayed) compiles to an expression that selects the same components and prints the same.
#include "fuzz_support.h"
#include "fuzz_target.h"
#include "model/database.h"
#include "select/component_expression.h"

namespace jov {
namespace {

// Dimension 1: 1 (10 (100, 101), 11), 2 (20), 3 with a host code and a text, and a code made
// of token characters; dimension 2 has its own "1".
const Database& Tree() {
  static const Database* const tree = [] {
    auto* database = new Database;
    for (const char* code : {"1", "10", "100", "101", "11", "2", "20"}) {
      database->AddComponent(0, code, "", "");
    }
    database->AddComponent(0, "3", "Three", "H3");
    database->AddComponent(0, "A!B", "", "");
    database->AddComponent(1, "1", "", "");
    return database;
  }();
  return *tree;
}

bool SameSelection(const ComponentExpression& a, const ComponentExpression& b) {
  const ComponentSet first = a.Evaluate(Tree()), second = b.Evaluate(Tree());
  for (ComponentRef ref = 0; ref < Tree().components().size(); ++ref) {
    if (first.Test(ref) != second.Test(ref)) return false;
  }
  return true;
}

}  // namespace
}  // namespace jov

JOV_FUZZ_TARGET(component_expression) {
  jov::fuzz::QuietRun run;
  const std::optional<jov::ComponentExpression> expression =
      jov::ComponentExpression::Compile(jov::Tree(), 0, jov::fuzz::AsText(data, size));
  if (!expression) return;
  for (const bool with_blanks : {false, true}) {
    const std::string printed = expression->Print(jov::Tree(), with_blanks);
    const std::optional<jov::ComponentExpression> again =
        jov::ComponentExpression::Compile(jov::Tree(), 0, printed);
    JOV_FUZZ_CHECK(again.has_value());
    if (!again) continue;
    JOV_FUZZ_CHECK(jov::SameSelection(*expression, *again));
    JOV_FUZZ_CHECK(again->Print(jov::Tree(), with_blanks) == printed);
  }
}
