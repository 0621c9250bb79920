#include "ui/qt/ColorConvert.h"

#include <QPalette>

#include <gtest/gtest.h>

#include "model/LibItem.h"

namespace lumaplot {
namespace {

TEST(ColorConvert, ProgramColoursHaveRedInTheLowByte) {
  struct Case {
    int32_t color;
    int red, green, blue;
  };
  const Case cases[] = {
      {0x000000, 0, 0, 0},          {0x0000FF, 255, 0, 0},          {0x00FF00, 0, 255, 0},
      {0xFF0000, 0, 0, 255},        {0xFFFFFF, 255, 255, 255},      {0xC0DCC0, 0xC0, 0xDC, 0xC0},
      {0x123456, 0x56, 0x34, 0x12}, {0x7F808081, 0x81, 0x80, 0x80},
  };
  for (const Case& c : cases) {
    const QColor color = ToQColor(c.color);
    ASSERT_TRUE(color.isValid()) << std::hex << c.color;
    EXPECT_EQ(color, QColor(c.red, c.green, c.blue)) << std::hex << c.color;
    EXPECT_EQ(FromQColor(color), c.color & 0xFFFFFF) << std::hex << c.color;
  }
}

TEST(ColorConvert, NoColourIsAnInvalidQColor) {
  EXPECT_FALSE(ToQColor(kNoColor).isValid());
  EXPECT_EQ(FromQColor(QColor()), kNoColor);
  EXPECT_EQ(FromQColor(QColor(1, 2, 3, 0)), 0x030201);  // alpha is not a colour
  EXPECT_EQ(FromQColor(QColor::fromHsv(240, 255, 255)), 0xFF0000);
}

TEST(ColorConvert, SwatchShowsNoColourAsTheButtonFace) {
  QPalette palette;
  palette.setColor(QPalette::Button, QColor(10, 20, 30));
  EXPECT_EQ(SwatchColor(kNoColor, palette), QColor(10, 20, 30));
  EXPECT_EQ(SwatchColor(0x0000FF, palette), QColor(255, 0, 0));
}

}  // namespace
}  // namespace lumaplot
