#include "files/password.h"

#include <gtest/gtest.h>

#include "files/scripted_prompt_test_util.h"
#include "shell/message_ids.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

class PasswordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcess();
    PushSink(&sink_);
  }
  void TearDown() override { ResetProcess(); }
  Password& password() { return db_.Attached<DatabasePassword>().password; }

  RecordingSink sink_;
  Database db_;
  ScriptedPrompt prompt_;
};

TEST_F(PasswordTest, HeldMaskedAndComparedWithoutCase) {
  password().SetPassword("Hemligt\xE5");
  EXPECT_TRUE(password().HasPassword());
  EXPECT_EQ(password().GetPassword(), "Hemligt\xE5");
  EXPECT_EQ(Password::CheckValue("HEMLIGT\xC5"), password().check_value());
  EXPECT_NE(Password::CheckValue("Hemligt"), password().check_value());
  password().SetPassword(std::string(1, static_cast<char>(Password::kMask)));
  EXPECT_EQ(password().GetPassword(), std::string(1, static_cast<char>(Password::kMask)));
  password().SetPassword("");
  EXPECT_FALSE(password().HasPassword());
  EXPECT_EQ(Password::CheckValue(""), 0u);
}

TEST_F(PasswordTest, WindowsAskOnlyForProtectedBinaryDatabases) {
  EXPECT_TRUE(VerifyForWindow(db_, prompt_));  // no password: no prompt
  EXPECT_TRUE(prompt_.prompts.empty());
  password().SetPassword("abc");
  db_.Attached<DatabasePassword>().read_from_text = true;
  EXPECT_TRUE(VerifyForWindow(db_, prompt_));
  EXPECT_TRUE(prompt_.prompts.empty());
  db_.Attached<DatabasePassword>().read_from_text = false;

  prompt_.answers = {"ABC", "wrong", std::nullopt};
  EXPECT_TRUE(VerifyForWindow(db_, prompt_));
  EXPECT_FALSE(VerifyForWindow(db_, prompt_));
  EXPECT_FALSE(VerifyForWindow(db_, prompt_));  // cancelled: no message
  EXPECT_EQ(prompt_.prompts[0], "Enter the current password to display the window.");
  EXPECT_EQ(sink_.Texts(), std::vector<std::string>{"Incorrect password"});
}

TEST_F(PasswordTest, TextSavesAskAndWarnWhenThePasswordWouldBeWritten) {
  password().SetPassword("abc");
  prompt_.answers = {"abc", "abc", "abc"};
  EXPECT_TRUE(VerifyForTextSave(db_, prompt_, /*includes_protection=*/false));
  EXPECT_TRUE(sink_.alerts().empty());
  EXPECT_TRUE(VerifyForTextSave(db_, prompt_, true));  // the sink answers button 0: save
  ASSERT_EQ(sink_.alerts().size(), 1u);
  EXPECT_EQ(sink_.alerts()[0].message, msg::kPasswordInTextFile);
  sink_.set_answer(1);
  EXPECT_FALSE(VerifyForTextSave(db_, prompt_, true));
  EXPECT_EQ(prompt_.prompts[0], "Enter the current password to save as text file.");
}

}  // namespace
}  // namespace jov
