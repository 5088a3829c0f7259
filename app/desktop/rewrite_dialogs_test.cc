// The Transform and Aggregate dialogs on the offscreen platform: settings entered in their
// fields and run on a window's lines must leave the database as the engine leaves a second copy
// run directly with the same settings; fields that cannot be read keep the dialog open.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "aggregate_dialog.h"
#include "analysis/line_analysis.h"
#include "analysis/time_scale_list.h"
#include "analysis_window.h"
#include "desktop_test_util.h"
#include "model/user_stamp.h"
#include "qt_text.h"
#include "transform_dialog.h"

namespace jov {
namespace {

class RewriteDialogsTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    SetUserSignature("EK");
    const QString copy = QString::fromStdString(Path("copy.jox"));
    ASSERT_TRUE(QFile::copy(Demo(), copy));
    db_ = frame_->OpenFile(Demo());
    engine_db_ = frame_->OpenFile(copy);
    ASSERT_NE(db_, nullptr);
    ASSERT_NE(engine_db_, nullptr);
  }

  // The lines of the cards up to the end of the first quarter of 2022, or from `begin` on.
  static LineSet FirstQuarter(const Database& db, const char* begin = "000101") {
    const CardStore& cards = db.cards();
    LineSet lines;
    lines.Reset(cards.lines().size());
    const DayCode first = ReadCardId(begin).day;
    const DayCode end = ReadCardId("220331").day;
    for (CardRef c = cards.FirstCard(); c != kCardSentinel && cards.CardId(c).day <= end;
         c = cards.NextCard(c)) {
      if (cards.CardId(c).day < first) continue;
      for (GroupRef g = cards.card(c).first_group; g != kNoRecord; g = cards.group(g).next) {
        for (LineRef l = cards.group(g).first_line; l != kNoLine; l = cards.lines().next(l)) {
          lines.Set(l);
        }
      }
    }
    return lines;
  }

  // Every card in order with its title, notes, groups and lines (codes, values and texts).
  static std::vector<std::string> Content(const Database& db) {
    const CardStore& cards = db.cards();
    std::vector<std::string> out;
    for (CardRef c = cards.FirstCard(); c != kCardSentinel; c = cards.NextCard(c)) {
      out.push_back(CardIdText(cards.CardId(c)) + " " + std::string(cards.Title(c)) + " | " +
                    std::string(cards.Notes(c)));
      for (GroupRef g = cards.card(c).first_group; g != kNoRecord; g = cards.group(g).next) {
        const std::string group = db.component(cards.group(g).component).code;
        for (LineRef l = cards.group(g).first_line; l != kNoLine; l = cards.lines().next(l)) {
          std::string line = "  " + group;
          for (int k = 1; k <= db.line_layout().slots; ++k) {
            line += "/" + db.component(cards.GetComponent(l, k)).code;
          }
          for (int v = 0; v < db.value_field_count(); ++v) {
            line += " " + std::to_string(cards.GetValue(l, v));
          }
          out.push_back(line + " " + std::string(cards.LineText(l)));
        }
      }
    }
    return out;
  }

  // Runs `open` while `fill` works in the modal dialog it shows, then presses its default
  // button and lets `after` look at the dialog should it still be open; returns what `open`
  // returned.
  template <typename Dialog>
  static bool WithDialog(const std::function<bool()>& open,
                         const std::function<void(Dialog&)>& fill,
                         const std::function<void(Dialog&)>& after = nullptr) {
    QTimer::singleShot(0, [fill, after] {
      auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      fill(*dialog);
      for (QPushButton* button : dialog->template findChildren<QPushButton*>()) {
        if (button->isDefault()) button->click();
      }
      if (!dialog->isVisible()) return;
      if (after) after(*dialog);
      dialog->reject();
    });
    return open();
  }

  template <typename Widget>
  static Widget* Field(QDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  Database* db_ = nullptr;
  Database* engine_db_ = nullptr;
};

TEST_F(RewriteDialogsTest, TransformRunsWhatTheFieldsSay) {
  const LineSet lines = FirstQuarter(*db_);
  const WindowLines window{&lines, CardLevel::kCards};
  const bool ran = WithDialog<TransformDialog>(
      [&] { return RunTransformDialog(*db_, window, nullptr); },
      [](TransformDialog& dialog) {
        Field<QCheckBox>(dialog, "keep_source")->setChecked(true);
        QLineEdit* target = Field<QLineEdit>(dialog, "target_begin");
        target->setText("23.01.01");
        Q_EMIT target->editingFinished();
        EXPECT_EQ(target->text(), "230101") << "shown as it is read";
        Field<QLineEdit>(dialog, "replacement_1")->setText("b");  // codes found ignoring case
        Field<QLineEdit>(dialog, "replacement_3")->setText("\\");
        Field<QComboBox>(dialog, "title_pattern")->setCurrentIndex(1);  // Before
        Field<QLineEdit>(dialog, "title_replacement")->setText("Copy of ");
        Field<QComboBox>(dialog, "line_text_pattern")->setCurrentIndex(0);
        Field<QCheckBox>(dialog, "line_text_clear")->setChecked(true);
        Field<QComboBox>(dialog, "notes_pattern")->setEditText("Rent");
        Field<QLineEdit>(dialog, "notes_replacement")->setText("Hire");
        Field<QLineEdit>(dialog, "formula_1")->setText("Amount*2+T");
        Screenshot(&dialog, "transform.png");
      });
  EXPECT_TRUE(ran);

  TransformSettings settings;
  settings.keep_source = true;
  settings.target_begin = "230101";
  settings.replacement[0] = "B";
  settings.replacement[2] = "\\";
  settings.title = {"<", "Copy of "};
  settings.line_text = {"", "\\"};
  settings.notes = {"Rent", "Hire"};
  settings.formulas[0] = "Amount*2+T";
  const LineSet engine_lines = FirstQuarter(*engine_db_);
  ASSERT_TRUE(Transform(*engine_db_, {&engine_lines, CardLevel::kCards}, settings));
  const std::vector<std::string> shown = Content(*db_);
  EXPECT_EQ(shown, Content(*engine_db_));
  EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const std::string& card) {
    return card.starts_with("2301") && card.find("Copy of Rent 1/2022") != std::string::npos;
  })) << "the copies moved by a year";
  EXPECT_TRUE(sink_.alerts.empty());
}

TEST_F(RewriteDialogsTest, AnAnalysisWindowTransformsTheLinesItListsAndCalculatesAgain) {
  AnalysisWindow* window = frame_->NewAnalysis(*db_, AnalysisKind::kLines);
  ASSERT_NE(window, nullptr);
  auto& listing = static_cast<LineAnalysis&>(window->analysis());
  listing.selection().SetFrom("220101");
  listing.selection().SetTo("220331");
  QAction* transform = nullptr;
  for (QAction* command : window->commands()) {
    if (command->text() == Text(msg::kMenuTransform)) transform = command;
  }
  ASSERT_NE(transform, nullptr);
  const bool ran = WithDialog<TransformDialog>(
      [&] {
        transform->trigger();
        return true;
      },
      [](TransformDialog& dialog) { Field<QLineEdit>(dialog, "formula_1")->setText("Amount*2"); });
  EXPECT_TRUE(ran);

  TransformSettings settings;
  settings.formulas[0] = "Amount*2";
  const LineSet engine_lines = FirstQuarter(*engine_db_, "220101");
  ASSERT_TRUE(Transform(*engine_db_, {&engine_lines, CardLevel::kLines}, settings));
  EXPECT_EQ(Content(*db_), Content(*engine_db_));
  EXPECT_TRUE(window->calculated()) << "the window shows the transformed lines";
  EXPECT_TRUE(sink_.alerts.empty());
}

TEST_F(RewriteDialogsTest, TransformFieldsThatCannotBeReadKeepTheDialog) {
  const std::vector<std::string> before = Content(*db_);
  for (const auto& [name, text, message] :
       {std::tuple{"replacement_2", "K0000", msg::kComponentNotFound},
        std::tuple{"source_end", "abc", msg::kNotADate}}) {
    sink_.alerts.clear();
    bool stayed = false;
    const bool ran = WithDialog<TransformDialog>(
        [&] { return RunTransformDialog(*db_, {}, nullptr); },
        [name = name, text = text](TransformDialog& dialog) {
          Field<QLineEdit>(dialog, name)->setText(QString::fromLatin1(text));
        },
        [&, name = name](TransformDialog& dialog) {
          stayed = dialog.focusWidget() == Field<QLineEdit>(dialog, name);
        });
    EXPECT_FALSE(ran) << name;
    EXPECT_TRUE(stayed) << name << ": the dialog stays at the field";
    EXPECT_EQ(sink_.Messages(), std::vector<MessageId>{message}) << name;
  }
  EXPECT_EQ(Content(*db_), before);
}

TEST_F(RewriteDialogsTest, AggregateRunsWhatTheFieldsSay) {
  const LineSet lines = FirstQuarter(*db_);
  const WindowLines window{&lines, CardLevel::kLines};
  const bool ran = WithDialog<AggregateDialog>(
      [&] { return RunAggregateDialog(*db_, window, nullptr); },
      [](AggregateDialog& dialog) {
        auto* resolution = Field<QComboBox>(dialog, "resolution");
        EXPECT_EQ(resolution->currentText(), Text(msg::kFirstPeriodKind + 5)) << "Months";
        EXPECT_FALSE(Field<QLineEdit>(dialog, "card_date")->isEnabled());
        resolution->setCurrentText("Fiscal quarters");
        Field<QLineEdit>(dialog, "card_title")->setText("Summary");
        Field<QCheckBox>(dialog, "duplicate")->setChecked(true);
        Field<QCheckBox>(dialog, "keep_zero_lines")->setChecked(true);
        Screenshot(&dialog, "aggregate.png");
      });
  EXPECT_TRUE(ran);

  AggregateSettings settings;
  settings.by = AggregateBy::kTimeScale;
  settings.time_scale = TimeScaleList::Of(*engine_db_).Find("Fiscal quarters");
  settings.card_title = "Summary";
  settings.duplicate = true;
  settings.keep_zero_lines = true;
  const LineSet engine_lines = FirstQuarter(*engine_db_);
  ASSERT_TRUE(Aggregate(*engine_db_, {&engine_lines, CardLevel::kLines}, settings));
  const std::vector<std::string> shown = Content(*db_);
  EXPECT_EQ(shown, Content(*engine_db_));
  EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const std::string& card) {
    return card.starts_with("220101-") && card.find(" Summary 2022 Q1 ") != std::string::npos;
  })) << "a card per period of the scale, named after it";
}

TEST_F(RewriteDialogsTest, AggregateIntoASingleCardShowsTheDateItReads) {
  const bool ran = WithDialog<AggregateDialog>(
      [&] { return RunAggregateDialog(*db_, {}, nullptr); },
      [](AggregateDialog& dialog) {
        Field<QComboBox>(dialog, "resolution")->setCurrentIndex(0);
        EXPECT_FALSE(Field<QCheckBox>(dialog, "append_period_name")->isEnabled());
        QLineEdit* date = Field<QLineEdit>(dialog, "card_date");
        EXPECT_TRUE(date->isEnabled());
        date->setText("24 12 31");
        EXPECT_TRUE(Field<QLabel>(dialog, "card_date_read")->text().startsWith("241231"));
        Field<QLineEdit>(dialog, "card_title")->setText("All");
      });
  EXPECT_TRUE(ran);
  const CardStore& cards = db_->cards();
  ASSERT_EQ(cards.card_count(), 1u) << "every line in one card";
  EXPECT_EQ(CardIdText(cards.CardId(cards.FirstCard())).substr(0, 6), "241231");
  EXPECT_EQ(cards.Title(cards.FirstCard()), "All");
}

}  // namespace
}  // namespace jov
