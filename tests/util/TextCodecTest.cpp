#include "util/TextCodec.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace lumaplot {
namespace {

// "灯体" in CP932 is 93 94 91 CC; "ｱ" (half-width katakana) is B1; "①" (NEC row 13) is 87 40.
constexpr std::string_view kToutaiCp932 = "\x93\x94\x91\xCC";

TEST(TextCodec, Cp932RoundTripsJapaneseAndMicrosoftExtensions) {
  const std::string utf8 = "灯体 ｱ ① ～ ABC";
  const std::string cp932 = Utf8ToCp932(utf8);
  EXPECT_EQ(cp932.substr(0, 4), kToutaiCp932);
  EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
}

TEST(TextCodec, UnmappableCharacterBecomesOneQuestionMark) {
  EXPECT_EQ(Utf8ToCp932("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToCp932("a\xFF"
                        "b"),
            "a?b");  // invalid UTF-8 input
}

TEST(TextCodec, UndecodableBytesBecomeReplacementCharacters) {
  // A lone lead byte at the end and an unassigned lead byte.
  const std::string decoded = Cp932ToUtf8("A\x93");
  EXPECT_EQ(decoded, "A\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8("\xA0Z").back(), 'Z');
}

TEST(TextCodec, DecodesByByteOrderMark) {
  struct Case {
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF"
       "灯体",
       "灯体"},
      {std::string("\xFF\xFE\x6F\x70\x53\x4F", 6), "灯体"},  // UTF-16 LE: U+706F U+4F53
      {std::string("\xFE\xFF\x70\x6F\x4F\x53", 6), "灯体"},  // UTF-16 BE
      {std::string(kToutaiCp932), "灯体"},                   // no mark: CP932
      {"", ""},
      {std::string("\xFF\xFE\x41", 3), "\xEF\xBF\xBD"},  // odd byte at the end
  };
  for (const auto& c : cases) EXPECT_EQ(DecodeByBom(c.bytes), c.text);
}

TEST(TextCodec, RecognisesWellFormedUtf8Only) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"plain ASCII", true},
      {"灯体 ～ 😀", true},
      {std::string(kToutaiCp932), false},
      {"\xC0\xAF", false},          // overlong "/"
      {"\xE0\x80\xAF", false},      // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"\xE7\x81", false},          // cut off
      {"\xE7\x81\x41", false},      // bad continuation
      {"\xFF", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(TextCodec, EncodesWithOrWithoutMark) {
  EXPECT_EQ(EncodeText("灯体", TextEncoding::Utf8Bom), "\xEF\xBB\xBF灯体");
  EXPECT_EQ(EncodeText("灯体", TextEncoding::Utf8), "灯体");
  EXPECT_EQ(EncodeText("灯体", TextEncoding::Cp932), kToutaiCp932);
}

TEST(TextCodec, SplitsAtEveryKindOfLineEnd) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("\n\r"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(JoinLinesCrLf({"a", "", "b"}), "a\r\n\r\nb\r\n");
}

TEST(TextCodec, TextFilesRoundTripInEachEncoding) {
  test::TempDir dir;
  const std::vector<std::string> lines = {"[LightData]", "1,灯体,\"a,b\"", ""};
  for (auto encoding : {TextEncoding::Cp932, TextEncoding::Utf8Bom}) {
    const std::string path = dir.File("t.dat");
    ASSERT_TRUE(WriteTextLines(path, lines, encoding));
    std::vector<std::string> read;
    ASSERT_TRUE(ReadTextLines(path, read));
    EXPECT_EQ(read, lines);
  }
  std::vector<std::string> read{"stale"};
  std::string error;
  EXPECT_FALSE(ReadTextLines(dir.File("missing.dat"), read, &error));
  EXPECT_TRUE(read.empty());
  EXPECT_NE(error.find("missing.dat"), std::string::npos);
}

}  // namespace
}  // namespace lumaplot
