#include "platform/file_io.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "platform/temp_dir_test_util.h"

namespace jov {
namespace {

class FileIoTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return dir_.File(name); }
  size_t FilesInDir() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir_.path()), {}));
  }

  TempDir dir_;
};

TEST_F(FileIoTest, AtomicWritesReplaceTheTargetWhole) {
  const std::string path = Path("db.jov");
  ASSERT_TRUE(WriteFileAtomically(path, "first"));
  ASSERT_TRUE(WriteFileAtomically(path, std::string(100000, 'x')));
  EXPECT_EQ(ReadWholeFile(path), std::string(100000, 'x'));
  EXPECT_EQ(FileSize(path), 100000);
  EXPECT_TRUE(FileModificationTime(path).has_value());
  EXPECT_EQ(FilesInDir(), 1u);  // no temporary file left behind
  EXPECT_FALSE(ReadWholeFile(Path("missing")).has_value());
  EXPECT_FALSE(FileModificationTime(Path("missing")).has_value());
}

// A write that the system refuses part-way (here: past the process's file size limit) leaves
// the old file as it was and no temporary file.
TEST_F(FileIoTest, AFailedWriteLeavesTheOldFileUntouched) {
  const std::string path = Path("db.jov");
  ASSERT_TRUE(WriteFileAtomically(path, "the old content"));
  struct rlimit old_limit {};
  ::getrlimit(RLIMIT_FSIZE, &old_limit);
  const auto old_handler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old_limit;
  small.rlim_cur = 4096;
  ::setrlimit(RLIMIT_FSIZE, &small);
  std::string error;
  const bool written = WriteFileAtomically(path, std::string(100000, 'y'), &error);
  ::setrlimit(RLIMIT_FSIZE, &old_limit);
  ::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(written);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadWholeFile(path), "the old content");
  EXPECT_EQ(FilesInDir(), 1u);
  EXPECT_FALSE(WriteFileAtomically(Path("no/such/folder/db.jov"), "x"));
}

// A file written in pieces appears only at Commit; a writer given up before leaves nothing.
TEST_F(FileIoTest, PiecewiseWritesAppearWholeAtCommitOnly) {
  const std::string path = Path("table.txt");
  ASSERT_TRUE(WriteFileAtomically(path, "old"));
  {
    AtomicFileWriter abandoned;
    ASSERT_TRUE(abandoned.Open(path));
    ASSERT_TRUE(abandoned.Write("half a table"));
    EXPECT_EQ(FilesInDir(), 2u);
  }
  EXPECT_EQ(ReadWholeFile(path), "old");
  EXPECT_EQ(FilesInDir(), 1u);

  AtomicFileWriter writer;
  ASSERT_TRUE(writer.Open(path));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(writer.Write("row\r\n"));
  EXPECT_EQ(ReadWholeFile(path), "old");
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(ReadWholeFile(path), "row\r\nrow\r\nrow\r\n");
  EXPECT_EQ(FilesInDir(), 1u);

  AtomicFileWriter nowhere;
  std::string error;
  EXPECT_FALSE(nowhere.Open(Path("no/such/folder/t.txt"), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(nowhere.Write("x"));
  EXPECT_FALSE(nowhere.Commit());
}

TEST(FilePathTest, FoldersAndJoins) {
  EXPECT_EQ(FolderOf("/data/books/db.jov"), "/data/books");
  EXPECT_EQ(FolderOf("db.jov"), ".");
  EXPECT_EQ(FolderOf("/db.jov"), "/");
  EXPECT_EQ(JoinPath("/data", "Templates.jov"), "/data/Templates.jov");
  EXPECT_EQ(JoinPath(".", "Templates.jov"), "Templates.jov");
}

}  // namespace
}  // namespace jov
