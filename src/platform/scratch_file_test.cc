#include "platform/scratch_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "platform/file_io.h"
#include "platform/temp_dir_test_util.h"

namespace jov {
namespace {

namespace fs = std::filesystem;

// Sets $TMPDIR for one test.
class ScopedTmpdir {
 public:
  explicit ScopedTmpdir(const std::string& folder) {
    if (const char* old = std::getenv("TMPDIR")) old_ = old;
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~ScopedTmpdir() {
    if (old_.empty()) {
      ::unsetenv("TMPDIR");
    } else {
      ::setenv("TMPDIR", old_.c_str(), 1);
    }
  }

 private:
  std::string old_;
};

TEST(ScratchFileTest, HoldsTheBytesInTheTemporaryFolderUntilItGoes) {
  TempDir folder;
  ScopedTmpdir tmpdir(folder.path().string());
  std::string first_path;
  {
    std::optional<ScratchFile> first = ScratchFile::Create("jov", std::string("a\0b\r\n", 5));
    std::optional<ScratchFile> second = ScratchFile::Create("jov", "");
    ASSERT_TRUE(first && second);
    first_path = first->path();
    EXPECT_EQ(fs::path(first_path).parent_path(), folder.path());
    EXPECT_EQ(fs::path(first_path).filename().string().substr(0, 3), "jov");
    EXPECT_NE(first_path, second->path());
    EXPECT_EQ(ReadWholeFile(first_path), std::string("a\0b\r\n", 5));
    EXPECT_EQ(fs::status(first_path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // A moved file is removed once, by its new owner.
    ScratchFile moved = std::move(*first);
    first.reset();
    EXPECT_TRUE(fs::exists(first_path));
  }
  EXPECT_FALSE(fs::exists(first_path));
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST(ScratchFileTest, NothingWhenTheFolderCannotTakeIt) {
  ScopedTmpdir tmpdir("/nonexistent/jov-scratch");
  EXPECT_FALSE(ScratchFile::Create("jov", "text").has_value());
}

}  // namespace
}  // namespace jov
