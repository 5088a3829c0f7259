#include "model/user_stamp.h"

#include <gtest/gtest.h>

#include "shell/message_ids.h"
#include "shell/process.h"
#include "shell/recording_sink.h"

namespace jov {
namespace {

class CountingPrompt : public SignaturePrompt {
 public:
  explicit CountingPrompt(std::optional<std::string> answer) : answer_(std::move(answer)) {}
  std::optional<std::string> AskSignature() override {
    ++asked;
    return answer_;
  }
  int asked = 0;

 private:
  std::optional<std::string> answer_;
};

TEST(UserStampTest, SignatureIsAskedOnceAndKeptInThePreferences) {
  ResetProcess();
  RecordingSink sink;
  ScopedSink scoped_sink(&sink);
  EXPECT_FALSE(ObtainUserStamp());  // no signature and no one to ask
  CountingPrompt declining(std::nullopt);
  {
    ScopedSignaturePrompt scoped(&declining);
    EXPECT_FALSE(ObtainUserStamp());
  }
  // Each refusal says why nothing is done.
  ASSERT_EQ(sink.alerts().size(), 2u);
  EXPECT_EQ(sink.alerts()[1].message, msg::kNoSignature);
  CountingPrompt answering("  abcd ");
  ScopedSignaturePrompt scoped(&answering);
  for (int i = 0; i < 2; ++i) {
    const std::optional<Stamp> stamp = ObtainUserStamp();
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->Signature(), "abc");
    EXPECT_NE(stamp->time, 0u);
  }
  EXPECT_EQ(sink.alerts().size(), 2u);
  EXPECT_EQ(answering.asked, 1);
  EXPECT_EQ(declining.asked, 1);
  EXPECT_EQ(Process().preferences.signature, "abc");
  EXPECT_FALSE(SetUserSignature("   "));
  EXPECT_EQ(Process().preferences.signature, "abc");
}

}  // namespace
}  // namespace jov
