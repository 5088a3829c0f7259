// The options by which the `jov` commands over a dimension's components (components,
// compfunctions) list their rows: --flat, --filter, --sort ORDER[:COLUMN] and --depth, read
// here alike for both; each command resolves the sort column among its own columns.
#pragma once

#include <optional>
#include <string>

#include "analysis/component_options.h"
#include "command.h"

namespace jov {

inline constexpr OptionSpec kFlatOption = {"--flat", "",
                                           "list the components flat instead of as a tree"};
inline constexpr OptionSpec kFilterOption = {
    "--filter", "ROWS", "all, inuse (rows with lines read) or nonzero, with their parents"};
inline constexpr OptionSpec kDepthOption = {
    "--depth", "N", "show the tree down to level N (1: the top components)"};

struct RowRequest {
  RowFilter filter = RowFilter::kAll;
  ComponentSort sort = ComponentSort::kNone;
  std::optional<std::string> sort_column;  // as typed after the colon
  int depth = -1;                          // every level
};

// Reads --filter, --sort (named `sort_option`) and --depth. Nothing, or what is wrong.
std::optional<std::string> ReadRowOptions(const CommandArguments& arguments,
                                          std::string_view sort_option, RowRequest& request);

}  // namespace jov
