#include "util/IniFile.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

using test::TempDir;
using namespace std::string_view_literals;

IniFile FromText(std::string_view text) {
  IniFile ini;
  ini.LoadFromText(text);
  return ini;
}

TEST(IniFileTest, ReadModifyWriteKeepsEveryLineInPlace) {
  IniFile ini = FromText(
      "; settings\r\n"
      "orphan=1\r\n"
      "[General]\r\n"
      "WinLeft=10\r\n"
      "junk line\r\n"
      "WinTop=20\r\n"
      "\r\n"
      "\r\n"
      "[Color]\r\n"
      "SelectRect=255\r\n");
  ini.WriteInteger("General", "WinTop", 99);
  ini.WriteInteger("General", "WinWidth", 640);
  ini.WriteString("Color", "Back", "0");
  ini.WriteBool("Default", "SnapGrid", true);

  EXPECT_EQ(ini.ToText(),
            "; settings\r\n"
            "orphan=1\r\n"
            "[General]\r\n"
            "WinLeft=10\r\n"
            "junk line\r\n"
            "WinTop=99\r\n"
            "WinWidth=640\r\n"
            "\r\n"
            "\r\n"
            "[Color]\r\n"
            "SelectRect=255\r\n"
            "Back=0\r\n"
            "[Default]\r\n"
            "SnapGrid=1\r\n");
}

TEST(IniFileTest, NewKeyOfASectionWithoutKeysFollowsItsHeader) {
  IniFile ini = FromText("[A]\n; about B\n[B]\nx=1\n");
  ini.WriteString("A", "k", "v");
  EXPECT_EQ(ini.ToText(), "[A]\r\nk=v\r\n; about B\r\n[B]\r\nx=1\r\n");
}

TEST(IniFileTest, NamesMatchWithoutRegardToAsciiCase) {
  IniFile ini = FromText("[General]\nUpdateInterval=30\n[\xE7\x81\xAF\xE4\xBD\x93]\nA=1\n");
  EXPECT_EQ(ini.ReadInteger("GENERAL", "updateinterval", 0), 30);
  EXPECT_TRUE(ini.SectionExists("general"));
  EXPECT_TRUE(ini.KeyExists("gEnErAl", "UPDATEINTERVAL"));
  EXPECT_EQ(ini.ReadString("\xE7\x81\xAF\xE4\xBD\x93", "a", ""), "1");

  // The key keeps the spelling it has in the file.
  ini.WriteInteger("general", "UPDATEINTERVAL", 40);
  EXPECT_EQ(ini.ToText(),
            "[General]\r\nUpdateInterval=40\r\n[\xE7\x81\xAF\xE4\xBD\x93]\r\nA=1\r\n");
}

TEST(IniFileTest, StringIsTheTrimmedTextAfterTheFirstEquals) {
  IniFile ini = FromText("[S]\n  Key  =  a = b \t\nEmpty=\nTabs=\tx\t\n");
  EXPECT_EQ(ini.ReadString("S", "Key", "def"), "a = b");
  EXPECT_EQ(ini.ReadString("S", "Empty", "def"), "");
  EXPECT_EQ(ini.ReadString("S", "Tabs", "def"), "x");
  EXPECT_EQ(ini.ReadString("S", "Missing", "def"), "def");
  EXPECT_EQ(ini.ReadString("Nowhere", "Key", "def"), "def");
}

TEST(IniFileTest, IntegersAndBooleans) {
  struct Case {
    const char* value;
    int32_t integer;  // read with the default -7
    bool boolean;     // read with the default true
  };
  const Case cases[] = {
      {"30", 30, true},
      {"0", 0, false},
      {"-1", -1, true},
      {"0x1E", 30, true},
      {"0X1e", 30, true},
      {"0x00ff0000", 0xFF0000, true},
      {"0xFFFFFFFF", -1, true},
      {"2", 2, true},
      {"2147483647", 2147483647, true},
      {"-2147483648", INT32_MIN, true},
      {"2147483648", -7, true},   // out of range: the default
      {"0x123456789", -7, true},  // more than 32 bits
      {"0x", -7, true},
      {"12abc", -7, true},
      {"abc", -7, true},
      {"", -7, true},
      {"1.5", -7, true},
  };
  for (const Case& c : cases) {
    IniFile ini = FromText(std::string("[S]\nk=") + c.value + "\n");
    EXPECT_EQ(ini.ReadInteger("S", "k", -7), c.integer) << c.value;
    EXPECT_EQ(ini.ReadBool("S", "k", true), c.boolean) << c.value;
  }
  IniFile ini = FromText("[S]\nbad=x\n");
  EXPECT_FALSE(ini.ReadBool("S", "bad", false));
  EXPECT_FALSE(ini.ReadBool("S", "missing", false));
  EXPECT_EQ(ini.ReadInteger("S", "missing", 5), 5);
}

TEST(IniFileTest, WrittenNumbersReadBack) {
  IniFile ini;
  for (const int32_t value : {0, 1, -1, 0xFFFFFF, INT32_MAX, INT32_MIN}) {
    ini.WriteInteger("S", "k", value);
    EXPECT_EQ(ini.ReadInteger("S", "k", 12345), value);
  }
  ini.WriteBool("S", "b", true);
  EXPECT_EQ(ini.ReadString("S", "b", ""), "1");
  ini.WriteBool("S", "b", false);
  EXPECT_EQ(ini.ReadString("S", "b", ""), "0");
}

TEST(IniFileTest, FirstOfDuplicateKeysAndSectionsIsRead) {
  IniFile ini = FromText("[S]\nk=first\nK=second\n[T]\nk=other\n[s]\nk=third\nlate=4\n");
  EXPECT_EQ(ini.ReadString("S", "k", ""), "first");
  EXPECT_EQ(ini.ReadString("S", "late", ""), "4");
  EXPECT_EQ(ini.ReadSection("S"), (std::vector<std::string>{"k", "late"}));
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"S", "T"}));

  ini.DeleteKey("S", "k");
  EXPECT_FALSE(ini.KeyExists("S", "k"));
  EXPECT_EQ(ini.ReadString("T", "k", ""), "other");
}

TEST(IniFileTest, LinesThatAreNoKeysAreKeptButNotRead) {
  const std::string text =
      "before=1\r\n"
      "[S]\r\n"
      "no equals sign\r\n"
      "=no name\r\n"
      "; comment=1\r\n"
      "# comment=2\r\n"
      "k=v\r\n";
  IniFile ini = FromText(text);
  EXPECT_FALSE(ini.KeyExists("", "before"));
  EXPECT_EQ(ini.ReadString("", "before", "def"), "def");
  EXPECT_EQ(ini.ReadSection("S"), std::vector<std::string>{"k"});
  EXPECT_FALSE(ini.KeyExists("S", "; comment"));
  EXPECT_EQ(ini.ToText(), text);
}

TEST(IniFileTest, HeaderWithoutClosingBracketStillStartsASection) {
  IniFile ini = FromText("[A]\nk=1\n[B\nk=2\n");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
  EXPECT_EQ(ini.ReadString("B", "k", ""), "2");
}

TEST(IniFileTest, EraseSectionRemovesEveryCopyWithItsLines) {
  IniFile ini = FromText("[A]\na=1\n\n[B]\nb=1\n; note\n[a]\nc=1\n");
  ini.EraseSection("A");
  EXPECT_FALSE(ini.SectionExists("A"));
  EXPECT_EQ(ini.ToText(), "[B]\r\nb=1\r\n; note\r\n");
  ini.EraseSection("missing");
  EXPECT_EQ(ini.ToText(), "[B]\r\nb=1\r\n; note\r\n");
}

TEST(IniFileTest, AnErasedSectionWrittenAgainGoesToTheEnd) {
  IniFile ini = FromText("[A]\nk=1\n[B]\nk=2\n[a]\nk=3\n[C]\n");
  ini.EraseSection("a");
  ini.WriteString("B", "n", "x");
  ini.WriteString("A", "k", "4");
  EXPECT_EQ(ini.ReadString("A", "k", ""), "4");
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"B", "C", "A"}));
  EXPECT_EQ(ini.ToText(), "[B]\r\nk=2\r\nn=x\r\n[C]\r\n[A]\r\nk=4\r\n");
}

TEST(IniFileTest, BytesInMemoryReadAndWriteAsTheFileWould) {
  const std::string cp932 = "[\x93\x94]\r\nName=\x93\x94\x91\xCC\r\n";  // [灯] Name=灯体
  IniFile ini("", TextEncoding::Cp932);
  ini.LoadFromBytes(cp932);
  EXPECT_EQ(ini.ReadString("\xE7\x81\xAF", "Name", ""), "\xE7\x81\xAF\xE4\xBD\x93");
  EXPECT_EQ(ini.ToBytes(), cp932);
  ini.LoadFromBytes(
      "\xEF\xBB\xBF[S]\nk=\xE7\x81\xAF\n");  // a mark wins over the instance's encoding
  EXPECT_EQ(ini.ReadString("S", "k", ""), "\xE7\x81\xAF");
  EXPECT_EQ(ini.ToBytes(), "[S]\r\nk=\x93\x94\r\n");
}

TEST(IniFileTest, WritesThatCouldNotBeReadBackAreRefusedOrFlattened) {
  IniFile ini;
  ini.WriteString("", "k", "v");
  ini.WriteString("S", "", "v");
  ini.WriteString("S", "a=b", "v");
  ini.WriteString("S]", "k", "v");
  ini.WriteString("S", "k\n[X]", "v");
  ini.WriteString("S", "[k", "v");
  EXPECT_EQ(ini.ToText(), "");

  ini.WriteString("S", "k", "line1\r\n[Evil]\nx=1");
  EXPECT_EQ(ini.ReadString("S", "k", ""), "line1  [Evil] x=1");
  EXPECT_FALSE(ini.SectionExists("Evil"));
  IniFile reread = FromText(ini.ToText());
  EXPECT_EQ(reread.ReadSections(), std::vector<std::string>{"S"});
}

TEST(IniFileTest, MissingFileReadsAsEmptyAndFlushCreatesIt) {
  TempDir dir;
  IniFile ini(dir.File("new.INI"));
  std::string error;
  EXPECT_TRUE(ini.Load(&error)) << error;
  EXPECT_TRUE(ini.ReadSections().empty());
  ini.WriteInteger("General", "A", 1);
  ASSERT_TRUE(ini.Flush(&error)) << error;
  EXPECT_EQ(TempDir::Read(dir.File("new.INI")), "[General]\r\nA=1\r\n");
}

TEST(IniFileTest, UnreadableFileFailsToLoadAndIsNotOverwritten) {
  TempDir dir;
  ::mkdir(dir.File("folder.INI").c_str(), 0755);
  dir.Write("folder.INI/inside", "keep");
  IniFile ini(dir.File("folder.INI"));
  std::string error;
  EXPECT_FALSE(ini.Load(&error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(ini.ReadSections().empty());

  ini.WriteInteger("S", "k", 1);
  error.clear();
  EXPECT_FALSE(ini.Flush(&error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(TempDir::Read(dir.File("folder.INI/inside")), "keep");
}

// A settings file that is a FIFO would block the start-up on reading, one over the
// limit would fill the memory: both fail to load, at once, and are left as they are.
TEST(IniFileTest, FifoOrOversizedFileFailsToLoadAndIsNotReplaced) {
  TempDir dir;
  const std::string fifo = dir.File("fifo.INI");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  const std::string bigText = "[S]\r\nk=" + std::string(2000, 'v') + "\r\n";
  const std::string big = dir.Write("big.INI", bigText);
  const struct {
    std::string path;
    size_t limit;
    const char* reason;
  } cases[] = {{fifo, kDefaultReadLimit, "FIFO"}, {big, 1000, "larger than 1000 bytes"}};
  for (const auto& c : cases) {
    IniFile ini(c.path);
    std::string error;
    EXPECT_FALSE(ini.Load(&error, c.limit));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    ini.WriteInteger("S", "k", 1);
    EXPECT_FALSE(ini.Flush());
  }
  struct stat st {};
  ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(TempDir::Read(big), bigText);
}

TEST(IniFileTest, FlushIntoAMissingFolderFails) {
  TempDir dir;
  IniFile ini(dir.File("no/such/folder/x.INI"));
  ini.WriteInteger("S", "k", 1);
  std::string error;
  EXPECT_FALSE(ini.Flush(&error));
  EXPECT_NE(error.find("x.INI"), std::string::npos) << error;
}

TEST(IniFileTest, FailedFlushLeavesTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir.Write("s.INI", "[S]\r\nk=old\r\n");
  IniFile ini(path);
  ASSERT_TRUE(ini.Load());
  ini.WriteString("S", "k", std::string(10000, 'n'));
  test::FileSizeLimit limit(4096);
  EXPECT_FALSE(ini.Flush());
  EXPECT_EQ(TempDir::Read(path), "[S]\r\nk=old\r\n");
}

TEST(IniFileTest, Cp932FileRoundTripsJapaneseText) {
  TempDir dir;
  const std::string path = dir.File("LIBRARY.INI");
  const std::string value = "\xE7\x81\xAF\xE4\xBD\x93 \xEF\xBD\x9E";  // "灯体 ～"
  IniFile ini(path, TextEncoding::Cp932);
  ini.WriteString("\xE7\x81\xAF", "Name", value);  // section "灯"
  ASSERT_TRUE(ini.Flush());
  // 灯 = 93 94, 体 = 91 CC, ～ (full-width tilde) = 81 60 in code page 932.
  EXPECT_EQ(TempDir::Read(path), "[\x93\x94]\r\nName=\x93\x94\x91\xCC \x81\x60\r\n");

  IniFile reread(path, TextEncoding::Cp932);
  ASSERT_TRUE(reread.Load());
  EXPECT_EQ(reread.ReadString("\xE7\x81\xAF", "name", ""), value);
}

TEST(IniFileTest, FileIsReadByItsMarkOrElseByTheInstanceEncoding) {
  const std::string utf8 = "[S]\r\nk=\xE7\x81\xAF\xE4\xBD\x93\r\n";  // k=灯体
  const std::string cp932 = "[S]\r\nk=\x93\x94\x91\xCC\r\n";
  struct Case {
    const char* name;
    std::string bytes;
    TextEncoding encoding;
  };
  const Case cases[] = {
      {"utf-8 in a utf-8 instance", utf8, TextEncoding::Utf8},
      {"cp932 in a cp932 instance", cp932, TextEncoding::Cp932},
      {"cp932 in a utf-8 instance", cp932, TextEncoding::Utf8},
      {"utf-8 with mark in a cp932 instance", "\xEF\xBB\xBF" + utf8, TextEncoding::Cp932},
      {"utf-16 LE with mark", std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\x6F\x70\x53\x4F"sv),
       TextEncoding::Utf8},
  };
  for (const Case& c : cases) {
    TempDir dir;
    IniFile ini(dir.Write("s.INI", c.bytes), c.encoding);
    ASSERT_TRUE(ini.Load()) << c.name;
    EXPECT_EQ(ini.ReadString("S", "k", ""), "\xE7\x81\xAF\xE4\xBD\x93") << c.name;
  }
}

TEST(IniFileTest, Utf8InstanceWritesUtf8WithoutMark) {
  TempDir dir;
  const std::string path = dir.File("s.INI");
  IniFile ini(path, TextEncoding::Utf8);
  ini.WriteString("S", "k", "\xE7\x81\xAF");
  ASSERT_TRUE(ini.Flush());
  EXPECT_EQ(TempDir::Read(path), "[S]\r\nk=\xE7\x81\xAF\r\n");
}

TEST(IniFileTest, JunkInputLoadsAndKeepsTheReadableKeys) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
  const std::string overlong(1 << 20, 'x');
  const std::string bytes = junk + "\r\n[S]\r\nnul=a" + std::string("\0b", 2) + "\r\n" + overlong +
                            "\r\nlong=" + overlong + "\r\nk=1\r\n[" + overlong;
  for (const TextEncoding encoding : {TextEncoding::Utf8, TextEncoding::Cp932}) {
    TempDir dir;
    IniFile ini(dir.Write("junk.INI", bytes), encoding);
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.ReadInteger("S", "k", 0), 1);
    EXPECT_EQ(ini.ReadString("S", "nul", ""), std::string("a\0b", 3));
    EXPECT_EQ(ini.ReadString("S", "long", "").size(), overlong.size());
    ini.WriteInteger("S", "added", 2);
    ASSERT_TRUE(ini.Flush());

    IniFile reread(ini.Path(), encoding);
    ASSERT_TRUE(reread.Load());
    EXPECT_EQ(reread.ReadInteger("S", "k", 0), 1);
    EXPECT_EQ(reread.ReadInteger("S", "added", 0), 2);
    EXPECT_EQ(reread.ReadSection("S"), (std::vector<std::string>{"nul", "long", "k", "added"}));
  }
}

}  // namespace
}  // namespace lumaplot
