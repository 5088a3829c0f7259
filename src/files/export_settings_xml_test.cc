#include "files/export_settings_xml.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/xml_channel_test_util.h"
#include "shell/process.h"

namespace jov {
namespace {

using testing::CollectingChannel;

ExportSettings Read(std::string_view element, CollectingChannel& errors) {
  const std::string document = std::string(element) + "<next/>";
  XmlReader reader(document, &errors);
  EXPECT_EQ(reader.Next(), XmlReader::Event::kStart);
  ExportSettings settings;
  EXPECT_TRUE(ReadExportSettingsXml(reader, settings));
  EXPECT_EQ(reader.Next(), XmlReader::Event::kStart);  // the element was read to its end
  EXPECT_EQ(reader.name(), "next");
  return settings;
}

TEST(ExportSettingsXmlTest, EverySettingByNameAndWord) {
  ResetProcess();
  CollectingChannel errors;
  const ExportSettings read = Read(
      "<export-options Format=\"XML\" title=\"on\" columntitles=\"on\" notes=\"on\" "
      "definition=\"on\" headers=\"off\" data=\"off\" columnwidths=\"on\" excludequotes=\"on\" "
      "decimal=\"comma\" thousand=\"padding\" between=\";\" around=\"quote\" "
      "terminator=\"linefeed\"><ignored/></export-options>",
      errors);
  ExportSettings expected;
  expected.format = ExportFormat::kXml;
  expected.include_title = expected.include_column_titles = expected.include_notes = true;
  expected.include_definition = expected.html_column_widths = expected.exclude_quotes = true;
  expected.include_header_rows = expected.include_data_rows = false;
  expected.decimal = separator::kComma;
  expected.thousand = separator::kPadding;
  expected.between_fields = separator::kSemicolon;
  expected.around_fields = separator::kDoubleQuote;
  expected.row_terminator = separator::kLineFeed;
  EXPECT_EQ(read, expected);
  EXPECT_TRUE(errors.reports.empty());
}

TEST(ExportSettingsXmlTest, UnknownNamesAndWordsAreReportedAndChangeNothing) {
  ResetProcess();
  CollectingChannel errors;
  const ExportSettings read =
      Read("<export-options format=\"pdf\" title=\"yes\" between=\"tabs\" size=\"2\"/>", errors);
  EXPECT_EQ(read, ExportSettings());
  EXPECT_EQ(errors.reports,
            (std::vector<std::string>{"Unknown value \"pdf\" for attribute \"format\".",
                                      "Unknown value \"yes\" for attribute \"title\".",
                                      "Unknown value \"tabs\" for attribute \"between\".",
                                      "Unknown attribute \"size\"."}));
}

}  // namespace
}  // namespace jov
