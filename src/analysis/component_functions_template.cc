#include "analysis/component_functions_template.h"

#include <array>

#include "files/file_kind.h"
#include "files/section_output.h"

namespace jov {

void ComponentFunctionsTemplateBody::BeginReading(uint32_t format_date) {
  reader_.emplace(columns_, format_date);
}

bool ComponentFunctionsTemplateBody::ReadLine(std::string_view line) {
  if (!reader_) reader_.emplace(columns_, kOwnFormatDate);
  if (!reader_->ReadLine(line)) return ReadComponentFunctionsOptionLine(line, options_);
  if (FunctionColumn* column = reader_->current(); column != nullptr && column->is_variable()) {
    auto& variable = static_cast<Variable&>(*column);
    if (variable.measure == Measure::kFirst || variable.measure == Measure::kLast) {
      variable.measure = Measure::kSum;
    }
  }
  return true;
}

void ComponentFunctionsTemplateBody::WriteLines(SectionOutput& output) const {
  std::array<int, kDimensionCount> numbers{};
  for (int d = 0; d < kDimensionCount; ++d) numbers[d] = output.NumberOf(d);
  for (const std::string& line : ComponentFunctionsOptionLines(options_, &numbers)) {
    output.sink().WriteLine(line);
  }
  for (const std::string& line : ColumnLines(columns_, &numbers)) output.sink().WriteLine(line);
}

std::unique_ptr<TemplateBody> NewComponentFunctionsTemplateBody(Database& database) {
  return std::make_unique<ComponentFunctionsTemplateBody>(database);
}

}  // namespace jov
