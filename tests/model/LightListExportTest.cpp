#include "model/LightListExport.h"

#include <gtest/gtest.h>

#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "util/TextCodec.h"

namespace lumaplot {
namespace {

using test::TempDir;

// A light whose type is `name` with the given roles.
TLightCell* AddLight(TStageData& doc, std::string name, int32_t startCh,
                     const std::vector<int32_t>& roles, int32_t x = 0) {
  return test::AddLight(doc, test::LibraryType(std::move(name), Circle, 20, 20, roles), x, 0,
                        startCh);
}

const std::string kRule(50, '-');

TEST(LightListExport, WritesTheTitleHeaderAndOneLinePerLight) {
  TStageData doc;
  doc.Title = "本公演";
  AddLight(doc, "PAR", 521, {8});
  AddLight(doc, "LED1", 0, {1, 2, 3});
  test::AddText(doc, -1, -1, "");

  TempDir dir;
  const std::string path = dir.File("list.txt");
  ASSERT_TRUE(ExportLightList(doc, path, {}));
  const std::string expected = "Title : 本公演\r\n\r\nType                 Ch.\r\n" + kRule +
                               "\r\n"
                               "LED1                 A001  R G B\r\n"
                               "PAR                  B010  D\r\n" +
                               kRule + "\r\n";
  EXPECT_EQ(TempDir::Read(path), Utf8ToCp932(expected));
  EXPECT_EQ(doc.Objects[1]->Fixture.Name, "PAR");  // the document keeps its order
}

TEST(LightListExport, AnEmptyPlotGivesTheFrameOnly) {
  TStageData doc;
  EXPECT_EQ(LightListLines(doc, {}),
            (std::vector<std::string>{"Title : ", "", "Type                 Ch.", kRule, kRule}));
}

TEST(LightListExport, ColumnsAndRoles) {
  TStageData doc;
  AddLight(doc, "ABCDEFGHIJKLMNOPQRSTUVW", 4095, {0, 4, 5, 6, 7, 9, 12});
  AddLight(doc, "Empty", -1, {});
  AddLight(doc, "日本語", 9, {1});
  const auto lines = LightListLines(doc, {.DmxChMode = 1, .GridSortMode = 2});
  EXPECT_EQ(lines[4], "ABCDEFGHIJKLMNOPQRSTUVW 4096  - Y M C W I ");
  EXPECT_EQ(lines[5], "Empty                     ");
  // Full-width characters take two columns, as in the file's code page.
  EXPECT_EQ(lines[6], "日本語               10    R");
}

TEST(LightListExport, SortModes) {
  TStageData doc;
  AddLight(doc, "led", 6, {1});
  AddLight(doc, "Dim", 0, {8}, 5);
  AddLight(doc, "LED", 2, {1});
  AddLight(doc, "Dim", 0, {8}, 1);
  AddLight(doc, "zz", -1, {});
  auto names = [&](int mode) {
    std::vector<std::string> result;
    const auto lines = LightListLines(doc, {.DmxChMode = 1, .GridSortMode = mode});
    for (size_t i = 4; i + 1 < lines.size(); ++i)
      result.push_back(lines[i].substr(0, 3) + lines[i].substr(21, 4));
    return result;
  };
  EXPECT_EQ(names(0),
            (std::vector<std::string>{"Dim1   ", "Dim1   ", "LED3   ", "led7   ", "zz     "}));
  EXPECT_EQ(names(1),
            (std::vector<std::string>{"zz     ", "Dim1   ", "Dim1   ", "LED3   ", "led7   "}));
  EXPECT_EQ(names(7),
            (std::vector<std::string>{"led7   ", "Dim1   ", "LED3   ", "Dim1   ", "zz     "}));
}

TEST(LightListExport, AFileThatCannotBeWrittenIsReported) {
  TStageData doc;
  TempDir dir;
  std::string error;
  EXPECT_FALSE(ExportLightList(doc, dir.File("no/folder/list.txt"), {}, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace lumaplot
