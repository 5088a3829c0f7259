#include "analysis/component_xml.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/xml_channel_test_util.h"
#include "files/xml_check_test_util.h"
#include "model/database.h"
#include "shell/process.h"

namespace jov {
namespace {

using Column = ComponentColumn;

using testing::CollectingChannel;

// Accounts (dimension 2): 1 "R&D <Lab>" with host 1000, and 10 below it; customers (dimension
// 3): K1. A line of 2024 on 10 and one of 2023 on 1.
class ComponentXmlTest : public ::testing::Test {
 protected:
  ComponentXmlTest() {
    ResetProcess();
    db_.AddComponent(1, "1", "R&D <Lab>", "1000");
    db_.AddComponent(1, "10", "", "");
    db_.AddComponent(2, "K1", "", "");
    db_.dimension(1).SetPluralName("Accounts");
    db_.dimension(2).SetPluralName("Customers");
    db_.FlushChangeFlags();
    AddLine("10", 12.5, PackDay(2024, 2, 1));
    AddLine("1", -3, PackDay(2023, 2, 1));
  }

  void AddLine(std::string_view account, double value, DayCode day) {
    CardStore& cards = db_.cards();
    const CardRef card = cards.CreateCard({day, 0});
    const LineRef line = cards.CreateLine(cards.FindOrAddGroup(card, 0));
    const ComponentRef slots[] = {db_.FindByCode(1, account)};
    cards.SetComponents(line, slots);
    const double values[] = {value};
    cards.SetValues(line, values);
  }

  static std::string Xml(const ComponentAnalysis& analysis) {
    StringByteSink bytes;
    LineSink out(bytes, "\n");
    WriteComponentsXml(analysis, out);
    out.Finish();
    return bytes.text();
  }

  Database db_;
};

TEST_F(ComponentXmlTest, TheResultHasItsTitleNotesDefinitionAndShownRows) {
  ComponentAnalysis analysis(db_);
  analysis.set_title("Balance & more");
  analysis.set_notes("First line\rSecond <line>");
  analysis.selection().SetFrom("240101");
  analysis.options().expansion = "\\";
  for (ColumnOptions& column : analysis.options().columns) column.visible = false;
  analysis.options().column(Column::kBefore).visible = true;
  analysis.options().column(Column::kPeriod).visible = true;
  ExportSettings& settings = analysis.export_settings();
  settings.include_title = settings.include_notes = settings.include_definition = true;
  EXPECT_EQ(Xml(analysis),
            "<JOV-Components title=\"Balance &amp; more\">\n"
            "<notes>\nFirst line\nSecond &lt;line&gt;\n</notes>\n\n"
            "<selection>\n<from>240101</from>\n<to>File</to>\n</selection>\n"
            "</JOV-Components>\n");  // not calculated: no rows
  ASSERT_TRUE(analysis.Calculate());
  settings.include_notes = settings.include_definition = false;
  EXPECT_EQ(Xml(analysis),
            "<JOV-Components title=\"Balance &amp; more\">\n"
            "<component root=\"Accounts\">\n<before>0.00</before>\n<period>0.00</period>\n"
            "</component>\n"
            "<component code=\"1\" text=\"R&amp;D &lt;Lab&gt;\" host=\"1000\">\n"
            "<before>-3.00</before>\n<period>0.00</period>\n</component>\n"
            "<component code=\"10\">\n<before>0.00</before>\n<period>12.50</period>\n"
            "</component>\n"
            "</JOV-Components>\n");
  settings.include_data_rows = false;
  EXPECT_EQ(Xml(analysis), "<JOV-Components title=\"Balance &amp; more\">\n</JOV-Components>\n");
}

TEST_F(ComponentXmlTest, TheResultIsWellFormedXml) {
  JOV_REQUIRE_XML_PARSER();
  ComponentAnalysis analysis(db_);
  analysis.set_title("Saldo f\xF6r <\xC5r>");
  analysis.set_notes("Notes & \"quotes\"");
  analysis.selection().SetComponentExpression(1, "1");
  analysis.options().expansion = "\\";
  ExportSettings& settings = analysis.export_settings();
  settings.include_title = settings.include_notes = settings.include_definition = true;
  ASSERT_TRUE(analysis.Calculate());
  EXPECT_TRUE(testing::WellFormedXml("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n" +
                                     Xml(analysis)));
}

TEST_F(ComponentXmlTest, OptionsAreReadFromATemplateElementAndMistakesReported) {
  const std::string document =
      "<template type=\"components\">\n"
      "<selection><from>230101</from><dim num=\"3\">K1</dim></selection>\n"
      "<columns before=\"off\" period=\"bold\" Count=\"on\" total=\"on\" atend=\"\"/>\n"
      "<viewdim name=\"Customers\" expand=\"all\" structure=\"flat\" filter=\"inuse\"/>\n"
      "<sort order=\"absdesc\" column=\"total\"/>\n"
      "<values decimals=\"T\" sublevels=\"include\"/>\n"
      "<export-options format=\"html\" title=\"on\" between=\"semicolon\" around=\"xy\"/>\n"
      "<bogus><nested/></bogus>\n"
      "<columns weird=\"on\" period=\"maybe\"/>\n"
      "<viewdim num=\"17\" structure=\"tree\"/>\n"
      "<sort order=\"asc\"/>\n"
      "<export-options colour=\"red\" data=\"perhaps\"/>\n"
      "</template>\n";
  CollectingChannel errors;
  XmlReader reader(document, &errors);
  ASSERT_EQ(reader.Next(), XmlReader::Event::kStart);
  ComponentAnalysis analysis(db_);
  ASSERT_TRUE(ReadComponentXmlOptions(reader, analysis));
  EXPECT_EQ(reader.Next(), XmlReader::Event::kText);

  const ComponentAnalysisOptions& options = analysis.options();
  EXPECT_FALSE(options.column(Column::kBefore).visible);
  EXPECT_TRUE(options.column(Column::kPeriod).visible && options.column(Column::kPeriod).bold);
  EXPECT_TRUE(options.column(Column::kCount).visible && !options.column(Column::kCount).bold);
  EXPECT_FALSE(options.column(Column::kAtEnd).visible);
  EXPECT_TRUE(options.column(Column::kTotal).visible);
  EXPECT_EQ(options.view_dimension, 2);
  EXPECT_EQ(options.expansion, "\\");
  EXPECT_FALSE(options.flat);  // the last "viewdim" had no structure it knows
  EXPECT_EQ(options.filter, RowFilter::kInUse);
  EXPECT_EQ(options.sort, ComponentSort::kAbsoluteDescending);
  EXPECT_EQ(options.sort_column, Column::kTotal);
  for (const ColumnOptions& column : options.columns) {
    EXPECT_EQ(column.decimals, kThousands);
    EXPECT_TRUE(column.sublevels);
  }
  EXPECT_EQ(analysis.selection().from().Text(), "230101");
  EXPECT_EQ(analysis.selection().component_expression(2), "K1");
  const ExportSettings& settings = analysis.export_settings();
  EXPECT_EQ(settings.format, ExportFormat::kHtml);
  EXPECT_TRUE(settings.include_title);
  EXPECT_EQ(settings.between_fields, ';');
  EXPECT_TRUE(settings.include_data_rows);
  EXPECT_EQ(errors.reports,
            (std::vector<std::string>{
                "Unknown value \"xy\" for attribute \"around\".", "Unknown tag \"bogus\".",
                "Unknown attribute \"weird\".", "Unknown value \"maybe\" for attribute \"period\".",
                "Unknown value \"17\" for attribute \"num\".",
                "Unknown value \"tree\" for attribute \"structure\".",
                "Unknown value \"asc\" for attribute \"order\".", "Unknown attribute \"colour\".",
                "Unknown value \"perhaps\" for attribute \"data\"."}));
}

}  // namespace
}  // namespace jov
