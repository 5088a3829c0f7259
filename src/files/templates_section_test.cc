#include "files/templates_section.h"

#include <gtest/gtest.h>

#include "files/stream_test_util.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

using testing::ReadStream;
using testing::WriteStream;

// Two templates of kinds without readers (their own lines interleaved with frame lines), a card
// window's and one of an unknown letter (both skipped), a second "Lines" (which replaces the
// first), and two default objects.
constexpr std::string_view kStored =
    "##Templates\r\n"
    "stray line before any template\r\n"
    "#L\tLines\r\n"
    "Q1\r\n"
    "#P\tBy account\r\n"
    "xo\r\n"
    "BD1\t3*\r\n"
    "xP\t10\t20\r\n"
    "Vx unknown\r\n"
    "xpw\r\n"
    "xew\r\n"
    "ZC\tsome text\r\n"
    "#K\tCard window\r\n"
    "xo\r\n"
    "#Z\tFrom a later version\r\n"
    "Q9\r\n"
    "#L\tlines\r\n"
    "xc\r\n"
    "H\tB+-\r\n"
    "##Defaults\r\n"
    "#C\r\n"
    "xer\r\n"
    "P\tI,T\r\n"
    "#K\r\n"
    "xS\t400\t300\r\n"
    "##End\r\n";

class TemplatesSectionTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
};

TEST_F(TemplatesSectionTest, TemplatesOfKindsWithoutReadersSurviveALoadAndSave) {
  Database database;
  ASSERT_TRUE(ReadStream(database, kStored).ok);
  const AnalysisTemplates& stored = AnalysisTemplates::Of(database);
  ASSERT_EQ(stored.templates().size(), 2u);
  const AnalysisTemplate& lines = stored.templates()[0];
  EXPECT_EQ(lines.frame.name, "lines");
  EXPECT_TRUE(lines.frame.calculate_directly);
  const AnalysisTemplate& accounts = stored.templates()[1];
  EXPECT_EQ(accounts.frame.kind, AnalysisKind::kComponents);
  EXPECT_TRUE(accounts.frame.open_directly);
  EXPECT_EQ(accounts.frame.position_x, 10);
  EXPECT_FALSE(accounts.frame.print.flags[0]);
  EXPECT_EQ(accounts.frame.export_settings.format, ExportFormat::kHtml);
  EXPECT_EQ(dynamic_cast<const KeptTemplateBody&>(*accounts.body).lines(),
            (std::vector<std::string>{"BD1\t3*", "Vx unknown", "ZC\tsome text"}));
  EXPECT_EQ(stored.AnalysisCount(), 2);
  ASSERT_NE(stored.Defaults(AnalysisKind::kCardWindow), nullptr);
  EXPECT_EQ(stored.Defaults(AnalysisKind::kCardWindow)->frame.width, 400);
  EXPECT_EQ(stored.Defaults(AnalysisKind::kLines), nullptr);

  const std::string written = WriteStream(database);
  EXPECT_NE(written.find("##Templates\r\n"
                         "#L\tlines\r\nxc\r\nH\tB+-\r\n"
                         "#P\tBy account\r\nxo\r\nxP\t10\t20\r\nxpt\r\nxew\r\n"
                         "BD1\t3*\r\nVx unknown\r\nZC\tsome text\r\n"
                         "##Defaults\r\n"
                         "#C\r\nxer\r\nP\tI,T\r\n"
                         "#K\r\nxS\t400\t300\r\n"
                         "##End\r\n"),
            std::string::npos)
      << written;
  Database again;
  ASSERT_TRUE(ReadStream(again, written).ok);
  EXPECT_EQ(WriteStream(again), written);
}

// Whatever part of a stored section survives, or whichever byte is changed, reading gives
// templates that save and read back to the same bytes.
TEST_F(TemplatesSectionTest, CutOrChangedSectionsReadToStableTemplates) {
  const std::string stored(kStored.substr(0, kStored.find("##End")));
  const auto stable = [](const std::string& text) {
    Database first;
    ReadStream(first, text);
    const std::string written = WriteStream(first);
    Database second;
    ReadStream(second, written);
    return WriteStream(second) == written;
  };
  for (size_t cut = 0; cut <= stored.size(); ++cut) {
    EXPECT_TRUE(stable(stored.substr(0, cut))) << cut;
  }
  for (size_t at = 0; at < stored.size(); ++at) {
    for (const char byte : {'#', '\t', '\r', 'x', 's', '\0', '\xFF'}) {
      std::string changed = stored;
      changed[at] = byte;
      EXPECT_TRUE(stable(changed)) << at << " " << static_cast<int>(byte);
    }
  }
}

TEST_F(TemplatesSectionTest, LongNotesGoOutInPiecesAndComeBackWhole) {
  Database database;
  AnalysisTemplate stored;
  stored.frame.name = "Noted";
  stored.body = std::make_unique<KeptTemplateBody>();
  for (int i = 0; i < 900; ++i) stored.frame.notes += i % 2 ? "line\r" : "tab\there";
  AnalysisTemplates::Of(database).Store(std::move(stored));
  const std::string written = WriteStream(database);
  EXPECT_NE(written.find("/==\r\n"), std::string::npos);
  Database again;
  ASSERT_TRUE(ReadStream(again, written).ok);
  ASSERT_EQ(AnalysisTemplates::Of(again).templates().size(), 1u);
  EXPECT_EQ(AnalysisTemplates::Of(again).templates()[0].frame.notes,
            AnalysisTemplates::Of(database).templates()[0].frame.notes);
  EXPECT_EQ(WriteStream(again), written);
}

// A kind's own reader sees every line first, even one the frame would read.
class ClaimingBody : public TemplateBody {
 public:
  bool ReadLine(std::string_view line) override {
    if (line != "Q1" && line != "xo") return false;
    claimed.emplace_back(line);
    return true;
  }
  void WriteLines(SectionOutput& output) const override {
    for (const std::string& line : claimed) output.sink().WriteLine(line);
  }
  std::vector<std::string> claimed;
};

TEST_F(TemplatesSectionTest, RegisteredKindsReadTheirLinesBeforeTheFrame) {
  SectionRegistry registry = DefaultSectionRegistry();
  auto kinds = std::make_shared<TemplateKinds>();
  kinds->Register(AnalysisKind::kLines, [](Database&) { return std::make_unique<ClaimingBody>(); });
  UseTemplateKinds(registry, kinds);
  Database database;
  MemoryByteSource bytes("##Templates\n#L\tMine\nxo\nQ1\nxc\nQ2\n#P\tOther\nQ1\n##End\n");
  LineSource lines(bytes);
  ASSERT_TRUE(ReadSections(database, lines, registry).ok);
  const auto& stored = AnalysisTemplates::Of(database).templates();
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(dynamic_cast<const ClaimingBody&>(*stored[0].body).claimed,
            (std::vector<std::string>{"xo", "Q1"}));
  EXPECT_FALSE(stored[0].frame.open_directly);
  EXPECT_TRUE(stored[0].frame.calculate_directly);
  EXPECT_EQ(dynamic_cast<const KeptTemplateBody&>(*stored[1].body).lines(),
            std::vector<std::string>{"Q1"});
}

TEST_F(TemplatesSectionTest, NamesReplaceIgnoringCaseAndChangesMarkTheDatabase) {
  Database database;
  AnalysisTemplates& templates = AnalysisTemplates::Of(database);
  for (const char* name : {"Sales", "Costs", "SALES"}) {
    AnalysisTemplate stored;
    stored.frame.name = name;
    templates.Store(std::move(stored));
  }
  EXPECT_TRUE(database.modified());
  ASSERT_EQ(templates.templates().size(), 2u);
  EXPECT_EQ(templates.templates()[0].frame.name, "SALES");
  database.ClearModified();
  EXPECT_FALSE(templates.Remove("nothing"));
  EXPECT_FALSE(database.modified());
  EXPECT_TRUE(templates.Remove("costs"));
  EXPECT_TRUE(database.modified());
  EXPECT_EQ(templates.Find("sales"), &templates.templates()[0]);
}

TEST_F(TemplatesSectionTest, AStopDropsTheTemplateBeingRead) {
  Database database;
  MemoryByteSource bytes("##Templates\n#L\tFirst\nQ1\n#L\tSecond\nQ2\n##End\n");
  LineSource lines(bytes);
  SectionRegistry registry = DefaultSectionRegistry();
  auto kinds = std::make_shared<TemplateKinds>();
  kinds->Register(AnalysisKind::kLines, [](Database&) {
    struct StopAtQ2 : KeptTemplateBody {
      bool ReadLine(std::string_view line) override {
        if (line == "Q2") RequestStop();
        return KeptTemplateBody::ReadLine(line);
      }
    };
    return std::make_unique<StopAtQ2>();
  });
  UseTemplateKinds(registry, kinds);
  ReadSections(database, lines, registry);
  ASSERT_EQ(AnalysisTemplates::Of(database).templates().size(), 1u);
  EXPECT_EQ(AnalysisTemplates::Of(database).templates()[0].frame.name, "First");
}

TEST_F(TemplatesSectionTest, SetDefaultsAsksAndChangesRestoresOrKeeps) {
  Database database;
  AnalysisTemplates& templates = AnalysisTemplates::Of(database);
  const auto window = [](AnalysisKind kind, int width) {
    AnalysisTemplate settings;
    settings.frame.kind = kind;
    settings.frame.width = width;
    return settings;
  };
  RecordingSink sink(0);  // Change
  ScopedSink scoped(&sink);
  EXPECT_EQ(AskToSetDefaults(templates, window(AnalysisKind::kComponents, 500)),
            DefaultsAnswer::kChanged);
  EXPECT_EQ(sink.Texts().back(),
            "Are you sure you want to change default settings for \"Components\" analyses?");
  ASSERT_NE(templates.Defaults(AnalysisKind::kComponents), nullptr);
  EXPECT_EQ(templates.Defaults(AnalysisKind::kComponents)->frame.width, 500);

  sink.set_answer(2);  // Cancel
  EXPECT_EQ(AskToSetDefaults(templates, window(AnalysisKind::kComponents, 600)),
            DefaultsAnswer::kCancelled);
  EXPECT_EQ(templates.Defaults(AnalysisKind::kComponents)->frame.width, 500);
  sink.set_answer(1);  // Standard
  EXPECT_EQ(AskToSetDefaults(templates, window(AnalysisKind::kComponents, 600)),
            DefaultsAnswer::kStandard);
  EXPECT_EQ(templates.Defaults(AnalysisKind::kComponents), nullptr);

  sink.set_answer(0);
  AskToSetDefaults(templates, window(AnalysisKind::kCardWindow, 300));
  EXPECT_EQ(sink.Texts().back(),
            "Are you sure you want to change default settings for card windows?");
  EXPECT_EQ(sink.alerts().back().button_count, 3);
  EXPECT_NE(WriteStream(database).find("##Defaults\r\n#K\r\nxS\t300\t0\r\n"), std::string::npos);
}

}  // namespace
}  // namespace jov
