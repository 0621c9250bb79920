#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "util/Version.h"
#include "util/VersionText.h"

namespace lumaplot {
namespace {

TEST(VersionTextTest, ProgramVersionWithAZeroBuildNumber) {
  const std::string expected = std::string(LUMAPLOT_VERSION_STRING) + ".0";
  EXPECT_EQ(VersionText(), expected);
  EXPECT_EQ(VersionText("/proc/self/exe"), expected);
}

TEST(VersionTextTest, OtherFilesHaveNoVersion) {
  test::TempDir dir;
  EXPECT_EQ(VersionText(dir.Write("other", "x")), "");
  EXPECT_EQ(VersionText(dir.File("missing")), "");
}

}  // namespace
}  // namespace lumaplot
