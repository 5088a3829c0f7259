// Transform: changed copies of a window's data written into cards, or the data changed in
// place. Cards move from a source date range into a target range; components of chosen
// dimensions are replaced; value fields are recomputed by formulas over the line's fields and
// its card's position in the range ("T"); card titles, notes and line texts are edited by text
// rules. What is listed at the card level moves with its card; listed groups and lines move (or
// are copied) into the card their card becomes.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "analysis/transform_rules.h"
#include "analysis/window_lines.h"
#include "model/database.h"

namespace jov {

struct TransformSettings {
  bool keep_source = false;  // "A": write changed copies and keep the data as it is
  // YYMMDD texts. The source range defaults to the first and last day of the window's data;
  // without a target end and begin no card moves.
  std::string source_begin;
  std::string source_end;
  std::string target_begin;
  std::string target_end;
  // Per dimension: the code of the replacement component, "\" for the dimension's root (no
  // component), empty for none.
  std::array<std::string, kDimensionCount> replacement;
  TextRule title;
  TextRule notes;
  TextRule line_text;
  // Per value field: the formula that recomputes it, empty for none.
  std::array<std::string, Database::kMaxValueFields> formulas;
};

// The root's code in a replacement.
inline constexpr std::string_view kRootReplacement = "\\";

// Applies the option tokens of the "transform" command in order: "A" alone, or a key, "=" and
// a value: "CB", "CE", "CF", "CT" (dates), "D" n (a component code of dimension n), "TF"/"TT",
// "NF"/"NT", "LF"/"LT" (text rules), "V" c with c "1"-"9" or "A"-"X", and "V" for field 1 (a
// formula; one equal to the field's own name means none). Keys are read ignoring case. Returns
// the tokens it did not accept: unknown keys, unreadable dates, dimensions and value fields the
// database does not have, and codes it does not know.
std::vector<std::string> ApplyTransformOptions(TransformSettings& settings,
                                               const Database& database,
                                               std::span<const std::string> tokens);

struct TransformResult {
  size_t cards = 0;       // cards of the window worked on
  size_t lines = 0;       // lines changed, moved or copied
  size_t cards_made = 0;  // new cards
};

// Transforms the window's data at its level. Nothing happens when the window holds no line or
// no user's stamp can be had (then false).
bool Transform(Database& database, const WindowLines& window, const TransformSettings& settings,
               TransformResult* result = nullptr);

}  // namespace jov
