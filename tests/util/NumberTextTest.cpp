#include "util/NumberText.h"

#include <gtest/gtest.h>

namespace lumaplot {
namespace {

struct NumberCase {
  const char* text;
  int32_t expected;
};

TEST(ReadNumber, ReadsEveryFormTheFilesUse) {
  constexpr int32_t kDef = -77;
  const NumberCase cases[] = {
      {"0", 0},
      {"42", 42},
      {"  42", 42},  // leading blanks skipped
      {"\t7", 7},
      {"+5", 5},
      {"-12", -12},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"0x1F", 31},
      {"0X1f", 31},
      {"x10", 16},
      {"X10", 16},
      {"$ff", 255},
      {"$FFFFFFFF", -1},  // eight digits are a 32-bit pattern
      {"0x80000000", INT32_MIN},
      {"0x1FFFFFFF", 536870911},  // the "no colour" value
      {"-0x10", -16},
      {"", kDef},
      {"   ", kDef},
      {"-", kDef},
      {"$", kDef},
      {"0x", kDef},
      {"0x123456789", kDef},  // nine hex digits
      {"2147483648", kDef},   // out of range
      {"-2147483649", kDef},
      {"99999999999999999999", kDef},
      {"12a", kDef},
      {"12 ", kDef},  // trailing characters are an error
      {"1.5", kDef},
      {"0xG", kDef},
      {"--1", kDef},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadNumber(c.text, kDef), c.expected) << "text: \"" << c.text << "\"";
  }
}

TEST(TrimControls, RemovesBlanksAndControlsAtBothEndsOnly) {
  EXPECT_EQ(TrimControls(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimControls("\x01\x1f"), "");
  EXPECT_EQ(TrimControls(""), "");
  EXPECT_EQ(TrimControls("日本"), "日本");  // bytes above 0x7F are text, not controls
}

}  // namespace
}  // namespace lumaplot
