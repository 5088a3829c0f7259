// The summing pass of a component analysis: the lines a prepared selection takes, in the cards
// before its date range, in it and after it, each line's value added to the own sums of the row
// of its component in the view dimension. The three parts are found in the card order (the
// selection's plan), so no card's date is tested; a part that no column needs is not read at
// all. Nothing is allocated and nothing is called through a pointer per line.
#pragma once

#include <cstdint>

#include "analysis/component_rows.h"
#include "select/selection.h"

namespace jov {

// Where a line's component in a dimension is found: on its group (the first dimension), in one
// of its slots (at `slot_offset` in the line record), or nowhere (a dimension past the slots,
// whose lines all stand at its root).
struct ViewComponent {
  bool on_group = false;
  int slot_offset = -1;
  ComponentRef root = 0;
};
ViewComponent FindViewComponent(const Database& database, int dimension);

struct ComponentSumRequest {
  int view_dimension = 1;
  int value_field = 0;
  bool read_before = false;
  bool read_after = false;
};

// The lines the pass read in each part of the card order, passing the selection or not.
struct LinesRead {
  int64_t before = 0;
  int64_t period = 0;
  int64_t after = 0;
};

// Adds the lines' values to the rows' own sums, which start at zero: in the range to positive
// or negative by sign, counting every line (zeros too); before and after the range to before
// and after. Infinite and missing values are neither summed nor counted; lines whose component
// has no row add nothing. The selection must be prepared. False when the user stopped the pass
// (the sums are then partial).
bool SumComponentLines(const Selection& selection, const ComponentSumRequest& request,
                       ComponentRows& rows, LinesRead* read = nullptr);

}  // namespace jov
