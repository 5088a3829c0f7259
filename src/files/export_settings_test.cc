#include "files/export_settings.h"

#include <gtest/gtest.h>

#include "files/program_presets.h"
#include "shell/process.h"

namespace jov {
namespace {

class ExportSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
};

TEST_F(ExportSettingsTest, LabelsNameEveryKindOfChoice) {
  Process().system_separators = {.decimal = ',', .thousand = ' '};
  struct Case {
    SeparatorSetting setting;
    uint8_t value;
    const char* label;
  };
  const Case cases[] = {
      {SeparatorSetting::kDecimal, separator::kSystem, "comma from System"},
      {SeparatorSetting::kThousand, separator::kSystem, "space from System"},
      {SeparatorSetting::kRowTerminator, separator::kSystem, "CR/LF from System"},
      {SeparatorSetting::kAroundFields, separator::kSystem, "None from System"},
      {SeparatorSetting::kBetweenFields, separator::kTab, "tab"},
      {SeparatorSetting::kThousand, separator::kPadding, "padding"},
      {SeparatorSetting::kRowTerminator, separator::kReturn, "return"},
      {SeparatorSetting::kAroundFields, '"', "\""},
      {SeparatorSetting::kBetweenFields, '|', "|"},
      {SeparatorSetting::kBetweenFields, 5, "#5"},
      {SeparatorSetting::kBetweenFields, 0xC5, "\xC5"},
  };
  for (const Case& c : cases) EXPECT_EQ(SeparatorLabel(c.setting, c.value), c.label) << c.label;
  Process().system_separators = {};
  EXPECT_EQ(SeparatorLabel(SeparatorSetting::kThousand, separator::kSystem), "None from System");
}

TEST_F(ExportSettingsTest, ChoicesGiveTheirBytesAndNumberSeparators) {
  EXPECT_EQ(SeparatorText(SeparatorSetting::kRowTerminator, separator::kSystem), "\r\n");
  EXPECT_EQ(SeparatorText(SeparatorSetting::kRowTerminator, separator::kCrLf), "\r\n");
  EXPECT_EQ(SeparatorText(SeparatorSetting::kRowTerminator, separator::kReturn), "\r");
  EXPECT_EQ(SeparatorText(SeparatorSetting::kBetweenFields, separator::kSystem), "\t");
  EXPECT_EQ(SeparatorText(SeparatorSetting::kAroundFields, separator::kSystem), "");
  EXPECT_EQ(SeparatorText(SeparatorSetting::kAroundFields, separator::kNone), "");
  EXPECT_EQ(SeparatorText(SeparatorSetting::kBetweenFields, ';'), ";");

  Process().system_separators = {.decimal = ',', .thousand = '.'};
  ExportSettings settings;
  EXPECT_EQ(ChosenNumberSeparators(settings), (NumberSeparators{',', '.'}));
  settings.decimal = separator::kPoint;
  settings.thousand = separator::kNone;
  EXPECT_EQ(ChosenNumberSeparators(settings), (NumberSeparators{'.', 0}));
  settings.thousand = separator::kPadding;
  EXPECT_EQ(ChosenNumberSeparators(settings).thousand, '\xA0');
}

TEST_F(ExportSettingsTest, ProgramPresetsSetWhatTheyNameAndKeepTheRest) {
  const auto find = [](std::string_view name) -> const ProgramPreset& {
    for (const ProgramPreset& preset : ProgramPresets()) {
      if (preset.program == name) return preset;
    }
    ADD_FAILURE() << name;
    return ProgramPresets().front();
  };
  ExportSettings settings;
  settings.include_title = true;
  settings.include_notes = true;
  settings.include_data_rows = false;
  settings.row_terminator = separator::kReturn;
  settings.format = ExportFormat::kHtml;
  ApplyProgramPreset(find("Microsoft Excel"), settings);
  EXPECT_EQ(settings.creator, "XCEL");
  EXPECT_EQ(settings.thousand, separator::kNone);
  EXPECT_TRUE(settings.include_title);  // left as it was
  EXPECT_TRUE(settings.include_notes);
  EXPECT_TRUE(settings.include_column_titles);
  EXPECT_TRUE(settings.include_data_rows);
  EXPECT_EQ(settings.row_terminator, separator::kSystem);
  EXPECT_EQ(settings.format, ExportFormat::kText);

  ApplyProgramPreset(find("MPW Shell"), settings);
  EXPECT_EQ(settings.creator, "MPS ");
  ApplyProgramPreset(find("Netscape Navigator"), settings);
  EXPECT_EQ(settings.format, ExportFormat::kHtml);
  ApplyProgramPreset(find("MORE"), settings);
  EXPECT_EQ(settings.between_fields, separator::kSpace);
  EXPECT_TRUE(settings.include_title);
  EXPECT_FALSE(settings.include_notes || settings.include_column_titles ||
               settings.include_header_rows);
  ApplyProgramPreset(find("StatView"), settings);
  EXPECT_EQ(settings.decimal, separator::kPoint);
  EXPECT_FALSE(settings.include_title);
  EXPECT_EQ(ProgramPresets().size(), 16u);
}

TEST_F(ExportSettingsTest, CopyLimitsAndCodes) {
  EXPECT_EQ(CopyByteLimit(CopyExtent::kMax3K), 3072u);
  EXPECT_EQ(CopyByteLimit(CopyExtent::kMax10K), 10240u);
  EXPECT_EQ(CopyByteLimit(CopyExtent::kMax30K), 30720u);
  EXPECT_EQ(CopyByteLimit(CopyExtent::kVisibleOnly), SIZE_MAX);
  EXPECT_EQ(MessageText(CopyExtentLabel(CopyExtent::kVisibleOnly)), "Visible Only");
  EXPECT_EQ(MessageText(FormatLabel(ExportFormat::kXml)), "XML");
  EXPECT_EQ(FourCharacterCode("ab"), "ab  ");
  EXPECT_EQ(FourCharacterCode("abcdef"), "abcd");
}

}  // namespace
}  // namespace jov
