#include "analysis/time_functions_template.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/time_functions.h"
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

Lines Read(TimeFunctionsOptions& options, FunctionColumns& columns, const Lines& lines) {
  Lines refused;
  for (const std::string& line : lines) {
    if (!ReadTimeFunctionsOptionLine(line, options, columns)) refused.push_back(line);
  }
  return refused;
}

TEST(TimeFunctionsOptionsTest, LinesWriteOnlyWhatDiffersAndReadBack) {
  ResetProcess();
  Database db;
  FunctionColumns columns(db);
  TimeFunctionsOptions options;
  EXPECT_EQ(TimeFunctionsOptionLines(options), (Lines{"K\t000101\t001231"}));

  options.SetRange(PackDay(2024, 1, 1), PackDay(2024, 12, 31));
  options.period_kind = PeriodKind::kQuarters;
  options.label_width = 30;
  options.axis_maximum = 1500.25;
  options.axis_minimum = -20;
  options.show_card_titles = true;
  options.show_end_dates_only = true;
  options.chart = ChartType::kStacked;
  options.chart_text = "kept";
  const Lines lines = TimeFunctionsOptionLines(options);
  EXPECT_EQ(lines, (Lines{"K\t240101\t241231", "PLQ", "PW30", "SM\t1500.25", "SN\t-20", "LS", "ZT",
                          "ZN", "ZC\tkept"}));
  TimeFunctionsOptions read;
  EXPECT_TRUE(Read(read, columns, lines).empty());
  EXPECT_EQ(read, options);

  options.period_kind = PeriodKind::kTimeScale;
  options.time_scale = "Seasons";
  options.label_width = 23;  // too narrow to keep
  TimeFunctionsOptions scaled;
  Read(scaled, columns, TimeFunctionsOptionLines(options));
  EXPECT_EQ(scaled.period_kind, PeriodKind::kTimeScale);
  EXPECT_EQ(scaled.time_scale, "Seasons");
  EXPECT_EQ(scaled.label_width, 0);

  // Unknown letters leave the option; "WB" turns the columns read so far to the older form.
  columns.AddVariable("v");
  columns.AddFormula("f");
  TimeFunctionsOptions odd;
  EXPECT_EQ(Read(odd, columns, {"PL?", "PLX", "L?", "WB", "Q"}), (Lines{"Q"}));
  EXPECT_EQ(odd.period_kind, PeriodKind::kActiveDays);
  EXPECT_EQ(odd.chart, ChartType::kTime);
  EXPECT_EQ(static_cast<Variable&>(columns[0]).accumulation, Accumulation::kByPeriod);
  EXPECT_EQ(static_cast<Formula&>(columns[1]).graph, GraphStyle::kBars);
}

TEST(TimeFunctionsTemplateTest, TemplatesReadAsAnalysesAndWriteBackUnchanged) {
  ResetProcess();
  Database db;
  db.AddComponent(0, "3000", "", "");
  db.SetValueFieldCount(2);
  SectionRegistry registry = DefaultSectionRegistry();
  auto kinds = std::make_shared<TemplateKinds>();
  kinds->Register(AnalysisKind::kTimeFunctions, &NewTimeFunctionsTemplateBody);
  UseTemplateKinds(registry, kinds);
  const std::string stored =
      "##JOV-Text\t001219\r\n"
      "##Templates\r\n"
      "#T\tMonthly sales\r\n"
      "xc\r\n"
      "VN\tsales\tSales\r\n"
      "VD1\t3000\r\n"
      "VFB\r\n"
      "VMSP\r\n"
      "VZ\tD0\tCU\tw2\tV+\tB+\tR-\r\n"
      "FN\tgrowth\r\n"
      "FF\tsales\r\n"
      "FDQ\r\n"
      "FGB\r\n"
      "FZ\tD2\tCR\tw1\tV+\tB-\tR+\r\n"
      "K\t240101\t241231\r\n"
      "PLM\r\n"
      "##End\r\n";
  {
    MemoryByteSource bytes(stored);
    LineSource lines(bytes);
    ASSERT_TRUE(ReadSections(db, lines, registry).ok);
  }
  AnalysisTemplate* found = AnalysisTemplates::Of(db).Find("monthly SALES");
  ASSERT_NE(found, nullptr);
  const auto* body = dynamic_cast<const TimeFunctionsTemplateBody*>(found->body.get());
  ASSERT_NE(body, nullptr);
  ASSERT_EQ(body->columns().size(), 2u);
  const auto& sales = static_cast<const Variable&>(body->columns()[0]);
  EXPECT_EQ(sales.value_field, 1);
  EXPECT_EQ(sales.accumulation, Accumulation::kByPeriod);
  EXPECT_EQ(sales.selection().component_expression(0), "3000");
  EXPECT_EQ(body->options().period_kind, PeriodKind::kMonths);

  StringByteSink written;
  ASSERT_TRUE(WriteSections(db, written, SaveSetup(), registry, {}));
  const size_t templates = written.text().find("##Templates");
  ASSERT_NE(templates, std::string::npos);
  EXPECT_EQ(written.text().substr(templates), stored.substr(stored.find("##Templates")));

  TimeFunctionsAnalysis analysis(db);
  analysis.Apply(found->frame, *body);
  EXPECT_EQ(analysis.Title(), "Monthly sales");
  const AnalysisTemplate again = analysis.ToTemplate("Monthly sales");
  const auto* again_body = dynamic_cast<const TimeFunctionsTemplateBody*>(again.body.get());
  ASSERT_NE(again_body, nullptr);
  EXPECT_EQ(again.frame, found->frame);
  EXPECT_EQ(again_body->options(), body->options());
  EXPECT_EQ(ColumnLines(again_body->columns()), ColumnLines(body->columns()));
}

}  // namespace
}  // namespace jov
