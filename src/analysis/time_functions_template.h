// The body of a time functions analysis template: its columns' lines (column_lines.h) first,
// then the options' lines (time_functions_options.h), after the frame's.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "analysis/column_lines.h"
#include "analysis/function_columns.h"
#include "analysis/time_functions_options.h"
#include "files/analysis_template.h"

namespace jov {

class TimeFunctionsTemplateBody : public TemplateBody {
 public:
  explicit TimeFunctionsTemplateBody(Database& database) : columns_(database) {}

  FunctionColumns& columns() { return columns_; }
  const FunctionColumns& columns() const { return columns_; }
  TimeFunctionsOptions& options() { return options_; }
  const TimeFunctionsOptions& options() const { return options_; }

  void BeginReading(uint32_t format_date) override;
  bool ReadLine(std::string_view line) override;
  void WriteLines(SectionOutput& output) const override;

 private:
  FunctionColumns columns_;
  TimeFunctionsOptions options_;
  std::optional<ColumnLinesReader> reader_;
};

// How the templates section makes the body of time functions analysis templates.
std::unique_ptr<TemplateBody> NewTimeFunctionsTemplateBody(Database& database);

}  // namespace jov
