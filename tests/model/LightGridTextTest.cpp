// The cells and the row order of the light list window.
#include "model/LightGridText.h"

#include <gtest/gtest.h>

#include "support/StageBuilder.h"

namespace lumaplot {
namespace {

struct LevelCase {
  int Level;
  int32_t Mode;
  const char* Text;
};

TEST(LightGridText, LevelTextInEachForm) {
  const LevelCase cases[] = {
      {0, ListValPercent, " 00"},
      {1, ListValPercent, " 00"},
      {3, ListValPercent, " 01"},
      {128, ListValPercent, " 50"},
      {254, ListValPercent, " 99"},
      {255, ListValPercent, " FF"},
      {0, ListValDecimal, "   0"},
      {7, ListValDecimal, "   7"},
      {128, ListValDecimal, " 128"},
      {255, ListValDecimal, " 255"},
      {0, ListValHex, " 00"},
      {10, ListValHex, " 0A"},
      {128, ListValHex, " 80"},
      {255, ListValHex, " FF"},
      {128, 3, ""},
      {128, -1, ""},
  };
  for (const LevelCase& c : cases) {
    EXPECT_EQ(ListLevelText(c.Level, c.Mode), c.Text) << c.Level << " in form " << c.Mode;
  }
}

TEST(LightGridText, RoleTexts) {
  const char* const expected[] = {"-", "R", "G", "B", "Y", "M", "C", "W", "D", "I"};
  for (int role = 0; role < 10; ++role) EXPECT_EQ(RoleText(role), expected[role]);
  EXPECT_EQ(RoleText(10), "");
  EXPECT_EQ(RoleText(-1), "");
  EXPECT_EQ(ListCellText(RoleNone, 200, ListValDecimal), "- 200");
  EXPECT_EQ(ListCellText(12, 200, ListValDecimal), " 200");
  EXPECT_EQ(ListCellText(RoleRed, kEmptyCell, ListValDecimal), "");
}

// Cells of one light at `startCh` with `roles` over the given levels, as texts.
std::vector<std::string> Cells(int32_t startCh, std::initializer_list<int32_t> roles,
                               const TLevelBuffer& levels, int32_t mode = ListValPercent,
                               int32_t exAtr = 0) {
  TLibItem type = test::MakeType(roles);
  type.ExAtr = exAtr;
  TLightCell* light = test::NewLight(type, 0, 0, startCh);
  std::vector<std::string> texts;
  for (int k = 0; k < kListChannelCells; ++k) {
    texts.push_back(
        ListCellText(type.ChAtr[static_cast<size_t>(k)], ListCellLevel(levels, *light, k), mode));
  }
  FreeCell(light);
  return texts;
}

TEST(LightGridText, ChannelCellsOfARgbLight) {
  TLevelBuffer levels{};
  levels[10] = 255;
  levels[11] = 128;
  levels[12] = 0;
  std::vector<std::string> expected(kListChannelCells);
  expected[0] = "R FF";
  expected[1] = "G 50";
  expected[2] = "B 00";
  EXPECT_EQ(Cells(10, {RoleRed, RoleGreen, RoleBlue}, levels), expected);
}

// The cells show what the light shows: an inverted channel reads inverted, while
// the buffer keeps the level as received.
TEST(LightGridText, InvertedChannelsShowThePresentedLevel) {
  TLevelBuffer levels{};
  levels[0] = 0;
  levels[1] = 55;
  const auto cells = Cells(0, {RoleRed, RoleDimmer}, levels, ListValDecimal, kExAtrColorInvert);
  EXPECT_EQ(cells[0], "R 255");
  EXPECT_EQ(cells[1], "D  55");
  EXPECT_EQ(levels[0], 0);
}

// No level is read outside the 4096 levels: channels at or past the end, and every
// channel of a light that is not patched, are empty cells.
TEST(LightGridText, CellsOutsideTheLevelsAreEmpty) {
  TLevelBuffer levels;
  levels.fill(200);
  const auto atEnd = Cells(4094, {RoleRed, RoleGreen, RoleBlue}, levels, ListValDecimal);
  EXPECT_EQ(atEnd[0], "R 200");
  EXPECT_EQ(atEnd[1], "G 200");
  EXPECT_EQ(atEnd[2], "");
  for (int32_t start : {kNotPatched, kStartChDiffers, 4096, 70000}) {
    for (const std::string& cell : Cells(start, {RoleRed, RoleGreen}, levels)) {
      EXPECT_EQ(cell, "") << "start " << start;
    }
  }
  // A type read from a file may claim fewer than no channels.
  TLibItem broken = test::MakeType({RoleRed});
  broken.Channels = -4;
  TLightCell* light = test::NewLight(broken, 0, 0, 0);
  EXPECT_EQ(ListCellLevel(levels, *light, 0), kEmptyCell);
  FreeCell(light);
}

// Rows of equal names and channels: the later keys decide, and lights equal in
// every key stay in document order.
TEST(LightGridText, SortOrders) {
  TStageData doc;
  auto add = [&doc](const char* name, int32_t ch, int32_t x, int32_t y) {
    TLibItem type = test::MakeType({RoleRed});
    type.Name = name;
    return test::AddLight(doc, type, x, y, ch);
  };
  TLightCell* parB = add("PAR", 5, 10, 0);
  TLightCell* parA = add("par", 5, 10, 0);  // equal to parB in every key
  TLightCell* parLeft = add("Par", 5, 2, 9);
  TLightCell* led = add("LED", 5, 50, 0);
  TLightCell* ledFirst = add("led", 0, 90, 0);
  TLightCell* loose = add("ZOOM", kNotPatched, 0, 0);
  TLightCell* parUp = add("PAR", 5, 2, 1);
  const TLightList document = {parB, parA, parLeft, led, ledFirst, loose, parUp};

  TLightList byName = document;
  SortListLights(byName, 0);
  EXPECT_EQ(byName, (TLightList{ledFirst, led, parUp, parLeft, parB, parA, loose}));

  TLightList byChannel = document;
  SortListLights(byChannel, 1);
  EXPECT_EQ(byChannel, (TLightList{loose, ledFirst, led, parUp, parLeft, parB, parA}));

  for (int32_t other : {2, -1, 99}) {
    TLightList unsorted = document;
    SortListLights(unsorted, other);
    EXPECT_EQ(unsorted, document);
  }
}

}  // namespace
}  // namespace lumaplot
