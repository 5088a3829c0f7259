#include "shell/alert.h"

#include <gtest/gtest.h>

#include "shell/message_ids.h"
#include "shell/pending_error.h"
#include "shell/process.h"
#include "shell/recording_sink.h"
#include "shell/text_string.h"

namespace jov {
namespace {

class AlertTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcess(); }
  void TearDown() override { ResetProcess(); }
};

TEST_F(AlertTest, ArgumentsOfFortyOrMoreCharactersAreCut) {
  const std::string exactly39(39, 'x');
  const std::string exactly40(40, 'y');
  AlertRecord alert(msg::kCorrupted);
  alert.Arg(exactly39).Arg(exactly40).Arg(12345).Arg("ignored");
  EXPECT_EQ(alert.argument_count, 3);
  EXPECT_EQ(alert.arguments[0], exactly39);
  EXPECT_EQ(alert.arguments[1], std::string(37, 'y') + "..");
  EXPECT_EQ(alert.arguments[2], "12345");
}

TEST_F(AlertTest, ComposeReplacesEveryPlaceholderOccurrence) {
  AlertRecord alert(msg::kCodeNotFound);
  alert.Arg("4010").Arg("Accounts");
  EXPECT_EQ(alert.ComposeText(), "Cannot find JOV-code \"4010\" in dimension Accounts.");

  // "@0 Minutes @1 Seconds" with an argument that itself holds "@1" is not rescanned for @1,
  // because @1 is replaced first.
  AlertRecord minutes(msg::kMinutesSeconds);
  minutes.Arg("@1").Arg("30");
  EXPECT_EQ(minutes.ComposeText(), "@1 Minutes 30 Seconds");

  // Fewer arguments than placeholders leave the rest in place.
  AlertRecord short_of_args(msg::kCodeNotFound);
  short_of_args.Arg("X");
  EXPECT_EQ(short_of_args.ComposeText(), "Cannot find JOV-code \"X\" in dimension @1.");
}

TEST_F(AlertTest, ComposeAcceptsAMessageAsArgument) {
  AlertRecord alert(msg::kCorrupted);
  alert.ArgMessage(msg::kFirstDimensionSingular);
  EXPECT_EQ(alert.ComposeText(), "File \"Dim 1\" is corrupted.");
}

TEST_F(AlertTest, ConfirmationButtonsFollowAlertYesNo) {
  AlertRecord verbs(msg::kConfirmDelete);
  verbs.ConfirmButton(msg::kButtonDelete, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  EXPECT_EQ(verbs.button_count, 2);
  EXPECT_EQ(MessageText(verbs.buttons[0]), "Delete");
  EXPECT_EQ(MessageText(verbs.buttons[1]), "Cancel");

  Process().preferences.alert_yes_no = true;
  AlertRecord yes_no(msg::kConfirmDelete);
  yes_no.ConfirmButton(msg::kButtonDelete, msg::kButtonYes)
      .ConfirmButton(msg::kButtonCancel, msg::kButtonNo);
  EXPECT_EQ(MessageText(yes_no.buttons[0]), "Yes");
  EXPECT_EQ(MessageText(yes_no.buttons[1]), "No");
}

TEST_F(AlertTest, SinkStackReportsToTheTopAndRestoresOnPop) {
  RecordingSink outer(1);
  RecordingSink inner(2);
  PushSink(&outer);
  {
    ScopedSink scoped(&inner);
    AlertRecord alert(msg::kCorrupted);
    EXPECT_EQ(ReportAlert(alert), 2);
    EXPECT_EQ(alert.result, 2);
  }
  AlertRecord alert(msg::kIncorrectPassword);
  EXPECT_EQ(ReportAlert(alert), 1);
  EXPECT_EQ(inner.alerts().size(), 1u);
  ASSERT_EQ(outer.alerts().size(), 1u);
  EXPECT_EQ(outer.Texts()[0], "Incorrect password");
}

TEST_F(AlertTest, AWatchingSinkHandsAlertsToTheSinkBelowIt) {
  RecordingSink below(1);
  RecordingSink above(2);
  // Records what passes and hands it on, the answer coming from below.
  class Watcher : public AlertSink {
   public:
    int Report(AlertRecord& alert) override {
      ++seen;
      return ReportAlertBelow(this, alert);
    }
    int seen = 0;
  } watcher;
  ScopedSink bottom(&below);
  {
    ScopedSink watching(&watcher);
    AlertRecord alert(msg::kCorrupted);
    EXPECT_EQ(ReportAlert(alert), 1);
    // A sink pushed above the watcher takes the alerts; one reported below the watcher skips it.
    ScopedSink top(&above);
    AlertRecord second(msg::kCorrupted);
    EXPECT_EQ(ReportAlert(second), 2);
    EXPECT_EQ(ReportAlertBelow(&watcher, second), 1);
  }
  EXPECT_EQ(watcher.seen, 1);
  EXPECT_EQ(below.alerts().size(), 2u);
  AlertRecord unknown(msg::kCorrupted);
  EXPECT_EQ(ReportAlertBelow(&watcher, unknown), 1) << "a sink not on the stack: the top";
}

TEST_F(AlertTest, PendingErrorIsReportedOnceAndClearsStop) {
  RecordingSink sink;
  ScopedSink scoped(&sink);
  PostOutOfMemory();
  EXPECT_TRUE(StopRequested());
  FlushPendingError();
  EXPECT_FALSE(StopRequested());
  ASSERT_EQ(sink.alerts().size(), 1u);
  EXPECT_EQ(sink.alerts()[0].kind, 0);
  EXPECT_EQ(sink.Texts()[0], "Not enough memory to complete the operation.");

  FlushPendingError();  // nothing left to report
  EXPECT_EQ(sink.alerts().size(), 1u);

  PostPendingError(msg::kCorrupted);
  PostMissingResource();  // a later post overwrites the earlier one
  FlushPendingError();
  ASSERT_EQ(sink.alerts().size(), 2u);
  EXPECT_EQ(sink.alerts()[1].message, msg::kResourceError);
  EXPECT_EQ(sink.alerts()[1].kind, 1);
}

TEST_F(AlertTest, SilentErrorStopsWithoutReport) {
  RecordingSink sink;
  ScopedSink scoped(&sink);
  PostPendingError(msg::kCorrupted);
  PostSilentError();
  EXPECT_TRUE(StopRequested());
  FlushPendingError();
  EXPECT_FALSE(StopRequested());
  EXPECT_TRUE(sink.alerts().empty());
}

// A sink whose report posts another error, as a dialog running its own event loop might.
class ReentrantSink : public AlertSink {
 public:
  int Report(AlertRecord& alert) override {
    ++reports;
    PostPendingError(msg::kIncorrectPassword);
    FlushPendingError();  // must not report while the first report runs
    return alert.result;
  }
  int reports = 0;
};

TEST_F(AlertTest, FlushDoesNotReenterARunningReport) {
  ReentrantSink sink;
  ScopedSink scoped(&sink);
  PostPendingError(msg::kCorrupted);
  FlushPendingError();
  EXPECT_EQ(sink.reports, 1);
}

TEST(TextStringTest, EditsPastTheLimitChangeNothing) {
  TextString text(std::string(TextString::kMaxLength - 2, 'a'));
  EXPECT_TRUE(text.Append("bc"));
  EXPECT_EQ(text.size(), TextString::kMaxLength);
  EXPECT_FALSE(text.Append("d"));
  EXPECT_FALSE(text.Insert(0, "d"));
  EXPECT_FALSE(text.Replace(0, 1, "dd"));
  EXPECT_TRUE(text.Replace(0, 2, "d"));
  EXPECT_EQ(text.size(), TextString::kMaxLength - 1);
  EXPECT_EQ(text.view().substr(0, 2), "da");

  TextString many(std::string(20000, '@'));
  EXPECT_FALSE(many.ReplaceAll("@", "xy"));
  EXPECT_EQ(many.size(), 20000u);
  EXPECT_TRUE(many.ReplaceAll("@@", "x"));
  EXPECT_EQ(many.size(), 10000u);

  EXPECT_EQ(TextString(std::string(40000, 'z')).size(), TextString::kMaxLength);
}

}  // namespace
}  // namespace jov
