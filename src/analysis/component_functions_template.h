// The body of a component functions analysis template, after the frame's lines: the options'
// lines (component_functions_options.h), then the columns' (column_lines.h). A variable read
// with the measure First or Last is measured as Sum: the lines of a component have no order
// that would make one of them the first.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "analysis/column_lines.h"
#include "analysis/component_functions_options.h"
#include "analysis/function_columns.h"
#include "files/analysis_template.h"

namespace jov {

class ComponentFunctionsTemplateBody : public TemplateBody {
 public:
  explicit ComponentFunctionsTemplateBody(Database& database) : columns_(database) {}

  FunctionColumns& columns() { return columns_; }
  const FunctionColumns& columns() const { return columns_; }
  ComponentFunctionsOptions& options() { return options_; }
  const ComponentFunctionsOptions& options() const { return options_; }

  void BeginReading(uint32_t format_date) override;
  bool ReadLine(std::string_view line) override;
  void WriteLines(SectionOutput& output) const override;

 private:
  FunctionColumns columns_;
  ComponentFunctionsOptions options_;
  std::optional<ColumnLinesReader> reader_;
};

// How the templates section makes the body of component functions analysis templates.
std::unique_ptr<TemplateBody> NewComponentFunctionsTemplateBody(Database& database);

}  // namespace jov
