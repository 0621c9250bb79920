#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "util/TextList.h"

namespace lumaplot {
namespace {

TEST(TextListTest, LoadsLinesOrFailsQuietly) {
  test::TempDir dir;
  std::vector<std::string> list{"old"};
  ASSERT_TRUE(LoadListSafely(dir.Write("a.txt", "\xEF\xBB\xBFone\r\ntwo\n"), list));
  EXPECT_EQ(list, (std::vector<std::string>{"one", "two"}));

  std::string error;
  EXPECT_FALSE(LoadListSafely(dir.File("missing.txt"), list, &error));
  EXPECT_TRUE(list.empty());
  EXPECT_NE(error, "");
  EXPECT_FALSE(LoadListSafely(dir.Path(), list));
}

}  // namespace
}  // namespace lumaplot
