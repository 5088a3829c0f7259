// ComponentExpression: which components of one dimension a selection takes, typed as codes with
// suffix and prefix forms ("A!", "A^", "A?", "A¶"), intervals ("A_B"), the root "\" and the
// empty set "\\", joined by the boolean operators. Compiled into a postfix program over
// component numbers, evaluated on a stack of ComponentSets and printed back as normalised text.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/component.h"
#include "select/component_set.h"

namespace jov {

class Database;

// "¶": the lowest components.
constexpr char kLowestChar = '\xB6';

enum class ComponentOpCode : uint8_t {
  kEnd,
  // Operands: each pushes one set.
  kSubtree,            // "A": the component and its descendants
  kSingle,             // "A!": the component alone
  kUpwardPath,         // "A^": the component and its ancestors, the root excluded
  kIntermediateUnder,  // "A?": descendants that have children
  kLowestUnder,        // "A¶": descendants without children
  kAllIntermediate,    // "?": every component with children, the root excluded
  kAllLowest,          // "¶": every component without children, the root excluded
  kRoot,               // "\"
  kNull,               // "\\"
  kInterval,           // "A_B": A to B in tree order, with B's descendants
  kIntervalSingle,     // "A_B!": A to B in tree order
  // Operators: complement replaces the top set, the others combine the two top sets.
  kComplement,
  kUnion,
  kIntersection,
  kEitherOr,
  kMinus,
};

struct ComponentOp {
  ComponentOpCode code;
  ComponentRef first = kNoComponent;   // the component of a code operand, an interval's start
  ComponentRef second = kNoComponent;  // an interval's end
  bool operator==(const ComponentOp&) const = default;
};

// Asked for a code that no component of the dimension carries (the desktop beeps and shows a
// list): returns the component to use instead, or kNoComponent (or a root) for none.
using ComponentChooser =
    std::function<ComponentRef(const Database& database, int dimension, std::string_view code)>;

// Finds the component a typed code names: by JOV-Code, else by Host Code, else by Text. A root
// counts as not found. kNoComponent when none.
ComponentRef LookUpComponent(const Database& database, int dimension, std::string_view code);

class ComponentExpression {
 public:
  // Compiles `text` against the dimension. Nothing when no operand can be read, when the
  // dimension index is out of range, or when a code is missing and `choose` (which may be
  // empty) gives no component.
  static std::optional<ComponentExpression> Compile(const Database& database, int dimension,
                                                    std::string_view text,
                                                    const ComponentChooser& choose = {});

  int dimension() const { return dimension_; }
  // The program, ending with kEnd.
  const std::vector<ComponentOp>& ops() const { return ops_; }

  // The selected components, sized to the pool. Only the bits of this dimension's components
  // are meaningful (a complement sets the others too). Components removed since compiling
  // select nothing.
  ComponentSet Evaluate(const Database& database) const;

  // The normalised text of the program. `with_blanks`: the displayed form, with a blank on
  // each side of binary operators and a single code in the dimension's display form; without,
  // the stored form.
  std::string Print(const Database& database, bool with_blanks) const;

  // To be called on ChangeCode::kComponents for this dimension: operands whose components are gone
  // become "\\", so that a record number reused by a later component is never taken for them.
  void FollowRemovals(const Database& database);

 private:
  friend class ComponentProgramBuilder;

  ComponentExpression(int dimension, std::vector<ComponentOp> ops)
      : dimension_(dimension), ops_(std::move(ops)) {}

  // The component is live, in this dimension and not its root.
  bool IsCurrent(const Database& database, ComponentRef ref) const;
  void FillOperand(const Database& database, const ComponentOp& op, ComponentSet& set) const;
  std::string OperandText(const Database& database, const ComponentOp& op) const;

  int dimension_;
  std::vector<ComponentOp> ops_;
};

}  // namespace jov
