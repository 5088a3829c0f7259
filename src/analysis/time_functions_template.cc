#include "analysis/time_functions_template.h"

#include <array>

#include "files/file_kind.h"
#include "files/section_output.h"

namespace jov {

void TimeFunctionsTemplateBody::BeginReading(uint32_t format_date) {
  reader_.emplace(columns_, format_date);
}

bool TimeFunctionsTemplateBody::ReadLine(std::string_view line) {
  if (!reader_) reader_.emplace(columns_, kOwnFormatDate);
  return reader_->ReadLine(line) || ReadTimeFunctionsOptionLine(line, options_, columns_);
}

void TimeFunctionsTemplateBody::WriteLines(SectionOutput& output) const {
  std::array<int, kDimensionCount> numbers{};
  for (int d = 0; d < kDimensionCount; ++d) numbers[d] = output.NumberOf(d);
  for (const std::string& line : ColumnLines(columns_, &numbers)) output.sink().WriteLine(line);
  for (const std::string& line : TimeFunctionsOptionLines(options_)) {
    output.sink().WriteLine(line);
  }
}

std::unique_ptr<TemplateBody> NewTimeFunctionsTemplateBody(Database& database) {
  return std::make_unique<TimeFunctionsTemplateBody>(database);
}

}  // namespace jov
