#include "shell/error_log_sink.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "shell/date_time.h"
#include "shell/message_ids.h"
#include "shell/process.h"

namespace jov {
namespace {

namespace fs = std::filesystem;

class ErrorLogSinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    folder_ =
        fs::temp_directory_path() /
        ("jov_error_log_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    log_ = (folder_ / "Errors.txt").string();
  }
  void TearDown() override {
    fs::remove_all(folder_);
    ResetProcess();
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // Splits off the header line and checks that its time lies between `before` and now.
  static std::string AfterHeader(const std::string& bytes, Seconds1900 before) {
    static const std::regex kHeader(
        "^Error log created at (\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d'\\d\\d)\r\n");
    std::smatch match;
    EXPECT_TRUE(std::regex_search(bytes, match, kHeader)) << bytes;
    if (match.empty()) return bytes;
    const Seconds1900 logged = StartSeconds(DateTime::Parse(match[1].str(), false));
    EXPECT_GE(logged, before);
    EXPECT_LE(logged, StartSeconds(DateTime::Now()));
    return match.suffix().str();
  }

  fs::path folder_;
  std::string log_;
};

TEST_F(ErrorLogSinkTest, NewLogHasHeaderThenOneLinePerAlert) {
  const Seconds1900 before = StartSeconds(DateTime::Now());
  {
    ErrorLogSink sink(log_, false);
    EXPECT_FALSE(fs::exists(log_));  // opened at the first report only
    ScopedSink scoped(&sink);
    AlertRecord first(msg::kCodeNotFound);
    first.Arg("4010").Arg("Accounts");
    first.result = 3;
    EXPECT_EQ(ReportAlert(first), 3);
    EXPECT_EQ(first.result, 3);
    // Flushed at each report: the text is in the file while the sink lives.
    EXPECT_EQ(AfterHeader(Read(log_), before),
              "Cannot find JOV-code \"4010\" in dimension Accounts.\r\n");
    AlertRecord second(msg::kCorrupted);
    second.Arg("\xC5r \xE4r \xF6");  // 1252 bytes go in as they are
    ReportAlert(second);
  }
  EXPECT_EQ(AfterHeader(Read(log_), before),
            "Cannot find JOV-code \"4010\" in dimension Accounts.\r\n"
            "File \"\xC5r \xE4r \xF6\" is corrupted.\r\n");
}

TEST_F(ErrorLogSinkTest, AppendingKeepsTheOldLogAfterAnEmptyLine) {
  Write(log_, "old line\r\n");
  const Seconds1900 before = StartSeconds(DateTime::Now());
  {
    ErrorLogSink sink(log_, true);
    AlertRecord alert(msg::kCorrupted);
    alert.Arg("x");
    sink.Report(alert);
  }
  const std::string bytes = Read(log_);
  ASSERT_EQ(bytes.substr(0, 12), "old line\r\n\r\n");
  EXPECT_EQ(AfterHeader(bytes.substr(12), before), "File \"x\" is corrupted.\r\n");
}

TEST_F(ErrorLogSinkTest, WithoutAppendTheLogReplacesTheFile) {
  Write(log_, std::string(50000, 'z'));
  const Seconds1900 before = StartSeconds(DateTime::Now());
  {
    ErrorLogSink sink(log_, false);
    AlertRecord alert(msg::kCorrupted);
    alert.Arg("y");
    sink.Report(alert);
  }
  EXPECT_EQ(AfterHeader(Read(log_), before), "File \"y\" is corrupted.\r\n");
}

TEST_F(ErrorLogSinkTest, ALogThatCannotBeOpenedMakesReportsNoOps) {
  const std::string missing_folder = (folder_ / "no such folder" / "Errors.txt").string();
  // A name the file system would take, but longer than the sink keeps.
  const fs::path deep = folder_ / std::string(200, 'd');
  fs::create_directories(deep);
  const std::string too_long = (deep / std::string(60, 'n')).string();
  ASSERT_GT(too_long.size(), ErrorLogSink::kMaxFileName);
  for (const std::string& name : {missing_folder, too_long, std::string()}) {
    ErrorLogSink sink(name, true);
    for (int i = 0; i < 2; ++i) {
      AlertRecord alert(msg::kCorrupted);
      alert.result = 2;
      EXPECT_EQ(sink.Report(alert), 2);
    }
  }
  EXPECT_TRUE(fs::is_empty(deep));
  // Opening is tried once: a folder that appears later does not revive the sink.
  ErrorLogSink sink(missing_folder, false);
  AlertRecord alert(msg::kCorrupted);
  sink.Report(alert);
  fs::create_directories(folder_ / "no such folder");
  sink.Report(alert);
  EXPECT_FALSE(fs::exists(missing_folder));
}

TEST_F(ErrorLogSinkTest, ManyReportsPassTheBufferWhole) {
  const std::string argument(39, 'a');
  {
    ErrorLogSink sink(log_, false);
    for (int i = 0; i < 2000; ++i) {
      AlertRecord alert(msg::kCorrupted);
      alert.Arg(argument);
      sink.Report(alert);
    }
  }
  const std::string line = "File \"" + argument + "\" is corrupted.\r\n";
  const std::string body = AfterHeader(Read(log_), 0);
  ASSERT_EQ(body.size(), 2000 * line.size());
  for (size_t at = 0; at < body.size(); at += line.size()) {
    ASSERT_EQ(body.compare(at, line.size(), line), 0) << at;
  }
}

}  // namespace
}  // namespace jov
