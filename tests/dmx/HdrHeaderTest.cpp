#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

#include "dmx/HdrHeader.h"

namespace lumaplot {
namespace {

TEST(HdrHeader, FieldsSitAtTheirOffsetsLeastSignificantByteFirst) {
  HdrHeader h;
  h.SetMagic();
  h.SetFrameSize(4096);
  h.SetFrameCount(0x01020304);
  h.SetIntervalMs(20);
  h.SetStartTime(1.5);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(h.Bytes.data()), 9),
            std::string("!DMXHDR!\0", 9));
  EXPECT_EQ(h.Bytes[48], 0x00);  // 4096 = 0x1000
  EXPECT_EQ(h.Bytes[49], 0x10);
  EXPECT_EQ(h.Bytes[52], 0x04);
  EXPECT_EQ(h.Bytes[55], 0x01);
  EXPECT_EQ(h.Bytes[56], 20);
  // 1.5 = 0x3FF8000000000000
  EXPECT_EQ(h.Bytes[70], 0xF8);
  EXPECT_EQ(h.Bytes[71], 0x3F);
  EXPECT_TRUE(h.HasMagic());
  h.Bytes[8] = ' ';
  EXPECT_FALSE(h.HasMagic());
}

TEST(HdrHeader, TitleIsCp932CutToThirtyBytesWithoutSplittingACharacter) {
  const struct {
    const char* title;
    const char* read;
    int bytes;
  } cases[] = {
      {"Show", "Show", 4},
      {"123456789012345678901234567890XYZ", "123456789012345678901234567890", 30},
      // 15 two-byte characters fill 30 bytes exactly.
      {"あいうえおかきくけこさしすせそた", "あいうえおかきくけこさしすせそ", 30},
      // A two-byte character that would end at byte 31 is left out.
      {"aあいうえおかきくけこさしすせそ", "aあいうえおかきくけこさしすせ", 29},
      {"", "", 0},
  };
  for (const auto& c : cases) {
    HdrHeader h;
    std::fill(h.Bytes.begin() + 16, h.Bytes.begin() + 48, 0xEE);
    h.SetTitle(c.title);
    EXPECT_EQ(h.Title(), c.read) << c.title;
    for (int i = 16 + c.bytes; i < 48; ++i)
      EXPECT_EQ(h.Bytes[static_cast<size_t>(i)], 0) << c.title << " byte " << i;
  }
  HdrHeader full;  // a title field without a NUL is read to its end, not beyond
  std::fill(full.Bytes.begin() + 16, full.Bytes.begin() + 48, 'Q');
  EXPECT_EQ(full.Title(), std::string(32, 'Q'));
}

TEST(HdrHeader, FrameSizeCorrectionAndWholeFrames) {
  EXPECT_EQ(CorrectFrameSize(300, 4096), 512);
  EXPECT_EQ(CorrectFrameSize(-1, 4096), 512);
  EXPECT_EQ(CorrectFrameSize(1000, 4096), 1000);
  EXPECT_EQ(CorrectFrameSize(8192, 4096), 4096);
  EXPECT_EQ(WholeFramesInFile(512 + 3 * 4096 + 4095, 4096), 3);
  EXPECT_EQ(WholeFramesInFile(100, 4096), 0);
}

TEST(HdrHeader, DayCountsReadAsLocalIsoTimes) {
  const struct {
    double days;
    const char* text;
  } cases[] = {
      {0.0, "1899-12-30T00:00:00.000"},
      {45322.5, "2024-01-31T12:00:00.000"},
      {45322.0 + 86399.4 / 86400.0, "2024-01-31T23:59:59.400"},
      {45322.0 + 0.9999999999, "2024-02-01T00:00:00.000"},
      {-1.25, "1899-12-29T06:00:00.000"},
  };
  for (const auto& c : cases) {
    std::string text;
    ASSERT_TRUE(OleDateToIsoText(c.days, text)) << c.days;
    EXPECT_EQ(text, c.text);
  }
  std::string text;
  EXPECT_FALSE(OleDateToIsoText(std::nan(""), text));
  EXPECT_FALSE(OleDateToIsoText(INFINITY, text));
  EXPECT_FALSE(OleDateToIsoText(1e300, text));
  EXPECT_FALSE(OleDateToIsoText(-1e9, text));
}

TEST(HdrHeader, MomentsBecomeLocalDayCounts) {
  const char* saved = std::getenv("TZ");
  const std::string savedTz = saved ? saved : "";
  ::setenv("TZ", "JST-9", 1);
  ::tzset();
  // 2024-01-31 14:59:59.400 UTC is 23:59:59.400 in Tokyo.
  const auto moment = std::chrono::sys_days{std::chrono::year{2024} / 1 / 31} +
                      std::chrono::hours{14} + std::chrono::minutes{59} +
                      std::chrono::milliseconds{59'400};
  const double days = ToOleDate(std::chrono::system_clock::time_point{moment});
  if (saved)
    ::setenv("TZ", savedTz.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
  std::string text;
  ASSERT_TRUE(OleDateToIsoText(days, text));
  EXPECT_EQ(text, "2024-01-31T23:59:59.400");
}

}  // namespace
}  // namespace lumaplot
