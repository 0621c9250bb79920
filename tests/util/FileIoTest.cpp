#include "util/FileIo.h"

#include <sys/stat.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

namespace lumaplot {
namespace {

TEST(FileIo, AtomicWriteReplacesContentAndLeavesNoTemporaryFile) {
  test::TempDir dir;
  const std::string path = dir.Write("plot.dat", "old content that is longer");
  ASSERT_TRUE(WriteFileAtomically(path, std::string("new\0bytes", 9)));
  EXPECT_EQ(test::TempDir::Read(path), std::string("new\0bytes", 9));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(FileIo, AtomicWriteKeepsTheModeOfTheReplacedFile) {
  test::TempDir dir;
  const std::string path = dir.Write("a.ini", "x");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(WriteFileAtomically(path, "y"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(FileIo, FailedWriteReportsAndLeavesOldFileWhole) {
  test::TempDir dir;
  std::string error;
  EXPECT_FALSE(WriteFileAtomically(dir.File("no/such/folder/x.dat"), "data", &error));
  EXPECT_NE(error.find("x.dat"), std::string::npos);
  // A target that is a folder cannot be replaced by a file.
  const std::string folder = dir.File("sub");
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(WriteFileAtomically(folder, "data", &error));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

// A write that fails half way (here: the file size limit, which holds for root too)
// must not touch the file being replaced.
TEST(FileIo, WriteFailingHalfWayLeavesOldFileWholeAndNoTemporary) {
  test::TempDir dir;
  const std::string path = dir.Write("plot.dat", "the user's plot");
  std::string error;
  bool written = false;
  {
    test::FileSizeLimit limit(4096);
    written = WriteFileAtomically(path, std::string(100000, 'x'), &error);
  }
  EXPECT_FALSE(written);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(test::TempDir::Read(path), "the user's plot");
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
  EXPECT_EQ(entries, 1);
}

TEST(FileIo, ReadsWholeFilesAndRefusesWhatIsNotOne) {
  test::TempDir dir;
  std::string bytes;
  const std::string big(300000, 'z');
  ASSERT_TRUE(ReadFileBytes(dir.Write("big", big), bytes));
  EXPECT_EQ(bytes, big);
  std::string error;
  EXPECT_FALSE(ReadFileBytes(dir.File("missing"), bytes, &error));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadFileBytes(dir.Path(), bytes, &error));
}

TEST(FileIo, ReadOnlyMeansTheOwnerWriteBitIsOff) {
  test::TempDir dir;
  const std::string path = dir.Write("r.dat", "x");
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(IsReadOnlyFile(path));
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(IsReadOnlyFile(path));
  EXPECT_FALSE(FileExists(dir.File("missing")));
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_FALSE(FileExists(""));
}

}  // namespace
}  // namespace lumaplot
