#include "platform/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

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

// Reading refuses what is not a regular file at once: a FIFO without a writer would block, and
// a folder's size (2^63 - 1 through a stream) would be claimed as memory.
TEST_F(FileIoTest, OnlyRegularFilesAreRead) {
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  for (const std::string& path : {Path("fifo"), dir_.path().string(), std::string("/dev/null")}) {
    ReadFailure failure = ReadFailure::kNone;
    EXPECT_FALSE(ReadWholeFile(path, &failure).has_value()) << path;
    EXPECT_EQ(failure, ReadFailure::kNotRegular) << path;
    EXPECT_FALSE(ReadFileHead(path, 511, &failure).has_value()) << path;
  }
  ReadFailure failure = ReadFailure::kNone;
  EXPECT_FALSE(ReadWholeFile(Path("missing"), &failure).has_value());
  EXPECT_EQ(failure, ReadFailure::kCannotOpen);
  ASSERT_TRUE(WriteFileAtomically(Path("f"), "0123456789"));
  EXPECT_EQ(ReadFileHead(Path("f"), 4), "0123");
  EXPECT_EQ(ReadFileHead(Path("f"), 511), "0123456789");
}

// A save through a symbolic link replaces the file it names, in that file's folder, and the
// link stays; the temporary file is hidden and named for the program.
TEST_F(FileIoTest, SavesFollowLinksAndNameTheirTemporaryFile) {
  std::filesystem::create_directory(Path("real"));
  ASSERT_TRUE(WriteFileAtomically(Path("real/db.jov"), "old"));
  std::filesystem::create_symlink("real/db.jov", Path("link.jov"));
  std::filesystem::create_symlink("link.jov", Path("chain.jov"));
  std::filesystem::create_symlink("real/new.jov", Path("dangling.jov"));
  {
    AtomicFileWriter writer;
    ASSERT_TRUE(writer.Open(Path("chain.jov")));
    ASSERT_TRUE(writer.Write("new"));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Path("real"))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].substr(0, 16), ".db.jov.jov-tmp-");
    EXPECT_EQ(names[1], "db.jov");
    ASSERT_TRUE(writer.Commit());
  }
  EXPECT_TRUE(std::filesystem::is_symlink(Path("chain.jov")));
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link.jov")));
  EXPECT_EQ(ReadWholeFile(Path("real/db.jov")), "new");
  ASSERT_TRUE(WriteFileAtomically(Path("dangling.jov"), "created"));
  EXPECT_TRUE(std::filesystem::is_symlink(Path("dangling.jov")));
  EXPECT_EQ(ReadWholeFile(Path("real/new.jov")), "created");
  EXPECT_EQ(FilesInDir(), 4u);  // real/, and the three links
}

// A terminal, /dev/null or a pipe cannot be replaced: the bytes go straight into it. A folder
// is refused as no place to save.
TEST_F(FileIoTest, DevicesAndPipesAreWrittenStraightAndFoldersRefused) {
  ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0600), 0);
  const int reader = ::open(Path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(WriteFileAtomically(Path("pipe"), "through the pipe"));
  char got[64] = {};
  EXPECT_EQ(::read(reader, got, sizeof got), 16);
  EXPECT_EQ(std::string(got), "through the pipe");
  ::close(reader);
  EXPECT_EQ(std::filesystem::status(Path("pipe")).type(), std::filesystem::file_type::fifo);

  ASSERT_TRUE(WriteFileAtomically("/dev/null", "nothing"));
  EXPECT_EQ(std::filesystem::status("/dev/null").type(), std::filesystem::file_type::character);

  AtomicFileWriter folder;
  EXPECT_FALSE(folder.Open(dir_.path().string()));
  EXPECT_TRUE(folder.not_a_file());
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST(FilePathTest, FoldersAndJoins) {
  EXPECT_EQ(FolderOf("/data/books/db.jov"), "/data/books");
  EXPECT_EQ(FolderOf("db.jov"), ".");
  EXPECT_EQ(FolderOf("/db.jov"), "/");
  EXPECT_EQ(JoinPath("/data", "Templates.jov"), "/data/Templates.jov");
  EXPECT_EQ(JoinPath(".", "Templates.jov"), "Templates.jov");
  EXPECT_EQ(FileNameOf("/data/books/db.jov"), "db.jov");
  EXPECT_EQ(FileNameOf("db.jov"), "db.jov");
}

TEST_F(FileIoTest, FullPathsAndFolderMembership) {
  const std::string folder = dir_.path().string();
  std::filesystem::create_directories(dir_.File("sub"));
  EXPECT_EQ(FullPath(folder, "a.txt"), dir_.File("a.txt"));
  EXPECT_EQ(FullPath(folder, "sub/../missing/./b.txt"), dir_.File("missing/b.txt"));
  EXPECT_EQ(FullPath(folder, "/etc/passwd"), "/etc/passwd");
  // A link out of the folder is followed before the folder is compared.
  std::filesystem::create_directory_symlink("/tmp", dir_.File("out"));
  EXPECT_EQ(FullPath(folder, "out/x"), FullPath("/tmp", "x"));

  const struct {
    std::string path;
    bool inside;
  } kCases[] = {
      {FullPath(folder, "a.txt"), true},
      {FullPath(folder, "sub/deeper/a.txt"), true},
      {FullPath(folder, "../a.txt"), false},
      {folder + "_sibling/a.txt", false},  // a name that merely begins like the folder
      {FullPath(folder, "out/a.txt"), false},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(IsInFolder(c.path, FullPath(folder, ".")), c.inside) << c.path;
  }
  EXPECT_TRUE(SameFile(dir_.File("sub/../a.txt"), dir_.File("a.txt")));
}

}  // namespace
}  // namespace jov
