#include <gtest/gtest.h>

#include "util/ChannelText.h"

namespace lumaplot {
namespace {

struct NameCase {
  int channel;
  const char* letter;
  const char* number;
};

TEST(ChannelTextTest, NamesInBothForms) {
  const NameCase cases[] = {
      {0, "A001", "1"},     {9, "A010", "10"},      {511, "A512", "512"}, {512, "B001", "513"},
      {523, "B012", "524"}, {4095, "H512", "4096"}, {-1, "", ""},         {-7, "", ""},
      {4096, "", ""},       {100000, "", ""},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(ChannelName(c.channel, true), c.letter) << c.channel;
    EXPECT_EQ(ChannelName(c.channel, false), c.number) << c.channel;
  }
}

struct ParseCase {
  const char* text;
  int expected;
};

TEST(ChannelTextTest, ParsesBothFormsAndRejectsTheRest) {
  const ParseCase cases[] = {
      {"A001", 0},  {"a1", 0},      {"b12", 523}, {"H512", 4095},       {" C3 ", 1026},
      {"1", 0},     {"4096", 4095}, {"513", 512}, {"A0", -1},           {"A513", -1},
      {"A-5", -1},  {"B", -1},      {"I1", -1},   {"Z9", -1},           {"0", -1},
      {"4097", -1}, {"-3", -1},     {"", -1},     {"   ", -1},          {"All", -1},
      {"aLL", -1},  {"12x", -1},    {"A12B", -1}, {"A99999999999", -1}, {"\xE3\x81\x82", -1},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(ParseChannelName(c.text, 4096), c.expected) << '"' << c.text << '"';
  }
}

TEST(ChannelTextTest, NumberFormHonoursTheLimitButLetterFormDoesNot) {
  EXPECT_EQ(ParseChannelName("512", 512), 511);
  EXPECT_EQ(ParseChannelName("513", 512), -1);
  EXPECT_EQ(ParseChannelName("B001", 512), 512);
}

TEST(ChannelTextTest, EveryChannelRoundTripsInBothForms) {
  for (int channel = 0; channel < 4096; ++channel) {
    ASSERT_EQ(ParseChannelName(ChannelName(channel, true)), channel);
    ASSERT_EQ(ParseChannelName(ChannelName(channel, false)), channel);
  }
}

}  // namespace
}  // namespace lumaplot
