#include "model/LightPresentation.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/StageBuilder.h"

namespace lumaplot {
namespace {

using test::AddLight;
using test::MakeType;

struct MixCase {
  const char* name;
  std::vector<int32_t> roles;
  std::vector<uint8_t> levels;
  int32_t filterColor;
  int32_t color;
  int32_t level;
};

class MixTest : public ::testing::TestWithParam<MixCase> {};

TEST_P(MixTest, MixesTheChannelsIntoColourAndLevel) {
  const MixCase& c = GetParam();
  TStageData doc;
  TLibItem type;
  type.Channels = static_cast<int32_t>(c.roles.size());
  type.ChAtr = {};
  for (size_t i = 0; i < c.roles.size(); ++i) type.ChAtr[i] = c.roles[i];
  TLightCell* light = AddLight(doc, type, 0, 0, 100);
  light->FilterColor = c.filterColor;
  for (size_t i = 0; i < c.levels.size(); ++i) doc.ShownLevels[100 + i] = c.levels[i];

  UpdateLights(doc);

  EXPECT_EQ(light->Color, c.color) << std::hex << light->Color;
  EXPECT_EQ(light->Level, c.level);
}

INSTANTIATE_TEST_SUITE_P(
    Roles, MixTest,
    ::testing::Values(
        MixCase{"Rgb", {RoleRed, RoleGreen, RoleBlue}, {255, 128, 0}, kNoColor, 0x0080FF, 0},
        MixCase{"Cmy", {RoleCyan, RoleMagenta, RoleYellow}, {255, 0, 0}, kNoColor, 0xFFFF00, 0},
        MixCase{"DimmerHalf", {RoleDimmer}, {128}, kNoColor, 0x808080, 128},
        MixCase{"DimmerFullFilter", {RoleDimmer}, {255}, 0x0000FF, 0x0000FF, 255},
        // 0x00FF80 at 128/255: red 128 -> 64, green 255 -> 128.
        MixCase{"DimmerScalesFilter", {RoleDimmer}, {128}, 0x00FF80, 0x008040, 128},
        // A filter colour naming the button face of the system palette (240, 240, 240).
        MixCase{
            "SystemFilter", {RoleDimmer}, {255}, static_cast<int32_t>(0xFF00000F), 0xF0F0F0, 255},
        MixCase{"DimmerLastWins",
                {RoleRed, RoleGreen, RoleBlue, RoleDimmer},
                {255, 0, 0, 10},
                kNoColor,
                0x0A0A0A,
                10},
        MixCase{"DimmerFirstIgnored",
                {RoleDimmer, RoleRed, RoleGreen, RoleBlue},
                {10, 255, 0, 0},
                kNoColor,
                0x0000FF,
                10},
        MixCase{"WhiteAdds", {RoleRed, RoleWhite}, {200, 100}, kNoColor, 0x6464FF, 0},
        MixCase{"WhiteAddsToDimmed", {RoleWhite, RoleDimmer}, {100, 128}, kNoColor, 0xE4E4E4, 128},
        MixCase{
            "BrightnessKeepsColours", {RoleRed, RoleBrightness}, {90, 77}, kNoColor, 0x00005A, 77},
        MixCase{"LaterChannelOverrides", {RoleRed, RoleCyan}, {200, 0}, kNoColor, 0x0000FF, 0},
        MixCase{"NoChannels", {}, {}, kNoColor, 0x000000, 0},
        MixCase{"UnknownRole", {RoleRed, 12}, {40, 255}, kNoColor, 0x000028, 0}),
    [](const auto& info) { return info.param.name; });

TEST(UpdateLightsTest, InversionIsUsedButNeverStored) {
  TStageData doc;
  TLibItem type = MakeType({RoleRed, RoleDimmer, RoleBrightness});
  type.ExAtr = kExAtrColorInvert | kExAtrBrightnessInvert;
  TLightCell* light = AddLight(doc, type, 0, 0, 0);
  doc.ShownLevels[0] = 0;
  doc.ShownLevels[1] = 30;  // a dimmer is never inverted
  doc.ShownLevels[2] = 55;

  UpdateLights(doc);

  EXPECT_EQ(doc.ShownLevels[0], 0);
  EXPECT_EQ(doc.ShownLevels[1], 30);
  EXPECT_EQ(doc.ShownLevels[2], 55);
  EXPECT_EQ(light->Level, 200);
  EXPECT_EQ(PresentedLevel(doc.ShownLevels, *light, 0), 255);
  EXPECT_EQ(PresentedLevel(doc.ShownLevels, *light, 1), 30);
  EXPECT_EQ(PresentedLevel(doc.ShownLevels, *light, 2), 200);
  EXPECT_EQ(PresentedLevel(doc.ShownLevels, *light, 3), 0);  // no such channel
}

// A level that no input rewrites between ticks (a port that stopped sending, a
// recording of fewer ports, the change filter holding a spike back) must look the
// same on every tick, and lights sharing an inverted channel must agree.
TEST(UpdateLightsTest, AnInvertedLevelHeldStillShowsASteadyColour) {
  TStageData doc;
  TLibItem cmy = MakeType({RoleCyan, RoleMagenta, RoleYellow, RoleBrightness});
  cmy.ExAtr = kExAtrColorInvert | kExAtrBrightnessInvert;
  TLightCell* first = AddLight(doc, cmy, 0, 0, 10);
  TLightCell* second = AddLight(doc, cmy, 40, 0, 10);  // the same channels
  TLibItem red = MakeType({RoleRed});
  red.ExAtr = kExAtrColorInvert;
  TLightCell* sharing = AddLight(doc, red, 80, 0, 10);  // reads the cyan channel as red
  doc.ShownLevels[10] = 55;                             // inverted: cyan 200, so red 55
  doc.ShownLevels[11] = 0;                              // inverted: magenta 255, so green 0
  doc.ShownLevels[12] = 200;                            // inverted: yellow 55, so blue 200
  doc.ShownLevels[13] = 5;                              // inverted: brightness 250

  for (int tick = 0; tick < 5; ++tick) {
    for (TLightCell* light : doc.Objects) light->SetNeedsDraw(false);
    UpdateLights(doc);
    for (const TLightCell* light : {first, second}) {
      EXPECT_EQ(light->Color, 0xC80037) << "tick " << tick;
      EXPECT_EQ(light->Level, 250) << "tick " << tick;
    }
    EXPECT_EQ(sharing->Color, 0x0000C8) << "tick " << tick;
    // Marked once, when the colour first changed; never again while it holds.
    EXPECT_EQ(first->NeedsDraw(), tick == 0) << "tick " << tick;
  }
  EXPECT_EQ(doc.ShownLevels[10], 55);
}

TEST(UpdateLightsTest, ChannelsPastTheLastLevelReadAsZero) {
  TStageData doc;
  TLightCell* plain =
      AddLight(doc, MakeType({RoleRed, RoleGreen, RoleBlue, RoleWhite}), 0, 0, 4094);
  TLibItem inverted = MakeType({RoleRed, RoleGreen, RoleBlue});
  inverted.ExAtr = kExAtrColorInvert;
  TLightCell* invertedLight = AddLight(doc, inverted, 0, 0, 4095);
  doc.ShownLevels[4094] = 10;
  doc.ShownLevels[4095] = 20;

  UpdateLights(doc);

  EXPECT_EQ(plain->Color, 0x00140A);  // blue and white missing
  // The second light inverts 4095 (20 -> 235); its two missing channels read as 0
  // and invert to 255. Nothing is stored.
  EXPECT_EQ(doc.ShownLevels[4095], 20);
  EXPECT_EQ(invertedLight->Color, 0xFFFFEB);
}

TEST(UpdateLightsTest, MarksOnlyChangedColoursOfLightsNotMoving) {
  TStageData doc;
  const TLibItem type = MakeType({RoleRed, RoleBrightness});
  TLightCell* changed = AddLight(doc, type, 0, 0, 0);
  TLightCell* moving = AddLight(doc, type, 0, 0, 0);
  TLightCell* levelOnly = AddLight(doc, type, 0, 0, 10);
  TLightCell* unpatched = AddLight(doc, type, 0, 0, kNotPatched);
  for (TLightCell* c : doc.Objects) c->SetNeedsDraw(false);
  moving->SetMoving();
  unpatched->Color = 0x123456;
  doc.ShownLevels[0] = 99;
  doc.ShownLevels[11] = 40;  // brightness only

  UpdateLights(doc);

  EXPECT_TRUE(changed->NeedsDraw());
  EXPECT_EQ(moving->Color, 0x000063);
  EXPECT_FALSE(moving->NeedsDraw());
  EXPECT_EQ(levelOnly->Level, 40);
  EXPECT_FALSE(levelOnly->NeedsDraw());
  EXPECT_EQ(unpatched->Color, 0x123456);
  EXPECT_FALSE(unpatched->NeedsDraw());

  changed->SetNeedsDraw(false);
  UpdateLights(doc);
  EXPECT_FALSE(changed->NeedsDraw());
}

TEST(UpdateLightsTest, BarGraphFillFollowsTheDimmerOnly) {
  TStageData doc;
  TLightCell* bar = AddLight(doc, MakeType({RoleDimmer}, BarGraph), 0, 0, 0);
  TLightCell* brightBar = AddLight(doc, MakeType({RoleBrightness}, BarGraph), 0, 0, 1);
  TLightCell* round = AddLight(doc, MakeType({RoleDimmer}), 0, 0, 0);
  round->BarLevel = 0.5;
  doc.ShownLevels[0] = 51;
  doc.ShownLevels[1] = 200;

  UpdateLights(doc);

  EXPECT_DOUBLE_EQ(bar->BarLevel, 0.2);
  EXPECT_EQ(LevelText(doc, *bar, 0).Text, "20");
  EXPECT_EQ(brightBar->BarLevel, 0.0);
  EXPECT_EQ(LevelText(doc, *brightBar, 0).Text, "00");
  EXPECT_EQ(LevelText(doc, *brightBar, 1).Text, "200");
  EXPECT_EQ(LevelText(doc, *brightBar, 2).Text, "C8");
  EXPECT_EQ(round->BarLevel, 0.0);

  // A fill change alone marks the bar: under a black filter the colour stays black
  // while the fill moves.
  bar->FilterColor = 0x000000;
  UpdateLights(doc);
  bar->SetNeedsDraw(false);
  doc.ShownLevels[0] = 52;
  UpdateLights(doc);
  EXPECT_TRUE(bar->NeedsDraw());
}

struct LevelTextCase {
  int32_t mode;
  int32_t level;
  double barLevel;  // negative: not a bar graph
  const char* text;
  int32_t color;
};

constexpr int32_t kVal = 0x111111;
constexpr int32_t kFull = 0x222222;
constexpr int32_t kZero = 0x333333;

class LevelTextTest : public ::testing::TestWithParam<LevelTextCase> {};

TEST_P(LevelTextTest, FormatsAndColoursTheLevel) {
  const LevelTextCase& c = GetParam();
  TStageData doc;
  doc.ValColor = kVal;
  doc.ValFullColor = kFull;
  doc.ValZeroColor = kZero;
  TLightCell light;
  light.Level = c.level;
  if (c.barLevel >= 0) {
    light.Fixture.Shape = BarGraph;
    light.BarLevel = c.barLevel;
  }
  EXPECT_EQ(LevelText(doc, light, c.mode), (TLightText{c.text, c.color}));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LevelTextTest,
    ::testing::Values(
        LevelTextCase{0, 0, -1, "00", kZero}, LevelTextCase{0, 1, -1, "00", kZero},
        LevelTextCase{0, 2, -1, "01", kVal}, LevelTextCase{0, 128, -1, "50", kVal},
        LevelTextCase{0, 254, -1, "FF", kFull}, LevelTextCase{0, 255, -1, "FF", kFull},
        LevelTextCase{0, 255, 0.2, "20", kVal},  // a bar shows its fill
        LevelTextCase{0, 0, 0.125, "13", kVal}, LevelTextCase{0, 0, 0.995, "FF", kFull},
        LevelTextCase{1, 7, -1, "007", kVal}, LevelTextCase{1, 0, -1, "000", kZero},
        LevelTextCase{1, 255, -1, "255", kFull}, LevelTextCase{2, 171, -1, "AB", kVal},
        LevelTextCase{2, 0, -1, "00", kZero}, LevelTextCase{2, 255, -1, "FF", kFull},
        LevelTextCase{3, 100, -1, "", kVal}, LevelTextCase{-1, 100, -1, "", kVal}));

TEST(ChannelTextTest, NamesTheStartChannelAndMarksEveryModChNth) {
  TStageData doc;
  doc.ChColor = 0x0000AA;
  doc.ModColor = 0x00BB00;
  TLightCell light;
  light.StartCh = 511;
  EXPECT_EQ(ChannelText(doc, light, 0), (TLightText{"A512", 0x0000AA}));
  light.StartCh = 512;
  EXPECT_EQ(ChannelText(doc, light, 0).Text, "B001");
  EXPECT_EQ(ChannelText(doc, light, 1).Text, "513");
  light.StartCh = kNotPatched;
  EXPECT_EQ(ChannelText(doc, light, 0).Text, "");

  doc.ModChN = 10;
  for (int32_t start : {9, 19, 29}) {
    light.StartCh = start;
    EXPECT_EQ(ChannelText(doc, light, 0).Color, 0x00BB00) << start;
  }
  for (int32_t start : {0, 10, 18}) {
    light.StartCh = start;
    EXPECT_EQ(ChannelText(doc, light, 0).Color, 0x0000AA) << start;
  }
}

TEST(TextPlacementTest, CentresBelowAndAboveTheBox) {
  const TRect box{10, 20, 31, 40};
  EXPECT_EQ(TextBelow(box, 6), (TPoint{18, 42}));
  EXPECT_EQ(TextAbove(box, 6, 12), (TPoint{18, 7}));
  // A text wider than the box: the half of -5 is -2, not -3.
  EXPECT_EQ(TextBelow({10, 0, 20, 0}, 15), (TPoint{9, 2}));
}

}  // namespace
}  // namespace lumaplot
