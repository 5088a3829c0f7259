// Replays every input kept for each harness (its seed corpus and its regression inputs) in the
// normal test suite, without libFuzzer, so that both compilers and the sanitizer build catch a
// fault that returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fuzz_target.h"
#include "shell/process.h"

namespace jov::fuzz {
namespace {

std::map<std::string, Harness, std::less<>>& Harnesses() {
  static std::map<std::string, Harness, std::less<>> harnesses;
  return harnesses;
}

std::vector<std::string> HarnessNames() {
  std::vector<std::string> names;
  for (const auto& [name, harness] : Harnesses()) names.push_back(name);
  return names;
}

// The inputs kept for a harness: fuzz/corpus/NAME and fuzz/regressions/NAME.
std::vector<std::filesystem::path> Inputs(const std::string& name) {
  std::vector<std::filesystem::path> inputs;
  for (const char* kind : {"corpus", "regressions"}) {
    const std::filesystem::path folder = std::filesystem::path(JOV_FUZZ_DIR) / kind / name;
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

class ReplayTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ReplayTest, EveryKeptInputPasses) {
  const std::vector<std::filesystem::path> inputs = Inputs(GetParam());
  EXPECT_FALSE(inputs.empty()) << "no seed corpus for " << GetParam();
  for (const std::filesystem::path& input : inputs) {
    SCOPED_TRACE(input.string());
    std::ifstream file(input, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    ResetProcess();
    Harnesses().at(GetParam())(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Harnesses, ReplayTest, ::testing::ValuesIn(HarnessNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

}  // namespace

bool RegisterHarness(std::string_view name, Harness harness) {
  Harnesses().emplace(std::string(name), harness);
  return true;
}

void CheckFailed(const char* file, int line, const char* condition) {
  ADD_FAILURE_AT(file, line) << "check failed: " << condition;
}

}  // namespace jov::fuzz
