#include "util/SystemColor.h"

#include <gtest/gtest.h>

namespace lumaplot {
namespace {

TEST(SystemColorTest, SystemValuesBecomeTheirPaletteColour) {
  EXPECT_EQ(ColorToRgb(static_cast<int32_t>(0xFF00000F)), 0xF0F0F0);  // button face
  EXPECT_EQ(ColorToRgb(static_cast<int32_t>(0xFF00000C)), 0xABABAB);  // application workspace
  EXPECT_EQ(ColorToRgb(static_cast<int32_t>(0xFF00000D)), 0xD77800);  // highlight, 0x00BBGGRR
  EXPECT_EQ(ColorToRgb(static_cast<int32_t>(0xFF0000FF)), 0);         // no such index
}

TEST(SystemColorTest, OtherValuesStayAsTheyAre) {
  for (int32_t color : {0, 0x0000FF, 0xFFFFFF, 0x1FFFFFFF, 0x12345678}) {
    EXPECT_FALSE(IsSystemColor(color));
    EXPECT_EQ(ColorToRgb(color), color);
  }
}

}  // namespace
}  // namespace lumaplot
