#include "model/LightLib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "model/StageData.h"
#include "support/Crlf.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

using test::TempDir;

using test::Crlf;

using test::LibrarySection;
using test::LibraryType;

TEST(LibItem, DefaultTypeIsARedGreenBlueCircle) {
  const TLibItem& def = DefaultLibItem();
  EXPECT_EQ(def.Name, "*default*");
  EXPECT_EQ(def.Shape, Circle);
  EXPECT_EQ(def.Width, 20);
  EXPECT_EQ(def.Height, 20);
  EXPECT_EQ(def.FrmColor, 12632256);
  EXPECT_EQ(def.ExAtr, 0);
  EXPECT_EQ(def.Channels, 3);
  const std::array<int32_t, 16> roles{1, 2, 3};
  EXPECT_EQ(def.ChAtr, roles);
}

TEST(LibItem, NamesAreCutToTwentyUtf16Units) {
  EXPECT_EQ(TruncateTypeName("ABCDEFGHIJKLMNOPQRSTUVWXY"), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(TruncateTypeName("短い名前"), "短い名前");
  // 21 kana: three bytes each in UTF-8, one unit each in UTF-16.
  std::string kana;
  for (int i = 0; i < 21; ++i) kana += "あ";
  EXPECT_EQ(TruncateTypeName(kana), kana.substr(0, 60));
  // A character outside the basic plane takes two units and is never split.
  const std::string nineteen(19, 'x');
  EXPECT_EQ(TruncateTypeName(nineteen + "\xF0\x9F\x92\xA1"), nineteen);
}

TEST(LibItem, KeywordsAndLettersAreExactAndCaseSensitive) {
  EXPECT_EQ(ShapeFromKeyword("Rectangle"), Rectangle);
  EXPECT_EQ(ShapeFromKeyword("Octagon"), Octagon);
  EXPECT_EQ(ShapeFromKeyword("BarGraph"), BarGraph);
  EXPECT_EQ(ShapeFromKeyword("rectangle"), Circle);
  EXPECT_EQ(ShapeFromKeyword(""), Circle);
  EXPECT_EQ(ShapeKeyword(7), "");
  EXPECT_EQ(RoleFromLetter("I"), RoleBrightness);
  EXPECT_EQ(RoleFromLetter("r"), RoleNone);
  EXPECT_EQ(RoleFromLetter("RG"), RoleNone);
  EXPECT_EQ(RoleLetter(0), "");
  EXPECT_EQ(RoleLetter(10), "");
  EXPECT_EQ(RoleWord(9), "Brightness");
  EXPECT_EQ(ShapeWord(3), "バーグラフ");
}

TEST(LibItem, SameDefinitionIgnoresRolesBeyondTheChannelCountAndTheName) {
  TLibItem a = LibraryType("A", Circle, 20, 20, {1, 2, 3});
  TLibItem b = a;
  b.Name = "B";
  b.ChAtr[5] = 9;
  EXPECT_TRUE(SameDefinition(a, b));
  b.ChAtr[2] = 4;
  EXPECT_FALSE(SameDefinition(a, b));
  b = a;
  b.FrmColor = kNoColor;
  EXPECT_FALSE(SameDefinition(a, b));
}

TEST(LibList, RefusesTheTwoHundredAndFirstType) {
  TLibList list;
  for (int i = 0; i < kMaxLibItems; ++i)
    ASSERT_NE(list.Add(LibraryType("T" + std::to_string(i), 0, 20, 20, {1})), nullptr);
  EXPECT_TRUE(list.IsFull());
  EXPECT_EQ(list.Add(LibraryType("extra", 0, 20, 20, {1})), nullptr);
  EXPECT_EQ(list.Count(), kMaxLibItems);
  list.Delete(0);
  list.Delete(500);
  EXPECT_EQ(list.Count(), kMaxLibItems - 1);
  EXPECT_EQ(list[0].Name, "T1");
}

TEST(LightLib, IndexOfNameIsExactAndFillsTheDestination) {
  TLightLib lib;
  lib.Items.Add(LibraryType("LED", Rectangle, 30, 10, {8}));
  TLibItem dest = LibraryType("untouched", Octagon, 1, 1, {});

  EXPECT_EQ(lib.IndexOfName("", &dest), -1);
  EXPECT_EQ(dest.Name, "untouched");

  EXPECT_EQ(lib.IndexOfName("led", &dest), -1);
  EXPECT_EQ(dest, DefaultLibItem());

  EXPECT_EQ(lib.IndexOfName("LED", &dest), 0);
  EXPECT_EQ(dest.Name, "LED");
  EXPECT_EQ(dest.Width, 30);
  EXPECT_EQ(lib.IndexOfName("LED"), 0);
}

// The type lists of the main window and of the change-type dialog, and the light
// list sorted by name, all order names one way: full-width letters fold like ASCII
// ones, and names equal but for case keep their library order.
TEST(LightLib, TypeListsAndTheLightListSortNamesAlike) {
  const std::vector<std::string> names = {"ｌｅｄ２", "ＰＡＲ", "LED",    "スポット",
                                          "ＬＥＤ１", "led",    "Ｐａｒ", "par"};
  TLightLib lib;
  TStageData doc;
  for (size_t i = 0; i < names.size(); ++i) {
    lib.Items.Add(LibraryType(names[i], Circle, 20, 20, {RoleRed}));
    test::AddLight(doc, lib.Items[static_cast<int>(i)], static_cast<int32_t>(i), 0);
  }
  const std::vector<std::string> expected = {"LED",      "led",      "par",    "スポット",
                                             "ＬＥＤ１", "ｌｅｄ２", "ＰＡＲ", "Ｐａｒ"};
  EXPECT_EQ(lib.SortedNames(), expected);

  std::vector<TLightCell*> lights(doc.Objects.begin(), doc.Objects.end());
  std::sort(lights.begin(), lights.end(),
            [](const TLightCell* a, const TLightCell* b) { return CompareNameChannel(a, b) < 0; });
  std::vector<std::string> listed;
  for (const TLightCell* light : lights) listed.push_back(light->Fixture.Name);
  EXPECT_EQ(listed, expected);
}

TEST(LightLib, ReadsAFileWrittenByTheWindowsProgram) {
  TLightLib lib;
  ASSERT_EQ(lib.LoadFromFile(LUMAPLOT_TEST_DATA "/library/windows_library.ini", false), 3);
  EXPECT_EQ(lib.Items[0], LibraryType("LED1", Circle, 20, 20, {1, 2, 3}));
  TLibItem par = LibraryType("PAR", Rectangle, 24, 16, {8});
  par.FrmColor = kNoColor;
  par.ChAtr[1] = 2;  // roles beyond the channel count keep the default type's values
  par.ChAtr[2] = 3;
  EXPECT_EQ(lib.Items[1], par);
  TLibItem moving = LibraryType("ムービング色", Octagon, 30, 30, {6, 5, 4, 8, 0}, 1);
  moving.FrmColor = 65535;
  EXPECT_EQ(lib.Items[2], moving);
}

struct SlotCase {
  const char* what;
  std::string file;
  std::vector<TLibItem> expected;
};

class LibraryReading : public testing::TestWithParam<SlotCase> {};

TEST_P(LibraryReading, GivesTheTypes) {
  TempDir dir;
  const std::string path =
      dir.Write("LIBRARY.INI", EncodeText(Crlf(GetParam().file), TextEncoding::Cp932));
  TLightLib lib;
  EXPECT_EQ(lib.LoadFromFile(path, false), static_cast<int>(GetParam().expected.size()));
  ASSERT_EQ(lib.Items.Count(), static_cast<int>(GetParam().expected.size()));
  for (int i = 0; i < lib.Items.Count(); ++i)
    EXPECT_EQ(lib.Items[i], GetParam().expected[static_cast<size_t>(i)]) << i;
}

TLibItem With(TLibItem item, void (*change)(TLibItem&)) {
  change(item);
  return item;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LibraryReading,
    testing::Values(
        SlotCase{"unused slots between used ones",
                 LibrarySection(1, "A") + LibrarySection(2, "") + LibrarySection(3, "B") +
                     LibrarySection(5, "C"),
                 {LibraryType("A", 0, 20, 20, {0}), LibraryType("B", 0, 20, 20, {0}),
                  LibraryType("C", 0, 20, 20, {0})}},
        SlotCase{"defaults for every key",
                 LibrarySection(1, "A"),
                 {With(LibraryType("A", 0, 20, 20, {0}),
                       [](TLibItem& t) {
                         t.ChAtr = {0, 2, 3};
                       })}},
        SlotCase{"25 characters are cut to 20; the same first 20 is a duplicate",
                 LibrarySection(1, "ABCDEFGHIJKLMNOPQRSTUVWXY") +
                     LibrarySection(2, "ABCDEFGHIJKLMNOPQRSTzzzzz"),
                 {With(LibraryType("ABCDEFGHIJKLMNOPQRST", 0, 20, 20, {0}),
                       [](TLibItem& t) {
                         t.ChAtr = {0, 2, 3};
                       })}},
        SlotCase{
            "a blank left at the end by the cut is dropped (found by fuzzing)",
            LibrarySection(1, "ABCDEFGHIJKLMNOPQRS TUV") + LibrarySection(2, "ABCDEFGHIJKLMNOPQRS"),
            {With(LibraryType("ABCDEFGHIJKLMNOPQRS", 0, 20, 20, {0}),
                  [](TLibItem& t) {
                    t.ChAtr = {0, 2, 3};
                  })}},
        SlotCase{"20 channels read as 16",
                 LibrarySection(1, "A", "Channels=20\nChAtr16=I\nChAtr17=R\n"),
                 {With(LibraryType("A", 0, 20, 20, {}),
                       [](TLibItem& t) {
                         t.Channels = 16;
                         t.ChAtr = {};
                         t.ChAtr[15] = 9;
                       })}},
        SlotCase{"0 channels read no roles",
                 LibrarySection(1, "A", "Channels=0\nChAtr1=W\n"),
                 {With(LibraryType("A", 0, 20, 20, {}),
                       [](TLibItem& t) {
                         t.ChAtr = {1, 2, 3};
                       })}},
        SlotCase{"a negative channel count is kept as read",
                 LibrarySection(1, "A", "Channels=-3\nChAtr1=W\n"),
                 {With(LibraryType("A", 0, 20, 20, {}),
                       [](TLibItem& t) {
                         t.Channels = -3;
                         t.ChAtr = {1, 2, 3};
                       })}},
        SlotCase{"lower-case letters and keywords read as none and circle",
                 LibrarySection(1, "A", "Shape=rectangle\nChannels=2\nChAtr1=r\nChAtr2=G\n"),
                 {With(LibraryType("A", 0, 20, 20, {0, 2}), [](TLibItem& t) { t.ChAtr[2] = 3; })}},
        SlotCase{
            "keys and sections match without regard to case; junk numbers take defaults",
            "[DEFINE001]\nname=A\nwidth=abc\nHEIGHT=0x10\nframcolor=1\nFrmColor=12x\nexatr=2\n",
            {With(LibraryType("A", 0, 20, 16, {0}),
                  [](TLibItem& t) {
                    t.ChAtr = {0, 2, 3};
                    t.ExAtr = 2;
                  })}},
        SlotCase{"sections beyond 200 and other sections are not types",
                 "[General]\nName=X\n" + LibrarySection(201, "Y") + LibrarySection(200, "Z"),
                 {With(LibraryType("Z", 0, 20, 20, {0}),
                       [](TLibItem& t) {
                         t.ChAtr = {0, 2, 3};
                       })}}),
    [](const testing::TestParamInfo<SlotCase>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST(LightLib, AMissingFileReadsAsEmpty) {
  TempDir dir;
  TLightLib lib;
  lib.Items.Add(LibraryType("old", 0, 20, 20, {1}));
  EXPECT_EQ(lib.LoadFromFile(dir.File("none.ini"), false), 0);
  EXPECT_EQ(lib.Items.Count(), 0);
}

TEST(LightLib, AnUnreadableFileLeavesTheLibraryAsItWas) {
  TempDir dir;
  const std::string folder = dir.File("folder.ini");
  std::filesystem::create_directory(folder);
  TLightLib lib;
  lib.Items.Add(LibraryType("old", 0, 20, 20, {1}));
  std::string error;
  EXPECT_EQ(lib.LoadFromFile(folder, false, &error), kLibReadFailed);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(lib.Items.Count(), 1);
}

TEST(LightLib, AFileTooLargeIsNeitherReadNorReplaced) {
  TempDir dir;
  const std::string path = dir.Write("LIBRARY.INI", "[Define001]\r\nName=A\r\n");
  std::filesystem::resize_file(path, kMaxLibraryFileBytes + 1);  // sparse: nothing is written
  TLightLib lib;
  std::string error;
  EXPECT_EQ(lib.LoadFromFile(path, false, &error), kLibReadFailed);
  EXPECT_NE(error.find("too large"), std::string::npos);
  EXPECT_FALSE(lib.SaveToFile(path));
  EXPECT_EQ(std::filesystem::file_size(path), kMaxLibraryFileBytes + 1);
}

TEST(LightLib, ReadsBytesInMemoryAndSkipsWhatItCannotRead) {
  const std::string bytes = Utf8ToCp932(
      Crlf(LibrarySection(1, "ＬＥＤ",
                          "Width=abc\nthis line is junk\nChannels=2\nChAtr1=R\nChAtr2=r\n") +
           "[Define002\nName=PAR\nChannels=1\nChAtr1=D\n"));
  TLightLib lib;
  ASSERT_EQ(lib.LoadFromBytes(bytes, false), 2);
  EXPECT_EQ(lib.Items[0], LibraryType("ＬＥＤ", Circle, 20, 20, {RoleRed, RoleNone}));
  EXPECT_EQ(lib.Items[1], LibraryType("PAR", Circle, 20, 20, {RoleDimmer}));

  std::string error;
  EXPECT_EQ(lib.LoadFromBytes(std::string(kMaxLibraryFileBytes + 1, '\n'), false, &error),
            kLibReadFailed);
  EXPECT_NE(error.find("too large"), std::string::npos);
  EXPECT_EQ(lib.Items.Count(), 2);
}

TEST(LightLib, SavingToBytesWritesWhatSavingToTheFileWrites) {
  TempDir dir;
  const std::string current = Crlf("[Other]\nkeep=1\n" + LibrarySection(3, "gone"));
  const std::string path = dir.Write("LIBRARY.INI", current);
  TLightLib lib;
  lib.Items.Add(LibraryType("LED", Rectangle, 30, 10, {RoleRed}));
  std::string bytes;
  ASSERT_TRUE(lib.SaveToBytes(current, bytes));
  ASSERT_TRUE(lib.SaveToFile(path));
  EXPECT_EQ(bytes, TempDir::Read(path));
  EXPECT_EQ(bytes.substr(0, 17), "[Other]\r\nkeep=1\r\n");
  TLightLib reread;
  EXPECT_EQ(reread.LoadFromBytes(bytes, false), 1);
}

TEST(LightLib, ALibraryTheReaderWouldRefuseIsNotWritten) {
  // Half-width katakana take one byte in code page 932 and three in UTF-8, which a
  // name that code page 932 cannot hold makes the writer choose.
  std::string kana;
  for (int i = 0; i < 400000; ++i) kana += "ｱ";
  TempDir dir;
  const std::string current = Utf8ToCp932(Crlf("[Notes]\ntext=" + kana + "\n"));
  ASSERT_LT(current.size(), kMaxLibraryFileBytes);
  const std::string path = dir.Write("LIBRARY.INI", current);
  TLightLib lib;
  ASSERT_EQ(lib.LoadFromFile(path, false), 0);
  lib.Items.Add(LibraryType("LED💡", Circle, 20, 20, {RoleRed}));

  std::string error;
  EXPECT_FALSE(lib.SaveToFile(path, &error));
  EXPECT_NE(error.find("too large"), std::string::npos) << error;
  EXPECT_EQ(TempDir::Read(path), current);

  lib.Items[0].Name = "LED";  // code page 932 holds the file again
  ASSERT_TRUE(lib.SaveToFile(path));
  EXPECT_EQ(lib.LoadFromFile(path, false), 1);
}

TEST(LightLib, ReadsUtf8AndUtf16FilesByTheirMark) {
  TempDir dir;
  const std::string text = Crlf(LibrarySection(1, "照明A"));
  TLightLib lib;
  ASSERT_EQ(lib.LoadFromFile(dir.Write("u8.ini", "\xEF\xBB\xBF" + text), false), 1);
  EXPECT_EQ(lib.Items[0].Name, "照明A");
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("[Define001]\r\nName=AB\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  ASSERT_EQ(lib.LoadFromFile(dir.Write("u16.ini", utf16), false), 1);
  EXPECT_EQ(lib.Items[0].Name, "AB");
}

// A file with a type LED and the given body for type B.
std::string TwoTypes(std::string_view bodyB) {
  return Crlf(LibrarySection(1, "LED",
                             "Shape=Circle\nWidth=20\nHeight=20\nFrmColor=12632256\nChannels=3\n"
                             "ChAtr1=R\nChAtr2=G\nChAtr3=B\nExAtr=0\n") +
              LibrarySection(2, "B", bodyB));
}

TEST(LightLib, MergingTheFileItWasSavedToChangesNothing) {
  TempDir dir;
  TLightLib lib;
  ASSERT_EQ(lib.LoadFromFile(LUMAPLOT_TEST_DATA "/library/windows_library.ini", false), 3);
  const std::string saved = dir.File("saved.ini");
  ASSERT_TRUE(lib.SaveToFile(saved));
  int questions = 0;
  lib.OnDuplicateName = [&](const std::string&) { return ++questions, true; };
  EXPECT_EQ(lib.LoadFromFile(saved, true), 0);
  EXPECT_EQ(questions, 0);
  EXPECT_EQ(lib.Items.Count(), 3);
}

TEST(LightLib, MergeCountsNewAndDifferingTypesAndAsksAboutDifferences) {
  TempDir dir;
  TLightLib lib;
  lib.Items.Add(LibraryType("B", Rectangle, 10, 10, {8}));
  lib.Items.Add(LibraryType("keep", Circle, 20, 20, {1}));
  const std::string path = dir.Write("in.ini", TwoTypes("Shape=Octagon\nChannels=1\nChAtr1=D\n"));

  std::vector<std::string> asked;
  lib.OnDuplicateName = [&](const std::string& name) { return asked.push_back(name), false; };
  EXPECT_EQ(lib.LoadFromFile(path, true), 2);  // LED new, B differs (kept)
  EXPECT_EQ(asked, std::vector<std::string>{"B"});
  ASSERT_EQ(lib.Items.Count(), 3);
  EXPECT_EQ(lib.Items[0].Shape, Rectangle);
  EXPECT_EQ(lib.Items[2].Name, "LED");

  lib.OnDuplicateName = [&](const std::string&) { return true; };
  EXPECT_EQ(lib.LoadFromFile(path, true), 1);  // B differs (replaced in place)
  EXPECT_EQ(lib.Items[0].Name, "B");
  EXPECT_EQ(lib.Items[0].Shape, Octagon);
  EXPECT_EQ(lib.Items[0].Width, 20);
}

TEST(LightLib, MergeTreatsARoleBeyondTheChannelCountAsIdentical) {
  TempDir dir;
  TLightLib lib;
  TLibItem b = LibraryType("B", Circle, 20, 20, {8});
  b.ChAtr[1] = 7;
  lib.Items.Add(b);
  bool asked = false;
  lib.OnDuplicateName = [&](const std::string&) { return asked = true; };
  EXPECT_EQ(lib.LoadFromFile(
                dir.Write("in.ini", Crlf(LibrarySection(
                                        1, "B", "Channels=1\nChAtr1=D\nFrmColor=12632256\n"))),
                true),
            0);
  EXPECT_FALSE(asked);
}

TEST(LightLib, ADuplicateWithinOneFileAsksInLoadModeToo) {
  TempDir dir;
  const std::string path = dir.Write(
      "in.ini", Crlf(LibrarySection(1, "A", "Width=10\n") + LibrarySection(2, "A", "Width=10\n") +
                     LibrarySection(3, "A", "Width=30\n")));
  TLightLib lib;
  std::vector<std::string> asked;
  lib.OnDuplicateName = [&](const std::string& name) { return asked.push_back(name), true; };
  EXPECT_EQ(lib.LoadFromFile(path, false), 1);
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(lib.Items[0].Width, 30);
}

TEST(LightLib, MergeStopsAtTwoHundredTypesAndKeepsWhatItTook) {
  TempDir dir;
  TLightLib lib;
  for (int i = 0; i < 199; ++i) lib.Items.Add(LibraryType("T" + std::to_string(i), 0, 20, 20, {1}));
  const std::string path = dir.Write(
      "in.ini",
      Crlf(LibrarySection(1, "new1") + LibrarySection(2, "T5") + LibrarySection(3, "new2")));
  std::string error;
  EXPECT_EQ(lib.LoadFromFile(path, true, &error), kLibLimitReached);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(lib.Items.Count(), 200);
  EXPECT_EQ(lib.Items[199].Name, "new1");
}

// The whole file as the Windows program writes it for `types`.
std::string FreshFile(const std::vector<std::string>& usedSections) {
  std::string text;
  for (int slot = 1; slot <= 200; ++slot) {
    text += slot <= static_cast<int>(usedSections.size())
                ? usedSections[static_cast<size_t>(slot - 1)]
                : LibrarySection(slot, "");
  }
  return Crlf(text);
}

TEST(LightLib, SavesTheLayoutOfTheWindowsProgramByteForByte) {
  TempDir dir;
  TLightLib lib;
  lib.Items.Add(LibraryType("LED1", Circle, 20, 20, {1, 2, 3}));
  TLibItem bar = LibraryType("バー", BarGraph, 10, 40, {8, 0, 12}, 2);
  bar.FrmColor = kNoColor;
  lib.Items.Add(bar);
  const std::string path = dir.File("LIBRARY.INI");
  ASSERT_TRUE(lib.SaveToFile(path));
  const std::string expected = FreshFile(
      {LibrarySection(1, "LED1",
                      "Shape=Circle\nWidth=20\nHeight=20\nFrmColor=12632256\nChannels=3\n"
                      "ChAtr1=R\nChAtr2=G\nChAtr3=B\nExAtr=0\n"),
       LibrarySection(2, "バー",
                      "Shape=BarGraph\nWidth=10\nHeight=40\nFrmColor=536870911\nChannels=3\n"
                      "ChAtr1=D\nChAtr2=\nChAtr3=\nExAtr=2\n")});
  EXPECT_EQ(TempDir::Read(path), Utf8ToCp932(expected));
}

TEST(LightLib, NamesCodePage932CannotHoldAreSavedAsUtf8) {
  // Found by fuzzing: two names that both became "Caf?" were merged into one type.
  TempDir dir;
  TLightLib lib;
  lib.Items.Add(LibraryType("Café", Circle, 20, 20, {1}));
  lib.Items.Add(LibraryType("Cafè", Circle, 20, 20, {2}));
  lib.Items.Add(LibraryType("照明", Circle, 20, 20, {3}));
  const std::string path = dir.File("LIBRARY.INI");
  ASSERT_TRUE(lib.SaveToFile(path));
  EXPECT_EQ(TempDir::Read(path).substr(0, 3), "\xEF\xBB\xBF");
  TLightLib again;
  ASSERT_EQ(again.LoadFromFile(path, false), 3);
  EXPECT_EQ(again.Items[0].Name, "Café");
  EXPECT_EQ(again.Items[1].Name, "Cafè");
  EXPECT_EQ(again.Items[2].Name, "照明");

  // Once the names fit again, the file goes back to code page 932.
  again.Items.Delete(0);
  again.Items.Delete(0);
  ASSERT_TRUE(again.SaveToFile(path));
  EXPECT_TRUE(TempDir::Read(path).starts_with(Utf8ToCp932("[Define001]\r\nName=照明\r\n")));
}

TEST(LightLib, SavingKeepsOtherContentAndOldRoleKeys) {
  TempDir dir;
  const std::string path = dir.Write(
      "LIBRARY.INI",
      Crlf("; own notes\n[Info]\nAuthor=me\n" +
           LibrarySection(
               1, "A",
               "Shape=Circle\nWidth=20\nHeight=20\nFrmColor=1\nChannels=5\nChAtr1=R\nChAtr2=G\n"
               "ChAtr3=B\nChAtr4=W\nChAtr5=D\nExAtr=0\nNote=kept\n") +
           LibrarySection(2, "B") + LibrarySection(3, "C") + LibrarySection(4, "D")));
  TLightLib lib;
  ASSERT_EQ(lib.LoadFromFile(path, false), 4);
  lib.Items[0].Channels = 3;
  lib.Items.Delete(3);
  lib.Items.Delete(2);
  ASSERT_TRUE(lib.SaveToFile(path));

  const std::string text = TempDir::Read(path);
  EXPECT_EQ(text.rfind("; own notes\r\n[Info]\r\nAuthor=me\r\n[Define001]\r\nName=A\r\n", 0), 0u);
  EXPECT_NE(text.find("Channels=3\r\nChAtr1=R\r\nChAtr2=G\r\nChAtr3=B\r\nChAtr4=W\r\nChAtr5="
                      "D\r\nExAtr=0\r\nNote=kept\r\n"),
            text.npos);
  // Unused slots follow the used ones in ascending order, with an empty name only.
  EXPECT_NE(text.find("[Define002]\r\nName=B\r\n"), text.npos);
  EXPECT_NE(text.find("[Define003]\r\nName=\r\n[Define004]\r\nName=\r\n[Define005]\r\nName=\r\n"),
            text.npos);

  TLightLib again;
  ASSERT_EQ(again.LoadFromFile(path, false), 2);
  EXPECT_EQ(again.Items[0].Channels, 3);
}

TEST(LightLib, AFailedSaveLeavesTheOldFileWhole) {
  TempDir dir;
  TLightLib lib;
  lib.Items.Add(LibraryType("A", 0, 20, 20, {1}));
  std::string error;
  EXPECT_FALSE(lib.SaveToFile(dir.File("no/such/folder/LIBRARY.INI"), &error));
  EXPECT_FALSE(error.empty());

  // A file that exists but cannot be read is not replaced by the library alone.
  const std::string folder = dir.File("LIBRARY.INI");
  std::filesystem::create_directory(folder);
  EXPECT_FALSE(lib.SaveToFile(folder, &error));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(LightLib, SurvivesJunk) {
  TempDir dir;
  std::string junk;
  for (int i = 0; i < 20000; ++i) junk += static_cast<char>((i * 7919) % 256);
  junk += "\r\n[Define001]\r\nName=" + std::string(100000, 'N') + "\r\nChannels=99999999999\r\n";
  TLightLib lib;
  ASSERT_EQ(lib.LoadFromFile(dir.Write("junk.ini", junk), false), 1);
  EXPECT_EQ(lib.Items[0].Name, std::string(20, 'N'));
  EXPECT_EQ(lib.Items[0].Channels, 1);
}

}  // namespace
}  // namespace lumaplot
