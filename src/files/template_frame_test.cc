#include "files/template_frame.h"

#include <gtest/gtest.h>

#include <sstream>

namespace jov {
namespace {

std::string Written(const TemplateFrame& frame) {
  StringByteSink bytes;
  LineSink out(bytes, "\n");
  std::string scratch;
  frame.WriteLines(out, scratch);
  out.Finish();
  return bytes.text();
}

TemplateFrame ReadBack(const std::string& lines) {
  TemplateFrame frame;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) {
    EXPECT_TRUE(frame.ReadLine(line)) << line;
  }
  return frame;
}

TEST(TemplateFrameTest, DefaultsWriteNothingAndEveryLineReadsBackToTheSameFrame) {
  EXPECT_EQ(Written(TemplateFrame()), "");

  TemplateFrame frame;
  frame.open_directly = frame.calculate_directly = frame.zoom_directly = true;
  frame.position_x = 12, frame.position_y = -4;
  frame.width = 640, frame.height = 480;
  frame.kept_number_e = 7, frame.kept_number_m = -2;
  frame.selection_lines = {"sVNBig ones", "sVV1\t>1000"};
  frame.kept_text_m = "main", frame.kept_text_w = "wide";
  frame.print.flags = {false, false, true, true, false, false, false, true, true};
  frame.print.choice = 's';
  ExportSettings& e = frame.export_settings;
  e.chart_creator = "8BIM", e.chart_type = "PICT";
  e.chart_width = 300, e.chart_height = 200;
  e.creator = "XCEL";
  e.format = ExportFormat::kXml;
  e.include_title = e.include_notes = e.include_definition = e.include_column_titles = true;
  e.include_header_rows = e.include_data_rows = false;
  e.decimal = ',', e.thousand = separator::kPadding, e.between_fields = ';';
  e.around_fields = '\t', e.row_terminator = separator::kReturn;
  e.exclude_quotes = e.html_column_widths = true;
  frame.notes = "First\rsecond\twith a tab";
  const std::string written = Written(frame);
  EXPECT_EQ(written,
            "xo\nxc\nxz\nxP\t12\t-4\nxS\t640\t480\nxE\t7\nxM\t-2\n"
            "sVNBig ones\nsVV1\t>1000\nxLm\tmain\nxLw\twide\n"
            "xpt\nxpu\nxpm\nxpn\nxpc\nxpd\nxpa\nxph\nxpi\nxpp\ts\n"
            "xep\t8BIM\nxeg\tPICT\nxeW\t300\nxeH\t200\nxec\tXCEL\nxex\n"
            "xet\nxes\nxee\nxer\nxeh\nxea\n"
            "xed\t,\nxem\t#B\nxef\t;\nxeq\t#9\nxen\t#13\nxek\nxel\n"
            "xN\tFirst\x03second\x04with a tab\n");
  EXPECT_EQ(ReadBack(written), frame);
}

TEST(TemplateFrameTest, OnlyTheLinesThatDifferAreWritten) {
  TemplateFrame frame;
  frame.export_settings.format = ExportFormat::kHtml;
  frame.export_settings.between_fields = ';';
  EXPECT_EQ(Written(frame), "xew\nxef\t;\n");
  frame = TemplateFrame();
  frame.width = 300;  // a size, but no fixed position
  EXPECT_EQ(Written(frame), "xS\t300\t0\n");
}

// Print flag 1 off is written "xpt"; it reads back off, as the "xpw" of earlier files does.
TEST(TemplateFrameTest, PrintFlagOneOffReadsBackOff) {
  TemplateFrame frame;
  frame.print.flags[0] = false;
  EXPECT_EQ(Written(frame), "xpt\n");
  EXPECT_FALSE(ReadBack("xpt\n").print.flags[0]);
  EXPECT_FALSE(ReadBack("xpw\n").print.flags[0]);
  EXPECT_TRUE(TemplateFrame().print.flags[0]);
}

TEST(TemplateFrameTest, SeparatorTokens) {
  const std::pair<uint8_t, const char*> written[] = {
      {'\t', "#9"},   {separator::kPadding, "#B"},
      {'#', "##"},    {separator::kCrLf, "#F"},
      {' ', "#32"},   {';', ";"},
      {0xC5, "\xC5"}, {separator::kNone, "#1"},
  };
  for (const auto& [value, token] : written) {
    EXPECT_EQ(SeparatorToken(value), token);
    EXPECT_EQ(ReadSeparatorToken(token), value) << token;
  }
  const std::pair<const char*, std::optional<uint8_t>> read[] = {
      {"#0", '#'},        {"#", '#'},
      {"#x", '#'},        {"#13abc", 13},
      {"abc", 'a'},       {"#300", std::nullopt},
      {"", std::nullopt}, {"#99999999999", std::nullopt},
  };
  for (const auto& [token, value] : read) EXPECT_EQ(ReadSeparatorToken(token), value) << token;
}

// The system's own choice between or around fields comes back as itself, not as "#".
TEST(TemplateFrameTest, SystemChoicesRoundTrip) {
  TemplateFrame frame;
  frame.export_settings.between_fields = separator::kSystem;
  frame.export_settings.around_fields = separator::kSystem;
  const std::string written = Written(frame);
  EXPECT_EQ(written, "xef\t#S\nxeq\t#S\n");
  EXPECT_EQ(ReadBack(written), frame);
}

TEST(TemplateFrameTest, OtherLinesAreNotFrameLines) {
  for (const char* line : {"x", "xq", "xLz\ttext", "xpz", "xez\t1", "Q1", "SN", "", "#L"}) {
    TemplateFrame frame;
    EXPECT_FALSE(frame.ReadLine(line)) << line;
    EXPECT_EQ(frame, TemplateFrame()) << line;
    EXPECT_FALSE(IsFrameLine(line));
  }
  EXPECT_TRUE(IsFrameLine("xR\ttext"));
  EXPECT_EQ(ReadBack("xR\tmain\n").kept_text_m, "main");
  // A line with a bad value still belongs to the frame and leaves the field as it was.
  EXPECT_EQ(ReadBack("xef\n").export_settings.between_fields, separator::kTab);
  EXPECT_EQ(ReadBack("xpp\tq\n").print.choice, 'p');
}

}  // namespace
}  // namespace jov
