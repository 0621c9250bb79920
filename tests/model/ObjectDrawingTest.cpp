#include "model/ObjectDrawing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/LightOutline.h"
#include "support/RecordingCanvas.h"
#include "support/StageBuilder.h"

namespace lumaplot {
namespace {

using test::AddCell;
using test::AddLight;
using test::MakeType;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Font metric of the recording canvas: the 9-point level and channel fonts are 12
// pixels high and 6 pixels wide per character.
class DrawingTest : public ::testing::Test {
 protected:
  DrawingTest() {
    doc.Canvas = &canvas;
    doc.BgColor = 0x101010;
    doc.ValBgColor = 0x202020;
    doc.ValColor = 0x303030;
    doc.ValZeroColor = 0x404040;
    doc.ValFullColor = 0x505050;
    doc.ChColor = 0x606060;
    settings.DefaultFont = {"Sans", 12, kFontItalic};
  }

  std::vector<std::string> Draw(TLightCell* cell, bool real = true) {
    canvas.Clear();
    cell->SetNeedsDraw();
    DrawObject(doc, cell, real, settings);
    return canvas.Descriptions();
  }

  test::RecordingCanvas canvas;
  TStageData doc;
  TPresentationSettings settings;
};

TEST_F(DrawingTest, OctagonPoints) {
  TLibItem type = MakeType({RoleRed}, Octagon);
  type.FrmColor = 0x00C0C0;
  TLightCell* light = AddLight(doc, type, 100, 50);
  light->Color = 0x0000FF;
  EXPECT_THAT(Draw(light), ElementsAre("Polygon (105,50) (115,50) (120,55) (120,65) (115,70) "
                                       "(105,70) (100,65) (100,55) pen=0x00c0c0/1 brush=0x0000ff"));
  EXPECT_FALSE(light->NeedsDraw());
}

TEST_F(DrawingTest, OctagonCutFollowsTheSmallerSide) {
  const TLightOutline outline = LightOutline(*AddLight(doc, MakeType({}, Octagon, 40, 21), 0, 0));
  EXPECT_EQ(outline.Points[0], (TPoint{6, 0}));  // floor(21 * 0.29289) = 6
  EXPECT_EQ(outline.Count, 8);
}

TEST_F(DrawingTest, RotationTurnsClockwiseAboutTheCentre) {
  TLightCell* light = AddLight(doc, MakeType({}, Rectangle, 40, 20), 100, 100);
  light->Angle = 90;
  const TLightOutline outline = LightOutline(*light);
  EXPECT_EQ(outline.Center, (TPoint{120, 110}));
  EXPECT_THAT(outline.Points, ::testing::ElementsAreArray(
                                  {TPoint{130, 90}, TPoint{130, 130}, TPoint{110, 130},
                                   TPoint{110, 90}, TPoint{}, TPoint{}, TPoint{}, TPoint{}}));
  EXPECT_EQ(outline.Box, (TRect{110, 90, 130, 130}));

  // Whole turns land on the same pixels, not a pixel beside them.
  light->Angle = 360;
  EXPECT_EQ(LightOutline(*light).Points[0], (TPoint{100, 100}));
  light->Angle = -270;
  EXPECT_EQ(LightOutline(*light).Box, (TRect{110, 90, 130, 130}));

  light->Angle = 45;
  const TLightOutline turned = LightOutline(*light);
  // (100, 100) is 20 left and 10 up of the centre: x' = 120 + (-20 + 10) * 0.7071,
  // y' = 110 + (-20 - 10) * 0.7071, both taken down to the whole pixel.
  EXPECT_EQ(turned.Points[0], (TPoint{112, 88}));
  EXPECT_EQ(turned.Box, (TRect{98, 88, 141, 131}));
}

TEST_F(DrawingTest, CircleIsNeverTurned) {
  TLightCell* light = AddLight(doc, MakeType({}, Circle, 30, 20), 5, 6);
  light->Angle = 30;
  light->Color = 0x00FF00;
  EXPECT_THAT(Draw(light), ElementsAre("Ellipse (5,6) (35,26) pen=0xc0c0c0/1 brush=0x00ff00"));
}

TEST_F(DrawingTest, BodyColours) {
  TLibItem type = MakeType({}, Rectangle, 10, 10);
  type.FrmColor = 0x0A0B0C;
  TLightCell* light = AddLight(doc, type, 0, 0);
  light->Color = 0x00FF00;
  const char* points = "Polygon (0,0) (10,0) (10,10) (0,10)";
  auto expect = [&](const char* tools) {
    EXPECT_THAT(Draw(light), ElementsAre(std::string(points) + tools));
  };
  expect(" pen=0x0a0b0c/1 brush=0x00ff00");
  light->Selected = true;
  expect(" pen=0x0000ff/1 brush=0x00ff00");
  light->Selected = false;
  light->SetMoving();
  expect(" pen=0x0a0b0c/1 brush=0x000000");
  light->SetMoving(false);
  light->FilterColor = 0x445566;
  expect(" pen=0x0a0b0c/1 brush=0x00ff00");  // the filter outlines only when asked
  light->Flags = kFlagOutlineFilter;
  expect(" pen=0x445566/1 brush=0x00ff00");
  light->Flags = 0;
  light->Fixture.FrmColor = kNoColor;
  expect(" pen=0x00ff00/1 brush=0x00ff00");  // no outline: edged in the fill
  EXPECT_THAT(Draw(light, false),
              ElementsAre(std::string(points) + " pen=0x101010/1 brush=0x101010"));
}

TEST_F(DrawingTest, BarGraphParts) {
  TLightCell* bar = AddLight(doc, MakeType({RoleDimmer}, BarGraph, 20, 40), 0, 0);
  bar->BarLevel = 0.25;
  EXPECT_THAT(Draw(bar),
              ElementsAre("Polygon (0,30) (20,30) (20,40) (0,40) pen=0xc0c0c0/1 brush=0xffffff",
                          "Polygon (0,0) (20,0) (20,30) (0,30) pen=0xc0c0c0/1 brush=0x000000",
                          "Line (20,30) (0,30) pen=0x000000/1",
                          "Polyline (0,0) (20,0) (20,40) (0,40) (0,0) pen=0xc0c0c0/1"));

  bar->BarLevel = 1.0;
  bar->FilterColor = 0x0000FF;
  bar->Selected = true;
  EXPECT_THAT(Draw(bar),
              ElementsAre("Polygon (0,0) (20,0) (20,40) (0,40) pen=0x0000ff/1 brush=0x0000ff",
                          "Polyline (0,0) (20,0) (20,40) (0,40) (0,0) pen=0x0000ff/1"));

  bar->BarLevel = 0.0;
  bar->Selected = false;
  EXPECT_THAT(Draw(bar),
              ElementsAre("Polygon (0,0) (20,0) (20,40) (0,40) pen=0xc0c0c0/1 brush=0x000000",
                          "Line (20,40) (0,40) pen=0x000000/1",
                          "Polyline (0,0) (20,0) (20,40) (0,40) (0,0) pen=0xc0c0c0/1"));

  bar->SetMoving();
  EXPECT_THAT(Draw(bar), ElementsAre("Polygon (0,0) (20,0) (20,40) (0,40) (0,0) "
                                     "pen=0xc0c0c0/1 brush=0x000000"));
  EXPECT_THAT(Draw(bar, false), ElementsAre("Polygon (0,0) (20,0) (20,40) (0,40) (0,0) "
                                            "pen=0x101010/1 brush=0x101010"));
}

TEST_F(DrawingTest, BarGraphPartsTurnWithTheBody) {
  TLightCell* bar = AddLight(doc, MakeType({RoleDimmer}, BarGraph, 20, 40), 0, 0);
  bar->BarLevel = 0.5;
  bar->Angle = 90;  // centre (10, 20)
  const TBarParts parts = BarParts(*bar);
  EXPECT_THAT(parts.Filled.Points,
              ElementsAre(TPoint{10, 10}, TPoint{10, 30}, TPoint{-10, 30}, TPoint{-10, 10}));
  EXPECT_THAT(parts.Empty.Points,
              ElementsAre(TPoint{30, 10}, TPoint{30, 30}, TPoint{10, 30}, TPoint{10, 10}));
}

TEST_F(DrawingTest, BarGraphWithoutOutlineShowsNone) {
  TLibItem type = MakeType({RoleDimmer}, BarGraph, 10, 10);
  type.FrmColor = kNoColor;
  TLightCell* bar = AddLight(doc, type, 0, 0);
  bar->BarLevel = 0.5;
  EXPECT_THAT(Draw(bar),
              ElementsAre("Polygon (0,5) (10,5) (10,10) (0,10) pen=0xffffff/1 brush=0xffffff",
                          "Polygon (0,0) (10,0) (10,5) (0,5) pen=0x000000/1 brush=0x000000",
                          "Line (10,5) (0,5) pen=0x000000/1"));
}

TEST_F(DrawingTest, LevelAndChannelTextsStandBesideTheTurnedBox) {
  TLightCell* light = AddLight(doc, MakeType({RoleDimmer}, Rectangle, 40, 20), 100, 100, 0);
  light->Angle = 90;  // box (110, 90) - (130, 130)
  light->Level = 128;
  light->Flags = kFlagShowLevel | kFlagShowChannel;
  // "50" is 12 x 12: x = 110 + (20 - 12) / 2 + 1 = 115; "A001" is 24 wide: x = 109.
  EXPECT_THAT(Draw(light), ElementsAre(::testing::StartsWith("Polygon"),
                                       "TextOut (115,132) \"50\" brush=0x202020 font=0x303030",
                                       "TextOut (109,77) \"A001\" brush=0x101010 font=0x606060"));
  EXPECT_EQ(light->ValueRect, (TRect{113, 132, 129, 144}));

  settings.ExchangeValCh = true;
  EXPECT_THAT(Draw(light), ElementsAre(::testing::StartsWith("Polygon"),
                                       "FillRect (113,132) (129,144) brush=0x101010",
                                       "TextOut (115,77) \"50\" brush=0x202020 font=0x303030",
                                       "TextOut (109,132) \"A001\" brush=0x101010 font=0x606060"));
  EXPECT_EQ(light->ValueRect, (TRect{113, 77, 129, 89}));
}

TEST_F(DrawingTest, LevelTextIsErasedOnlyWhenItsRectangleChanges) {
  TLightCell* light = AddLight(doc, MakeType({RoleDimmer}, Circle, 20, 20), 0, 0, 0);
  light->Flags = kFlagShowLevel;
  settings.DimValMode = 1;
  light->Level = 7;
  EXPECT_THAT(Draw(light), ElementsAre(::testing::StartsWith("Ellipse"),
                                       "TextOut (2,22) \"007\" brush=0x202020 font=0x303030"));
  const TRect first = light->ValueRect;
  EXPECT_EQ(first, (TRect{0, 22, 22, 34}));

  light->Level = 255;  // same size: drawn over without erasing
  EXPECT_THAT(Draw(light), ElementsAre(::testing::StartsWith("Ellipse"),
                                       "TextOut (2,22) \"255\" brush=0x202020 font=0x505050"));

  settings.DimValMode = 2;  // narrower text: the old rectangle goes first
  EXPECT_THAT(Draw(light), ElementsAre(::testing::StartsWith("Ellipse"),
                                       "FillRect (0,22) (22,34) brush=0x101010",
                                       "TextOut (5,22) \"FF\" brush=0x202020 font=0x505050"));
  const TRect second = light->ValueRect;

  // Erasing clears the remembered rectangle's area and keeps the rectangle.
  EXPECT_THAT(Draw(light, false), ElementsAre(::testing::StartsWith("Ellipse"),
                                              "FillRect (3,22) (19,34) brush=0x101010"));
  EXPECT_EQ(light->ValueRect, second);

  // Nothing drawn yet: erasing has nothing to clear.
  TLightCell* fresh = AddLight(doc, MakeType({RoleDimmer}, Circle, 20, 20), 50, 0, 0);
  fresh->Flags = kFlagShowLevel;
  EXPECT_THAT(Draw(fresh, false), ElementsAre(::testing::StartsWith("Ellipse")));
  EXPECT_TRUE(fresh->ValueRect.IsEmpty());
}

TEST_F(DrawingTest, ChannelTextIsErasedByWritingItInTheBackground) {
  TLightCell* light = AddLight(doc, MakeType({RoleDimmer}, Circle, 20, 20), 0, 30, 0);
  light->Flags = kFlagShowChannel;
  settings.DmxChMode = 1;
  EXPECT_THAT(Draw(light, false), ElementsAre(::testing::StartsWith("Ellipse"),
                                              "TextOut (8,17) \"1\" brush=0x101010 font=0x101010"));
}

TEST_F(DrawingTest, HandMarkOfThePrimaryLight) {
  TLightCell* light = AddLight(doc, MakeType({}, Circle, 21, 21), 10, 10);
  doc.Primary = light;
  EXPECT_THAT(Draw(light), ElementsAre(::testing::StartsWith("Ellipse"), "HandMark (20,20)"));
  EXPECT_THAT(Draw(light, false), ElementsAre("FillRect (20,20) (52,52) brush=0x101010",
                                              ::testing::StartsWith("Ellipse")));

  // Unmarked: nothing is drawn, but erasing still removes the hand mark.
  canvas.Clear();
  DrawObject(doc, light, true, settings);
  EXPECT_THAT(canvas.Calls, IsEmpty());
  DrawObject(doc, light, false, settings);
  EXPECT_THAT(canvas.Descriptions(), ElementsAre("FillRect (20,20) (52,52) brush=0x101010"));
}

TEST_F(DrawingTest, Shapes) {
  TLightCell* shape = AddCell(doc, KindShape, 10, 20, 30, 40);
  shape->Size = 3;
  shape->Color = 0x00AA00;
  shape->Color2 = 0x0000BB;
  EXPECT_THAT(Draw(shape), ElementsAre("Polygon (10,20) (30,20) (30,40) (10,40) pen=0x0000bb/3 "
                                       "brush=0x00aa00"));
  shape->ShapeType = kShapeEllipse;
  shape->Selected = true;
  EXPECT_THAT(Draw(shape), ElementsAre("Ellipse (10,20) (30,40) pen=0x0000ff/3 brush=0x00aa00"));
  EXPECT_THAT(Draw(shape, false),
              ElementsAre("Ellipse (10,20) (30,40) pen=0x101010/3 brush=0x101010"));
  shape->ShapeType = 2;
  EXPECT_THAT(Draw(shape), IsEmpty());
  EXPECT_FALSE(shape->NeedsDraw());
}

TEST_F(DrawingTest, Lines) {
  TLightCell* line = AddCell(doc, KindLine, 1, 2, 300, 4);
  line->Size = 2;
  line->Color = 0x00CC00;
  EXPECT_THAT(Draw(line), ElementsAre("Line (1,2) (300,4) pen=0x00cc00/2"));
  line->Selected = true;
  EXPECT_THAT(Draw(line), ElementsAre("Line (1,2) (300,4) pen=0x0000ff/2"));
  EXPECT_THAT(Draw(line, false), ElementsAre("Line (1,2) (300,4) pen=0x101010/2"));
}

TEST_F(DrawingTest, TextsUseTheDefaultFaceAtTheirOwnHeightAndStyle) {
  TLightCell* text = AddCell(doc, KindText, 7, 8, 0, 0);
  text->Text = "ab";
  text->Size = 20;
  text->Color = 0x00DD00;
  text->Flags = kFontBold;
  EXPECT_THAT(Draw(text), ElementsAre("TextOut (7,8) \"ab\" brush=clear font=0x00dd00"));
  const test::RecordedCall& call = canvas.Calls[0];
  EXPECT_EQ(call.Font.Name, "Sans");
  EXPECT_EQ(call.FontHeight, 20);
  EXPECT_EQ(call.FontStyle, kFontBold);  // the default font's italic does not carry over

  // Erasing covers the bold text whole: 2 characters of 10 + 1 pixels.
  EXPECT_THAT(Draw(text, false), ElementsAre("FillRect (7,8) (29,28) brush=0x101010"));
  text->Selected = true;
  text->Flags = 0;
  EXPECT_THAT(Draw(text), ElementsAre("TextOut (7,8) \"ab\" brush=clear font=0x0000ff"));
  EXPECT_EQ(canvas.Calls[0].FontStyle, 0);
}

TEST_F(DrawingTest, EveryDrawStartsFromACopyPenAndSolidBrush) {
  TLightCell* line = AddCell(doc, KindLine, 0, 0, 5, 5);
  canvas.SetPenMode(TPenMode::Invert);
  canvas.SetPenStyle(TPenStyle::Dot);
  canvas.SetBrushStyle(TBrushStyle::Clear);
  Draw(line);
  EXPECT_EQ(canvas.Calls[0].PenMode, TPenMode::Copy);
  EXPECT_EQ(canvas.Calls[0].PenStyle, TPenStyle::Solid);
  EXPECT_EQ(canvas.State().BrushStyle, TBrushStyle::Solid);
}

TEST_F(DrawingTest, DrawAllMarksDrawsInListOrderAndClearsMoving) {
  TLightCell* light = AddLight(doc, MakeType({}, Circle), 0, 0);
  TLightCell* line = AddCell(doc, KindLine, 0, 0, 5, 5);
  for (TLightCell* c : doc.Objects) c->SetNeedsDraw(false);
  light->SetMoving();

  DrawAll(doc, true, false, false, settings);
  EXPECT_THAT(canvas.Calls, IsEmpty());

  line->SetNeedsDraw();
  DrawAll(doc, true, false, false, settings);
  EXPECT_THAT(canvas.Descriptions(), ElementsAre(::testing::StartsWith("Line")));
  EXPECT_TRUE(light->Moving());

  canvas.Clear();
  DrawAll(doc, true, true, true, settings);
  EXPECT_THAT(canvas.Descriptions(),
              ElementsAre(::testing::StartsWith("Line"),
                          "Ellipse (0,0) (20,20) pen=0xc0c0c0/1 brush=0x000000"));
  EXPECT_FALSE(light->Moving());
  EXPECT_FALSE(light->NeedsDraw());
}

TEST_F(DrawingTest, WithoutACanvasNothingHappens) {
  TLightCell* line = AddCell(doc, KindLine, 0, 0, 5, 5);
  doc.Canvas = nullptr;
  DrawObject(doc, line, true, settings);
  DrawObject(doc, nullptr, true, settings);
  EXPECT_TRUE(line->NeedsDraw());
  EXPECT_THAT(canvas.Calls, IsEmpty());
}

TEST_F(DrawingTest, ProgramWideSettingsServeTheShortCalls) {
  TLightCell* light = AddLight(doc, MakeType({RoleDimmer}, Circle, 20, 20), 0, 0, 0);
  light->Flags = kFlagShowLevel;
  light->Level = 7;
  const TPresentationSettings saved = PresentationSettings();
  PresentationSettings().DimValMode = 1;
  canvas.Clear();
  DrawObject(doc, light, true);
  PresentationSettings() = saved;
  EXPECT_EQ(canvas.Calls.back().Text, "007");
}

}  // namespace
}  // namespace lumaplot
