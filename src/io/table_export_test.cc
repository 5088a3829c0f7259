#include "io/table_export.h"

#include <gtest/gtest.h>

#include "analysis/fixed_table.h"
#include "files/xml_check_test_util.h"
#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"
#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/process.h"

namespace jov {
namespace {

TableCell Cell(std::string text, CellColour colour = CellColour::kDefault, bool bold = false) {
  return {
      .text = std::move(text), .alignment = CellAlignment::kRight, .bold = bold, .colour = colour};
}

// Three columns; a header row "Sum" and the data rows "x 1" and "y", whose last cells are
// empty.
class SmallTable : public FixedTable {
 public:
  SmallTable() {
    set_title("Lines");
    AddColumn({.title = "Account", .left = 0, .right = 80});
    AddColumn({.title = "Amount", .left = 80, .right = 140, .alignment = CellAlignment::kRight});
    AddColumn({.title = "Note", .left = 140, .right = 300, .bold = true});
    AddHeaderRow({Cell("Sum"), Cell("1"), Cell("")});
    AddDataRow({Cell("x"), Cell("1"), Cell("")});
    AddDataRow({Cell("y"), Cell(""), Cell("")});
  }
};

std::string Written(Table& table, const TableWriteOptions& options = {}) {
  StringByteSink bytes;
  LineSink out(bytes);
  WriteTable(table, out, options);
  out.Finish();
  return bytes.text();
}

class TableExportTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
};

TEST_F(TableExportTest, TextRowsLoseTrailingTabsAndFollowTheIncludedParts) {
  SmallTable table;
  EXPECT_EQ(Written(table), "Sum\t1\r\nx\t1\r\ny\r\n");

  ExportSettings& settings = table.export_settings();
  settings.include_header_rows = false;
  EXPECT_EQ(Written(table), "x\t1\r\ny\r\n");
  settings.include_header_rows = true;
  settings.include_data_rows = false;
  EXPECT_EQ(Written(table), "Sum\t1\r\n");

  settings.include_data_rows = true;
  settings.include_header_rows = false;
  settings.include_title = true;
  settings.include_notes = true;
  settings.include_column_titles = true;
  settings.include_definition = true;
  settings.between_fields = ';';
  settings.around_fields = '_';
  table.set_notes("first\r\rthird");
  table.AddDefinitionRow("From", "2024");
  EXPECT_EQ(Written(table),
            "_Lines_\r\n"
            "_first_\r\n\r\n_third_\r\n\r\n"
            "From\t2024\r\n\r\n"
            "_Account_;_Amount_;_Note_;\r\n"
            "_x_;_1_;__\r\n"
            "_y_;__;__\r\n");
}

TEST_F(TableExportTest, TextQuotesAndRowTerminators) {
  FixedTable table;
  table.AddColumn({.title = "it's \"A\""});
  table.AddColumn({.title = "B"});
  table.AddDataRow({Cell("say \"hi\""), Cell("o'k")});
  ExportSettings& settings = table.export_settings();
  settings.around_fields = separator::kDoubleQuote;
  settings.exclude_quotes = true;
  settings.include_column_titles = true;
  EXPECT_EQ(Written(table), "\"its A\"\t\"B\"\r\n\"say hi\"\t\"ok\"\r\n");

  settings.exclude_quotes = false;
  settings.around_fields = separator::kNone;
  settings.include_column_titles = false;
  settings.row_terminator = separator::kReturn;
  EXPECT_EQ(Written(table), "say \"hi\"\to'k\r");
  settings.row_terminator = separator::kLineFeed;
  EXPECT_EQ(Written(table), "say \"hi\"\to'k\n");
}

TEST_F(TableExportTest, HtmlPageInItsOrder) {
  SmallTable table;
  table.set_title("\xC5sa & <Co>");
  table.set_notes("Line <b>one</b>\rtwo");
  table.set_window_width(600);
  table.AddDataRow({Cell("-5", CellColour::kRed), Cell("5", CellColour::kGreen, true)});
  ExportSettings& settings = table.export_settings();
  settings.format = ExportFormat::kHtml;
  settings.include_title = true;
  settings.include_notes = true;
  settings.include_column_titles = true;
  settings.include_header_rows = false;
  settings.html_column_widths = true;
  EXPECT_EQ(Written(table),
            "<html>\r\n"
            "<title>&Aring;sa & &lt;Co&gt;</title>\r\n\r\n"
            "<body bgcolor=\"#ffffff\">\r\n"
            "<H2>&Aring;sa & &lt;Co&gt;</H2>\r\n\r\n"
            "<table border=0 cellspacing=0 cellpadding=0>\r\n"
            "<tr><td width=\"550\">\n"
            "Line <b>one</b><br>\r\ntwo<br>\r\n\r\n"
            "</td></tr>\r\n</table>\r\n<p>\r\n\r\n"
            "<table border=0 cellspacing=0 cellpadding=1>\r\n"
            "<tr><th width=\"80\" align=\"left\"> Account </th>\r\n"
            "<th width=\"60\" align=\"right\"> Amount </th>\r\n"
            "<th width=\"160\" align=\"left\"><b> Note </b></th>\r\n"
            "</tr>\r\n"
            "<tr><td align=\"right\"> x </td>\r\n<td align=\"right\"> 1 </td>\r\n"
            "<td align=\"right\">  </td>\r\n</tr>\r\n"
            "<tr><td align=\"right\"> y </td>\r\n<td align=\"right\">  </td>\r\n"
            "<td align=\"right\">  </td>\r\n</tr>\r\n"
            "<tr><td align=\"right\"><font color=\"red\"> -5 </font></td>\r\n"
            "<td align=\"right\"><font color=\"green\"><b> 5 </b></font></td>\r\n"
            "<td align=\"left\">  </td>\r\n</tr>\r\n"
            "</table>\r\n</body>\r\n</html>\r\n");
}

TEST_F(TableExportTest, HtmlWidthsGoToTheFirstRowOnlyWithoutTitles) {
  SmallTable table;
  table.export_settings().format = ExportFormat::kHtml;
  table.export_settings().html_column_widths = true;
  table.export_settings().include_definition = true;
  table.AddDefinitionRow("To", "<2025>");
  const std::string page = Written(table);
  EXPECT_NE(page.find("<body bgcolor=\"#ffffff\">\r\n<H4>Definition</H4>\r\n"
                      "<table border=0 cellspacing=0 cellpadding=1>\r\n"
                      "<tr><td>To</td><td>&lt;2025&gt;</td></tr>\r\n</table>\r\n<br>\r\n"),
            std::string::npos);
  EXPECT_NE(page.find("<tr><td width=\"80\" align=\"right\"> Sum </td>\r\n"
                      "<td width=\"60\" align=\"right\"> 1 </td>\r\n"
                      "<td width=\"160\" align=\"right\">  </td>"),
            std::string::npos);
  EXPECT_EQ(page.find("width=", page.find("</tr>", page.find(" Sum "))), std::string::npos);
  EXPECT_EQ(page.find("<title>"), std::string::npos);
  EXPECT_EQ(page.find("<th"), std::string::npos);
}

// A table with a title, notes and cells that need escaping, as the XML entry point writes it.
TEST_F(TableExportTest, XmlDocumentsAreWellFormed) {
  SmallTable table;
  table.set_title("Sales \"Q1\" & <more>");
  table.set_notes("Tom & Jerry\r<b>");
  table.AddDataRow({Cell("\xC5sa & <Co>"), Cell("a\x01"
                                                "b")});
  ExportSettings& settings = table.export_settings();
  settings.format = ExportFormat::kXml;
  settings.include_title = true;
  settings.include_notes = true;
  settings.include_column_titles = true;
  const std::string document = Written(table, {.xml_header = true});
  EXPECT_TRUE(
      document.starts_with("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n\r\n"
                           "<JOV-Table title=\"Sales &quot;Q1&quot; &amp; &lt;more&gt;\">\r\n"
                           "<notes>\r\nTom &amp; Jerry\r&lt;b&gt;\r\n</notes>\r\n"
                           "<columns>\r\n<column>Account</column>\r\n"));
  EXPECT_NE(document.find("<header>\r\n<cell>Sum</cell>\r\n<cell>1</cell>\r\n<cell></cell>\r\n"
                          "</header>\r\n<row>\r\n<cell>x</cell>"),
            std::string::npos);
  EXPECT_NE(document.find("<cell>\xC5sa &amp; &lt;Co&gt;</cell>\r\n<cell>a b</cell>"),
            std::string::npos);
  EXPECT_TRUE(document.ends_with("</row>\r\n</JOV-Table>\r\n"));
  JOV_REQUIRE_XML_PARSER();
  EXPECT_TRUE(testing::WellFormedXml(document)) << document;
}

// A table with forms of its own; it also sees the chosen number separators while it is written.
class OwnFormsTable : public SmallTable {
 public:
  bool WriteOwnXml(LineSink& out) override {
    out.WriteLine("<JOV-Own/>");
    return true;
  }
  bool WriteOwnText(LineSink& out) override {
    out.WriteLine("own text");
    return true;
  }
  void PrepareExport() override { seen = Process().separators; }
  NumberSeparators seen;
};

TEST_F(TableExportTest, OwnFormsAndNumberSeparatorsForTheTimeOfWriting) {
  Process().system_separators = {.decimal = ',', .thousand = ' '};
  Process().separators = {.decimal = '!', .thousand = '?'};
  OwnFormsTable table;
  ExportSettings& settings = table.export_settings();
  settings.thousand = separator::kPoint;
  EXPECT_EQ(Written(table), "own text\r\n");
  EXPECT_EQ(table.seen, (NumberSeparators{',', '.'}));
  EXPECT_EQ(Process().separators, (NumberSeparators{'!', '?'}));

  settings.format = ExportFormat::kXml;
  EXPECT_EQ(Written(table), "<JOV-Own/>\r\n");
  EXPECT_EQ(Written(table, {.xml_header = true, .encoding = "UTF-8"}),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<JOV-Own/>\r\n");
  table.export_settings().format = ExportFormat::kHtml;
  EXPECT_NE(Written(table).find("<td"), std::string::npos);  // HTML is always the common page
}

// Rows of exactly 100 bytes with their row terminator.
FixedTable HundredByteRows(int count) {
  FixedTable table;
  table.AddColumn({});
  table.AddColumn({});
  for (int i = 0; i < count; ++i)
    table.AddDataRow({Cell(std::string(48, 'a')), Cell(std::string(49, 'b'))});
  return table;
}

TEST_F(TableExportTest, CopyStopsAfterTheRowThatReachesTheLimit) {
  FixedTable table = HundredByteRows(100);
  ExportSettings& settings = table.export_settings();
  settings.copy_extent = CopyExtent::kMax3K;
  EXPECT_EQ(CopyTableText(table).size(), 31u * 100);
  settings.copy_extent = CopyExtent::kAll;
  EXPECT_EQ(CopyTableText(table).size(), 100u * 100);
  settings.copy_extent = CopyExtent::kVisibleOnly;
  table.set_visible_rows({10, 15});
  EXPECT_EQ(CopyTableText(table).size(), 5u * 100);

  SmallTable small;
  small.export_settings().copy_between_fields = ',';
  small.export_settings().copy_around_fields = '\'';
  small.export_settings().copy_row_terminator = separator::kLineFeed;
  small.export_settings().include_header_rows = false;  // copying takes every row regardless
  EXPECT_EQ(CopyTableText(small), "'Sum','1',''\n'x','1',''\n'y','',''\n");
}

class TableFileTest : public TableExportTest {
 protected:
  TempDir dir_;
};

TEST_F(TableFileTest, ExportWritesTheWholeFileOrNothing) {
  SmallTable table;
  table.export_settings().format = ExportFormat::kXml;
  const std::string path = dir_.File("lines.xml");
  ASSERT_TRUE(ExportTableToFile(table, path));
  const std::optional<std::string> written = ReadWholeFile(path);
  ASSERT_TRUE(written.has_value());
  EXPECT_TRUE(written->starts_with("<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n\r\n"));
  EXPECT_TRUE(written->ends_with("</JOV-Table>\r\n"));

  const std::string nowhere = dir_.File("missing/lines.txt");
  EXPECT_FALSE(ExportTableToFile(table, nowhere));
  EXPECT_TRUE(StopRequested());
  EXPECT_EQ(Process().pending_error.record.message, msg::kUnableToOpen);
  EXPECT_EQ(Process().pending_error.record.argument_count, 1);
}

TEST_F(TableFileTest, ProposedNamesAndTheExportCommand) {
  SmallTable table;
  table.set_title("Lines: 2024/01 <A.B>\\x");
  EXPECT_EQ(ProposedExportFileName(table), "Lines 202401 ABx.txt");
  table.export_settings().format = ExportFormat::kHtml;
  EXPECT_EQ(ProposedExportFileName(table), "Lines 202401 ABx.htm");
  table.set_title("...");
  EXPECT_EQ(ProposedExportFileName(table), "Export.htm");
  table.set_title(std::string(300, 'n'));
  EXPECT_LT(ProposedExportFileName(table).size(), 200u);

  std::string proposed;
  const std::string path = dir_.File("chosen.htm");
  EXPECT_FALSE(ExportTableAs(table, [&](const std::string& name) -> std::optional<std::string> {
    proposed = name;
    return std::nullopt;
  }));
  EXPECT_EQ(proposed, ProposedExportFileName(table));
  EXPECT_TRUE(ExportTableAs(table, [&](const std::string&) { return path; }));
  EXPECT_TRUE(ReadWholeFile(path)->starts_with("<html>\r\n"));
}

class StoppingTable : public SmallTable {
 public:
  bool Calculate() override {
    RequestStop();
    return true;
  }
};

TEST_F(TableFileTest, AStopWhileCalculatingEndsTheCommandBeforeTheFileIsChosen) {
  StoppingTable table;
  bool asked = false;
  EXPECT_FALSE(ExportTableAs(table, [&](const std::string&) -> std::optional<std::string> {
    asked = true;
    return std::nullopt;
  }));
  EXPECT_FALSE(asked);
}

}  // namespace
}  // namespace jov
