#include "row_options.h"

#include "model/case_tables.h"

namespace jov {
namespace {

std::optional<ComponentSort> SortOrderNamed(std::string_view name) {
  for (int i = 0; i < kSortOrders; ++i) {
    const std::string_view order = i == kSortOrders - 1 ? "asc" : kSortXmlNames[i];
    if (EqualsIgnoringCase(order, name)) return static_cast<ComponentSort>(i);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadRowOptions(const CommandArguments& arguments,
                                          std::string_view sort_option, RowRequest& request) {
  if (const std::optional<std::string> filter = arguments.Value(kFilterOption.name)) {
    if (*filter == "all") {
      request.filter = RowFilter::kAll;
    } else if (*filter == "inuse") {
      request.filter = RowFilter::kInUse;
    } else if (*filter == "nonzero") {
      request.filter = RowFilter::kNonZero;
    } else {
      return "--filter is all, inuse or nonzero";
    }
  }
  if (const std::optional<std::string> sort = arguments.Value(sort_option)) {
    const size_t colon = sort->find(':');
    const std::optional<ComponentSort> order = SortOrderNamed(sort->substr(0, colon));
    if (!order) {
      return std::string(sort_option) +
             " is none, desc, combdesc, absdesc, absasc, combasc or asc, optionally followed by "
             "':' and a column";
    }
    request.sort = *order;
    if (colon != std::string::npos) request.sort_column = sort->substr(colon + 1);
  }
  if (const std::optional<std::string> depth = arguments.Value(kDepthOption.name)) {
    const size_t digits = depth->find_first_not_of("0123456789");
    if (depth->empty() || digits != std::string::npos || depth->size() > 4) {
      return "--depth takes a whole number";
    }
    request.depth = std::stoi(*depth);
  }
  return std::nullopt;
}

}  // namespace jov
