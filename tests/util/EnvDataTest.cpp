#include "util/EnvData.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "support/TempDir.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

using test::TempDir;
using Fields = std::vector<std::pair<std::string, std::string>>;

// Every stored preference as text, so that records compare field by field.
Fields StoredFields(const TEnvData& env) {
  Fields fields;
  auto add = [&fields](const char* name, auto value) {
    if constexpr (std::is_same_v<decltype(value), std::string>) {
      fields.emplace_back(name, value);
    } else {
      fields.emplace_back(name, std::to_string(value));
    }
  };
  for (int port = 0; port < kInputPortCount; ++port) {
    fields.emplace_back("RxUniverse" + std::to_string(port + 1),
                        std::to_string(env.RxUniverse[port]));
  }
  add("UpdateInterval", env.UpdateInterval);
  add("DatBufferN", env.DatBufferN.load());
  add("DatThreshold", env.DatThreshold.load());
  add("FlatToolBar", env.FlatToolBar);
  add("HideTitleMenu", env.HideTitleMenu);
  add("OpenLastData", env.OpenLastData);
  add("TabWidth", env.TabWidth);
  add("TabStyle", int{env.TabStyle});
  add("TabMultiLine", env.TabMultiLine);
  add("StretchMode", env.StretchMode);
  add("GridSortMode", env.GridSortMode);
  add("DimValMode", env.DimValMode);
  add("DmxChMode", env.DmxChMode);
  add("ExchangeValCh", env.ExchangeValCh);
  add("ListValMode", env.ListValMode);
  add("UseCom1Switch", env.UseCom1Switch);
  add("SnapGrid", env.SnapGrid);
  add("GridSize", env.GridSize);
  add("MinAngle", env.MinAngle);
  add("Editor", env.Editor);
  add("LastDir", env.LastDir);
  add("SaveUTF8", env.SaveUTF8);
  add("SelectRect", env.SelectRect);
  add("TextSize", env.TextSize);
  add("TextColor", env.TextColor);
  add("LineSize", env.LineSize);
  add("LineColor", env.LineColor);
  add("ShapeType", env.ShapeType);
  add("ShapeSize", env.ShapeSize);
  add("ShapeWidth", env.ShapeWidth);
  add("ShapeHeight", env.ShapeHeight);
  add("ShapeColor", env.ShapeColor);
  add("ShapeColor2", env.ShapeColor2);
  return fields;
}

TEST(EnvDataTest, FirstStartWithoutAFileGivesTheDefaults) {
  TempDir dir;
  IniFile ini(dir.File("lumaplot.INI"));
  ASSERT_TRUE(ini.Load());
  TEnvData env(ini, "/opt/lumaplot/");

  const Fields expected = {
      {"RxUniverse1", "8"},       {"RxUniverse2", "9"},         {"RxUniverse3", "10"},
      {"RxUniverse4", "11"},      {"RxUniverse5", "12"},        {"RxUniverse6", "13"},
      {"RxUniverse7", "14"},      {"RxUniverse8", "15"},        {"UpdateInterval", "50"},
      {"DatBufferN", "0"},        {"DatThreshold", "128"},      {"FlatToolBar", "0"},
      {"HideTitleMenu", "0"},     {"OpenLastData", "1"},        {"TabWidth", "0"},
      {"TabStyle", "0"},          {"TabMultiLine", "0"},        {"StretchMode", "0"},
      {"GridSortMode", "0"},      {"DimValMode", "0"},          {"DmxChMode", "0"},
      {"ExchangeValCh", "0"},     {"ListValMode", "0"},         {"UseCom1Switch", "0"},
      {"SnapGrid", "0"},          {"GridSize", "20"},           {"MinAngle", "5"},
      {"Editor", "notepad"},      {"LastDir", "/opt/lumaplot"}, {"SaveUTF8", "0"},
      {"SelectRect", "255"},      {"TextSize", "16"},           {"TextColor", "16777215"},
      {"LineSize", "1"},          {"LineColor", "16777215"},    {"ShapeType", "0"},
      {"ShapeSize", "1"},         {"ShapeWidth", "100"},        {"ShapeHeight", "100"},
      {"ShapeColor", "16777215"}, {"ShapeColor2", "16777215"},
  };
  EXPECT_EQ(StoredFields(env), expected);
  EXPECT_EQ(env.HdrDir, "/opt/lumaplot/HdrData/");
  EXPECT_EQ(env.ProgramFolder(), "/opt/lumaplot");
  EXPECT_EQ(env.TextStyle, 0);
  EXPECT_EQ(env.DebugMode, 0);
  EXPECT_EQ(env.TestLevel, 0);
  EXPECT_FALSE(env.PrinterPresent);
}

TEST(EnvDataTest, ValuesAreReadAsTheFileHoldsThem) {
  IniFile ini;
  ini.LoadFromText(
      "[general]\r\n"
      "UPDATEINTERVAL=0x1E\r\n"
      "SnapGrid=2\r\n"
      "DatBufferN=5\r\n"
      "GridSize=0\r\n"
      "MinAngle=ninety\r\n"
      "TabStyle=258\r\n"
      "RxUniverse3=0x123\r\n"
      "DebugMode=1\r\n"
      "[Color]\r\n"
      "SelectRect=-1\r\n"
      "[Default]\r\n"
      "TextColor=0x00FF8000\r\n");
  TEnvData env(ini, "/p");
  EXPECT_EQ(env.UpdateInterval, 30);
  EXPECT_TRUE(env.SnapGrid);
  EXPECT_EQ(env.DatBufferN, 5);
  EXPECT_EQ(env.GridSize, 0);
  EXPECT_EQ(env.MinAngle, 5);
  EXPECT_EQ(env.TabStyle, 2);  // kept in 8 bits
  EXPECT_EQ(env.RxUniverse[2], 0x123);
  EXPECT_EQ(env.DebugMode, 1);
  EXPECT_EQ(env.SelectRect, -1);
  EXPECT_EQ(env.TextColor, 0xFF8000);

  env.Save();
  EXPECT_EQ(ini.ReadString("General", "SnapGrid", ""), "1");
  EXPECT_EQ(ini.ReadString("General", "UpdateInterval", ""), "30");
}

TEST(EnvDataTest, SaveAndReadBackKeepsEveryField) {
  TempDir dir;
  const std::string path = dir.File("lumaplot.INI");
  IniFile ini(path);
  ASSERT_TRUE(ini.Load());
  TEnvData env(ini, dir.Path());
  const Fields defaults = StoredFields(env);

  for (int port = 0; port < kInputPortCount; ++port) env.RxUniverse[port] = 0x7F00 + port;
  env.UpdateInterval = 20;
  env.DatBufferN = 2;
  env.DatThreshold = 224;
  env.FlatToolBar = true;
  env.HideTitleMenu = true;
  env.OpenLastData = false;
  env.TabWidth = 120;
  env.TabStyle = 2;
  env.TabMultiLine = true;
  env.StretchMode = 3;
  env.GridSortMode = 4;
  env.DimValMode = 2;
  env.DmxChMode = 1;
  env.ExchangeValCh = true;
  env.ListValMode = 1;
  env.UseCom1Switch = true;
  env.SnapGrid = true;
  env.GridSize = 999;
  env.MinAngle = 90;
  env.Editor = "/usr/bin/my editor";
  env.LastDir = "/home/\xE7\x81\xAF\xE4\xBD\x93/plots";
  env.SaveUTF8 = true;
  env.SelectRect = 0x123456;
  env.TextSize = 24;
  env.TextColor = 0x0000FF;
  env.LineSize = 3;
  env.LineColor = 0x00FF00;
  env.ShapeType = 2;
  env.ShapeSize = 4;
  env.ShapeWidth = 300;
  env.ShapeHeight = 200;
  env.ShapeColor = 0x010203;
  env.ShapeColor2 = -1;
  const Fields changed = StoredFields(env);
  for (size_t i = 0; i < changed.size(); ++i) {
    EXPECT_NE(changed[i].second, defaults[i].second) << changed[i].first << " left at its default";
  }

  std::string error;
  ASSERT_TRUE(env.Save(&error)) << error;
  IniFile reread(path);
  ASSERT_TRUE(reread.Load());
  TEnvData loaded(reread, dir.Path());
  EXPECT_EQ(StoredFields(loaded), changed);
}

TEST(EnvDataTest, SaveWritesTheKeysInTheirOrder) {
  IniFile ini;
  TEnvData env(ini, "/p");
  env.Save();
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"General", "Color", "Default"}));
  EXPECT_EQ(ini.ReadSection("General"),
            (std::vector<std::string>{
                "RxUniverse1",  "RxUniverse2",   "RxUniverse3",   "RxUniverse4",    "RxUniverse5",
                "RxUniverse6",  "RxUniverse7",   "RxUniverse8",   "UpdateInterval", "DatBufferN",
                "DatThreshold", "FlatToolBar",   "HideTitleMenu", "OpenLastData",   "TabWidth",
                "TabStyle",     "TabMultiLine",  "StretchMode",   "GridSortMode",   "DimValMode",
                "DmxChMode",    "ExchangeValCh", "ListValMode",   "UseCom1Switch",  "SnapGrid",
                "GridSize",     "MinAngle",      "Editor",        "LastDir",        "SaveUTF8"}));
  EXPECT_EQ(ini.ReadSection("Color"), std::vector<std::string>{"SelectRect"});
  EXPECT_EQ(ini.ReadSection("Default"),
            (std::vector<std::string>{"TextSize", "TextColor", "LineSize", "LineColor", "ShapeType",
                                      "ShapeSize", "ShapeWidth", "ShapeHeight", "ShapeColor",
                                      "ShapeColor2"}));
  EXPECT_FALSE(ini.KeyExists("General", "DebugMode"));
}

TEST(EnvDataTest, SaveLeavesTheKeysOfOtherOwnersInPlace) {
  IniFile ini;
  ini.LoadFromText(
      "[General]\r\nWinLeft=10\r\nDebugMode=1\r\nSnapGrid=1\r\n"
      "[ShortCut]\r\nItemFileOpen=Ctrl+O\r\n");
  TEnvData env(ini, "/p");
  env.SnapGrid = false;
  env.Save();
  const std::vector<std::string> general = ini.ReadSection("General");
  ASSERT_GE(general.size(), 3u);
  EXPECT_EQ(general[0], "WinLeft");
  EXPECT_EQ(general[1], "DebugMode");
  EXPECT_EQ(general[2], "SnapGrid");
  EXPECT_EQ(ini.ReadString("General", "SnapGrid", ""), "0");
  EXPECT_EQ(ini.ReadString("General", "DebugMode", ""), "1");
  EXPECT_EQ(ini.ReadString("ShortCut", "ItemFileOpen", ""), "Ctrl+O");
}

TEST(EnvDataTest, EditorAndLastDirLoseOnePairOfQuotes) {
  struct Case {
    const char* line;  // the General section's lines
    const char* editor;
    const char* lastDir;
  };
  const Case cases[] = {
      {"Editor=\"C:\\Program Files\\ed.exe\"", "C:\\Program Files\\ed.exe", "/p"},
      {"Editor=  \"/usr/bin/ed\"  ", "/usr/bin/ed", "/p"},
      {"Editor=\"", "\"", "/p"},
      {"Editor=\"\"", "notepad", "/p"},
      {"Editor=", "notepad", "/p"},
      {"Editor=\"\"x\"\"", "\"x\"", "/p"},
      {"Editor=\"a", "\"a", "/p"},
      {"LastDir=\"/home/user/plots\"", "notepad", "/home/user/plots"},
      {"LastDir=\"\"", "notepad", "/p"},
  };
  for (const Case& c : cases) {
    IniFile ini;
    ini.LoadFromText(std::string("[General]\n") + c.line + "\n");
    TEnvData env(ini, "/p/");
    EXPECT_EQ(env.Editor, c.editor) << c.line;
    EXPECT_EQ(env.LastDir, c.lastDir) << c.line;
  }
}

TEST(EnvDataTest, EditorIsSavedWithoutQuotesUnlessTheyAreNeededToReadItBack) {
  struct Case {
    const char* editor;
    const char* written;
  };
  const Case cases[] = {
      {"C:\\Program Files\\ed.exe", "C:\\Program Files\\ed.exe"},
      {"/usr/bin/my editor", "/usr/bin/my editor"},
      {"\"", "\""},
      {" padded ", "\" padded \""},
      {"\"quoted\"", "\"\"quoted\"\""},
  };
  for (const Case& c : cases) {
    IniFile ini;
    TEnvData env(ini, "/p");
    env.Editor = c.editor;
    env.Save();
    EXPECT_EQ(ini.ReadString("General", "Editor", ""), c.written) << c.editor;
    TEnvData reread(ini, "/p");
    EXPECT_EQ(reread.Editor, c.editor);
  }
}

TEST(EnvDataTest, ReadQuotedStringServesOtherKeys) {
  IniFile ini;
  ini.LoadFromText("[General]\nLastFile1=\"/plots/a b.dat\"\n");
  TEnvData env(ini, "/p");
  EXPECT_EQ(env.ReadQuotedString("General", "LastFile1"), "/plots/a b.dat");
  EXPECT_EQ(env.ReadQuotedString("General", "LastFile2"), "");
}

TEST(EnvDataTest, ResolvePathMakesRelativePathsAbsoluteInTheProgramFolder) {
  TempDir dir;
  ::mkdir(dir.File("pics").c_str(), 0755);
  dir.Write("pics/back.png", "png");
  dir.Write("top.png", "png");
  const std::string folder = dir.Path();
  struct Case {
    std::string path;
    std::string resolved;
    bool exists;
  };
  const Case cases[] = {
      {"", "", false},
      {"top.png", folder + "/top.png", true},
      {"pics/back.png", folder + "/pics/back.png", true},
      {"pics\\back.png", folder + "/pics/back.png", true},
      {"missing.png", folder + "/missing.png", false},
      {folder + "/top.png", folder + "/top.png", true},
      {"/no/such/file.png", "/no/such/file.png", false},
      {"\\no\\such\\file.png", "/no/such/file.png", false},
      {"C:\\pics\\back.png", "C:\\pics\\back.png", false},
      {"c:back.png", "c:back.png", false},
      {"\\\\server\\share\\back.png", "\\\\server\\share\\back.png", false},
      {"pics", folder + "/pics", false},  // a folder is no file
  };
  IniFile ini;
  TEnvData env(ini, folder + "/");
  for (const Case& c : cases) {
    std::string path = c.path;
    EXPECT_EQ(env.ResolvePath(path), c.exists) << c.path;
    EXPECT_EQ(path, c.resolved) << c.path;
  }
}

TEST(EnvDataTest, ProgramFolderAtTheRoot) {
  IniFile ini;
  TEnvData env(ini, "/");
  EXPECT_EQ(env.LastDir, "/");
  EXPECT_EQ(env.HdrDir, "/HdrData/");
  std::string path = "x.png";
  env.ResolvePath(path);
  EXPECT_EQ(path, "/x.png");
}

// The network choices are new keys: a file without them stays without them, a
// choice made is written and read back, and a choice taken back is written empty.
TEST(EnvDataTest, NetworkChoicesAreWrittenOnceMade) {
  IniFile ini;
  ini.LoadFromText("[General]\r\nArtNetDest=  Subnet \r\n");
  TEnvData env(ini, "/p");
  EXPECT_EQ(env.ArtNetBind, "");
  EXPECT_EQ(env.ArtNetDest, "Subnet");

  env.Save();
  EXPECT_FALSE(ini.KeyExists("General", "ArtNetBind"));
  EXPECT_EQ(ini.ReadString("General", "ArtNetDest", "?"), "Subnet");

  env.ArtNetBind = "2.0.0.1";
  env.ArtNetDest = "";
  env.Save();
  EXPECT_EQ(ini.ReadString("General", "ArtNetBind", "?"), "2.0.0.1");
  EXPECT_EQ(ini.ReadString("General", "ArtNetDest", "?"), "");
  TEnvData reread(ini, "/p");
  EXPECT_EQ(reread.ArtNetBind, "2.0.0.1");
  EXPECT_EQ(reread.ArtNetDest, "");
}

}  // namespace
}  // namespace lumaplot
