#include "analysis/component_functions_template.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_kinds.h"
#include "analysis/component_functions.h"
#include "files/line_source.h"
#include "files/save_setup.h"
#include "files/section_reader.h"
#include "files/section_writer.h"
#include "files/templates_section.h"
#include "model/database.h"
#include "shell/process.h"

namespace jov {
namespace {

using Lines = std::vector<std::string>;

TEST(ComponentFunctionsOptionsTest, LinesWriteOnlyWhatDiffersAndReadBack) {
  ComponentFunctionsOptions options;
  EXPECT_EQ(ComponentFunctionsOptionLines(options), (Lines{"RS", "ZX"}));

  options.view_dimension = 2;
  options.flat = true;
  options.filter = RowFilter::kNonZero;
  options.sort = ComponentSort::kCombinedDescending;
  options.sort_column = "margin %";
  options.label_width = 200;
  options.indentation = 2;
  options.horizontal_grid = 3;
  options.vertical_grid = true;
  options.size_factor = 4;
  options.include_sublevels = true;
  options.expansion = "|ADM|";
  const Lines lines = ComponentFunctionsOptionLines(options);
  EXPECT_EQ(lines, (Lines{"K\tFZ", "PD3", "PW200", "RD", "S\tE\tmargin %", "L3", "N4", "ZI", "ZV",
                          "ZX|ADM|"}));
  ComponentFunctionsOptions read;
  for (const std::string& line : lines) EXPECT_TRUE(ReadComponentFunctionsOptionLine(line, read));
  EXPECT_EQ(read, options);

  // The default width is not stored; values out of range and unknown letters change nothing.
  options = ComponentFunctionsOptions();
  options.label_width = kDefaultLabelWidth;
  EXPECT_EQ(ComponentFunctionsOptionLines(options), (Lines{"RS", "ZX"}));
  ComponentFunctionsOptions odd;
  for (const char* line : {"PD0", "PD17", "R?", "L9", "N?", "K\t??", "S\t?"}) {
    EXPECT_TRUE(ReadComponentFunctionsOptionLine(line, odd)) << line;
  }
  EXPECT_EQ(odd, ComponentFunctionsOptions());
  for (const char* line : {"VN\ta", "FS", "P", "Z?", "Q"}) {
    EXPECT_FALSE(ReadComponentFunctionsOptionLine(line, odd)) << line;
  }
}

class ComponentFunctionsTemplateTest : public ::testing::Test {
 protected:
  ComponentFunctionsTemplateTest() {
    ResetProcess();
    db_.AddComponent(0, "3000", "", "");
    db_.SetValueFieldCount(2);
  }

  bool Read(const std::string& text) {
    MemoryByteSource bytes(text);
    LineSource lines(bytes);
    return ReadSections(db_, lines, registry_).ok;
  }

  const ComponentFunctionsTemplateBody* Body(std::string_view name) {
    const AnalysisTemplate* found = AnalysisTemplates::Of(db_).Find(name);
    return found != nullptr ? dynamic_cast<const ComponentFunctionsTemplateBody*>(found->body.get())
                            : nullptr;
  }

  Database db_;
  SectionRegistry registry_ = [] {
    SectionRegistry registry = DefaultSectionRegistry();
    UseTemplateKinds(registry, std::make_shared<TemplateKinds>(AnalysisTemplateKinds()));
    return registry;
  }();
};

TEST_F(ComponentFunctionsTemplateTest, TemplatesReadAsAnalysesAndWriteBackUnchanged) {
  const std::string stored =
      "##JOV-Text\t001219\r\n"
      "##Templates\r\n"
      "#R\tMargins\r\n"
      "xc\r\n"
      "K\tHU\r\n"
      "PD1\r\n"
      "RS\r\n"
      "S\tD\tmargin\r\n"
      "ZX|3000|\r\n"
      "VN\tsales\tSales\r\n"
      "VD1\t3000\r\n"
      "VFA\r\n"
      "VMsP\r\n"
      "VZ\tD0\tCU\tw2\tV+\tB+\tR-\r\n"
      "FN\tmargin\r\n"
      "FF\tsales / 2\r\n"
      "FGL\r\n"
      "FSL\r\n"
      "FZ\tD2\tCR\tw1\tV+\tB-\tR+\r\n"
      "##End\r\n";
  ASSERT_TRUE(Read(stored));
  const ComponentFunctionsTemplateBody* body = Body("margins");
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->options().view_dimension, 0);
  EXPECT_EQ(body->options().filter, RowFilter::kInUse);
  EXPECT_EQ(body->options().sort_column, "margin");
  ASSERT_EQ(body->columns().size(), 2u);
  const auto& sales = static_cast<const Variable&>(body->columns()[0]);
  EXPECT_EQ(sales.measure, Measure::kNegativeSum);
  EXPECT_EQ(sales.accumulation, Accumulation::kByPeriod);
  EXPECT_EQ(static_cast<const Formula&>(body->columns()[1]).higher_levels,
            HigherLevels::kSumOfLowerLevels);

  StringByteSink written;
  ASSERT_TRUE(WriteSections(db_, written, SaveSetup(), registry_, {}));
  const size_t templates = written.text().find("##Templates");
  ASSERT_NE(templates, std::string::npos);
  EXPECT_EQ(written.text().substr(templates), stored.substr(stored.find("##Templates")));

  // Opened as its analysis and stored again, nothing changes.
  const std::unique_ptr<Table> table =
      OpenTemplate(db_, *AnalysisTemplates::Of(db_).Find("Margins"));
  auto* analysis = dynamic_cast<ComponentFunctionsAnalysis*>(table.get());
  ASSERT_NE(analysis, nullptr);
  EXPECT_EQ(analysis->Title(), "Margins");
  const AnalysisTemplate again = analysis->ToTemplate("Margins");
  const auto* again_body = dynamic_cast<const ComponentFunctionsTemplateBody*>(again.body.get());
  ASSERT_NE(again_body, nullptr);
  EXPECT_EQ(again_body->options(), body->options());
  EXPECT_EQ(ColumnLines(again_body->columns()), ColumnLines(body->columns()));
}

TEST_F(ComponentFunctionsTemplateTest, FirstAndLastAreReadAsSum) {
  ASSERT_TRUE(
      Read("##JOV-Text\t001219\r\n##Templates\r\n#R\tOdd\r\n"
           "VN\tfirst\r\nVMFA\r\nVN\tlast\r\nVMLP\r\nVN\tmaximum\r\nVMMA\r\n##End\r\n"));
  const ComponentFunctionsTemplateBody* body = Body("Odd");
  ASSERT_NE(body, nullptr);
  ASSERT_EQ(body->columns().size(), 3u);
  const auto measure = [&](size_t i) {
    return static_cast<const Variable&>(body->columns()[i]).measure;
  };
  EXPECT_EQ(measure(0), Measure::kSum);
  EXPECT_EQ(measure(1), Measure::kSum);
  EXPECT_EQ(measure(2), Measure::kMaximum);
  EXPECT_EQ(static_cast<const Variable&>(body->columns()[1]).accumulation, Accumulation::kByPeriod);
}

}  // namespace
}  // namespace jov
