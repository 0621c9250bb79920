#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/TempDir.h"
#include "util/DroppedFiles.h"
#include "util/FileSearch.h"

namespace lumaplot {
namespace {

using Paths = std::vector<std::string>;

class FileSearchTest : public ::testing::Test {
 protected:
  // root/a.dat root/b.txt root/Z.DAT root/.hid.dat
  // root/sub/c.dat root/sub/deep/d.dat root/.hidden/e.dat root/skip/f.dat
  void SetUp() override {
    for (const char* folder : {"sub", "sub/deep", ".hidden", "skip"}) {
      ::mkdir(dir_.File(folder).c_str(), 0755);
    }
    for (const char* file : {"a.dat", "b.txt", "Z.DAT", ".hid.dat", "sub/c.dat", "sub/deep/d.dat",
                             ".hidden/e.dat", "skip/f.dat"}) {
      dir_.Write(file, "x");
    }
  }
  std::string P(const std::string& name) const { return dir_.File(name); }

  test::TempDir dir_;
};

TEST_F(FileSearchTest, LongPathAndFolderTest) {
  EXPECT_EQ(LongPath("/some dir/x.dat"), "/some dir/x.dat");
  EXPECT_TRUE(DirectoryExistsEx(dir_.Path()));
  EXPECT_FALSE(DirectoryExistsEx(P("a.dat")));
  EXPECT_FALSE(DirectoryExistsEx(P("missing")));
  EXPECT_FALSE(DirectoryExistsEx(""));
}

TEST_F(FileSearchTest, SearchWithoutRecursionTakesOnlyTheFolderInNameOrder) {
  Paths list{"kept"};
  EXPECT_EQ(SearchFiles(dir_.Path(), "", list, false, 5, {}, false, false), 3);
  EXPECT_EQ(list, (Paths{"kept", P("a.dat"), P("b.txt"), P("Z.DAT")}));
}

TEST_F(FileSearchTest, SearchRecursesFirstAndHonoursDepthSkipAndHidden) {
  Paths list;
  EXPECT_EQ(SearchFiles(dir_.Path(), "*.dat", list, true, 99, {"sk*"}, false, false), 4);
  EXPECT_EQ(list, (Paths{P("sub/deep/d.dat"), P("sub/c.dat"), P("a.dat"), P("Z.DAT")}));

  list.clear();
  SearchFiles(dir_.Path(), "*.dat", list, true, 1, {}, false, false);
  EXPECT_EQ(list, (Paths{P("skip/f.dat"), P("sub/c.dat"), P("a.dat"), P("Z.DAT")}));

  list.clear();
  SearchFiles(dir_.Path(), "*.dat", list, true, 1, {}, true, false);
  EXPECT_EQ(list, (Paths{P(".hidden/e.dat"), P("skip/f.dat"), P("sub/c.dat"), P(".hid.dat"),
                         P("a.dat"), P("Z.DAT")}));
}

TEST_F(FileSearchTest, SearchOfAMissingFolderOrAFileFindsNothing) {
  Paths list;
  EXPECT_EQ(SearchFiles(P("missing"), "*", list, true, 9, {}, true, true), 0);
  EXPECT_EQ(SearchFiles(P("a.dat"), "*", list, true, 9, {}, true, true), 0);
  EXPECT_EQ(FindFiles(P("a.dat"), "*", list, true), 0);
  EXPECT_TRUE(list.empty());
}

TEST_F(FileSearchTest, FindFilesTakesHiddenEntriesAndSeveralMasks) {
  Paths list;
  EXPECT_EQ(FindFiles(dir_.Path(), "*.txt;*.dat", list, true), 8);
  EXPECT_EQ(list, (Paths{P(".hidden/e.dat"), P("skip/f.dat"), P("sub/deep/d.dat"), P("sub/c.dat"),
                         P(".hid.dat"), P("a.dat"), P("b.txt"), P("Z.DAT")}));
  list.clear();
  EXPECT_EQ(FindFiles(dir_.Path(), "*.txt", list, false), 1);
}

TEST_F(FileSearchTest, LinkedFoldersAreNotFollowedButLinkedFilesAreListed) {
  ASSERT_EQ(::symlink(dir_.Path().c_str(), P("sub/loop").c_str()), 0);
  ASSERT_EQ(::symlink(P("a.dat").c_str(), P("sub/link.dat").c_str()), 0);
  ASSERT_EQ(::mkfifo(P("sub/pipe.dat").c_str(), 0600), 0);
  Paths list;
  SearchFiles(P("sub"), "*.dat", list, true, 99, {}, true, true);
  EXPECT_EQ(list, (Paths{P("sub/deep/d.dat"), P("sub/c.dat"), P("sub/link.dat")}));
}

TEST_F(FileSearchTest, DroppedFolderGivesSubFolderFilesFirst) {
  // A folder holding a.dat, b.txt and a sub-folder with c.dat, extension without a dot.
  test::TempDir drop;
  ::mkdir(drop.File("sub").c_str(), 0755);
  drop.Write("a.dat", "");
  drop.Write("b.txt", "");
  drop.Write("sub/c.dat", "");
  Paths list;
  DroppedFiles({drop.Path()}, list, "dat");
  EXPECT_EQ(list, (Paths{drop.File("sub/c.dat"), drop.File("a.dat")}));
}

TEST_F(FileSearchTest, DroppedFilesAreFilteredByExtensionAndAddedOnce) {
  Paths list{P("a.dat")};
  DroppedFiles({P("b.txt"), P("Z.DAT"), P("a.dat"), P("missing.dat"), P("Z.DAT"), P("sub")}, list,
               ".DAT");
  EXPECT_EQ(list, (Paths{P("a.dat"), P("Z.DAT"), P("sub/deep/d.dat"), P("sub/c.dat")}));

  list.clear();
  DroppedFiles({P("b.txt"), P("a.dat")}, list, "txt; .dat ;");
  EXPECT_EQ(list, (Paths{P("b.txt"), P("a.dat")}));

  list.clear();
  DroppedFiles({P("b.txt"), P("a.dat")}, list, "");
  EXPECT_TRUE(list.empty());
}

TEST_F(FileSearchTest, DroppedFileWithoutExtensionIsNotTaken) {
  dir_.Write("dat", "");
  dir_.Write("sub/x.dat.bak", "");
  Paths list;
  DroppedFiles({P("dat"), P("sub/x.dat.bak")}, list, ".dat");
  EXPECT_TRUE(list.empty());
}

}  // namespace
}  // namespace lumaplot
