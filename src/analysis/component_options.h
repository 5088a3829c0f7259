// The settings of a component analysis: the dimension whose components form the rows, the value
// field that is summed, how rows are listed, filtered and sorted, the eight columns with their
// display options, and the chart's options. Templates store them as lines (component_template.h)
// and command documents give them as XML (component_xml.h).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/message_ids.h"

namespace jov {

// The columns, in their order. Before and After sum the lines of cards dated before and after
// the selection's range; Negative, Positive and Count those in the range.
enum class ComponentColumn : uint8_t {
  kBefore = 0,
  kNegative = 1,
  kPositive = 2,
  kPeriod = 3,  // negative + positive
  kCount = 4,   // lines in the range
  kAtEnd = 5,   // before + period
  kAfter = 6,
  kTotal = 7,  // before + period + after
};
inline constexpr int kComponentColumns = 8;
// The columns' letters in templates, in column order.
inline constexpr std::string_view kColumnLetters = "BNPRCEAT";
// The columns' names in XML, in column order.
inline constexpr std::array<std::string_view, kComponentColumns> kColumnXmlNames = {
    "before", "negative", "positive", "period", "count", "atend", "after", "total"};

std::optional<ComponentColumn> ColumnOfLetter(char letter);
// Ignoring case.
std::optional<ComponentColumn> ColumnOfXmlName(std::string_view name);
char ColumnLetter(ComponentColumn column);
// "Before" ... "Total".
MessageId ColumnTitle(ComponentColumn column);

// How sibling rows are ordered by their sort key.
enum class ComponentSort : uint8_t {
  kNone = 0,                // hierarchy order
  kDescending = 1,          // by value, largest first
  kCombinedDescending = 2,  // positives largest first, negatives largest magnitude first, zeros
  kAbsoluteDescending = 3,  // by magnitude, largest first
  kAbsoluteAscending = 4,   // by magnitude, zeros first
  kCombinedAscending = 5,   // zeros, positives smallest first, negatives smallest magnitude first
  kAscending = 6,           // by value, smallest first
};
inline constexpr int kSortOrders = 7;
// The orders' letters in templates, in order.
inline constexpr std::string_view kSortLetters = "-DEFCBA";
// The orders' names in XML; ascending has none there.
inline constexpr std::array<std::string_view, kSortOrders> kSortXmlNames = {
    "none", "desc", "combdesc", "absdesc", "absasc", "combasc", ""};

// Which rows are listed.
enum class RowFilter : uint8_t {
  kAll = 0,
  kInUse = 1,    // rows with lines in the range, and their ancestors
  kNonZero = 2,  // rows with a non-zero shown value, and their ancestors
};

// Decimals of a column or the chart scale: 0..6 decimals, or the two scaled forms, thousands
// ("T") and millions ("M"), written with one character of "MT0123456" (the index is the
// decimals + 2).
inline constexpr int kThousands = -1;
inline constexpr int kMillions = -2;
inline constexpr int kMaxShownDecimals = 6;
inline constexpr std::string_view kDecimalsLetters = "MT0123456";
std::optional<int> DecimalsOfLetter(char letter);
char DecimalsLetter(int decimals);

struct ColumnOptions {
  bool visible = false;
  bool bold = false;
  bool red_green = false;  // colour the value by its sign
  bool sublevels = false;  // always show the row's subtree total
  int decimals = 2;        // kMillions..kMaxShownDecimals
  int width = 0;           // pixels; 0 (or below kMinStoredWidth) for the default
  bool operator==(const ColumnOptions&) const = default;
};

// A width narrower than this is not stored: the column takes its default.
inline constexpr int kMinStoredWidth = 16;

struct ComponentAnalysisOptions {
  int view_dimension = 1;  // index 0..15: the second dimension, where imported accounts stand
  int value_field = 0;
  bool flat = false;
  RowFilter filter = RowFilter::kAll;
  ComponentSort sort = ComponentSort::kNone;
  ComponentColumn sort_column = ComponentColumn::kPeriod;
  int indentation = 1;  // 0..2: the indentation step per level
  int chart_decimals = 2;
  ComponentColumn chart_column = ComponentColumn::kPeriod;
  bool global_sublevels = false;  // older form of the columns' sublevels flags
  bool option_zn = false;         // a chart option, kept
  int chart_scale_width = 0;
  std::array<ColumnOptions, kComponentColumns> columns;
  int pie_values = 1;     // 0 no labels, 1 whole percentages, 2 with one decimal
  bool option_zc = true;  // a chart option, kept
  // Which rows are expanded, as stored (see component_rows.h); empty: only the root.
  std::string expansion;

  // The standard settings for a database whose values show `decimals` decimals: Before,
  // Negative, Positive, Period and At End visible, Period bold.
  static ComponentAnalysisOptions Standard(int decimals);

  ColumnOptions& column(ComponentColumn kind) { return columns[static_cast<int>(kind)]; }
  const ColumnOptions& column(ComponentColumn kind) const {
    return columns[static_cast<int>(kind)];
  }
  // Whether the cards before (after) the range must be read: a visible column, the chart
  // column, or the sort column while sorting needs their sums.
  bool NeedsBefore() const;
  bool NeedsAfter() const;

  bool operator==(const ComponentAnalysisOptions&) const = default;
};

// The indentation steps' letters in templates, and the pie values' codes.
inline constexpr std::string_view kIndentationLetters = "FSD";
inline constexpr std::string_view kPieValueLetters = "-ID";

}  // namespace jov
