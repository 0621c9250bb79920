// The document side of mouse editing: dragging with the off-page rule, the
// placement grid, turning towards the pointer, band and line selection, the end of a
// line being drawn, adding lights from the add template, and what a property dialog
// edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/MouseEdit.h"
#include "model/ObjectDrawing.h"
#include "model/PropertyTarget.h"
#include "model/Selection.h"
#include "support/RecordingCanvas.h"
#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "util/EnvData.h"
#include "util/IniFile.h"

namespace lumaplot {
namespace {

using test::AddCell;
using test::AddLight;
using test::AddLine;
using test::AddText;

const TPresentationSettings kSettings{};

TLibItem Type(const std::string& name, int32_t width, int32_t height, int32_t channels = 3) {
  TLibItem type = DefaultLibItem();
  type.Name = name;
  type.Width = width;
  type.Height = height;
  type.Channels = channels;
  return type;
}

std::vector<TPoint> PointsOf(const TLightList& cells) {
  std::vector<TPoint> points;
  for (const TLightCell* cell : cells) points.push_back({cell->X1, cell->Y1});
  return points;
}

TEST(MouseEditTest, SnapRoundsToTheNearestGridPoint) {
  const struct {
    int32_t value, grid, snapped;
  } cases[] = {
      {31, 20, 40},
      {49, 20, 40},
      {29, 20, 20},
      {30, 20, 40},
      {40, 20, 40},
      {5, 20, 0},
      {-7, 20, 0},
      {-13, 20, 0},
      {6, 5, 5},
      {7, 5, 10},  // half of 5 is 2
      {33, 0, 33},
      {33, -4, 33},  // no grid: nothing to snap to
      {2147483647, 20, 2147483640},
      {2147483647, 16, 2147483647},  // the next grid point is past the int range
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SnapToGrid(c.value, c.grid), c.snapped) << c.value << " on " << c.grid;
  }
}

TEST(MouseEditTest, GridPositionsKeepObjectsOnThePage) {
  TStageData doc;  // 800 x 600
  const TLibItem wide = Type("wide", 25, 25);
  TLightCell* dragged = AddLight(doc, wide, 31, 49);
  TLightCell* offLeft = AddLight(doc, wide, -7, 5);
  // Rounding up would put its right edge at 805: it takes the grid point below.
  TLightCell* nearRight = AddLight(doc, wide, 771, 572);
  // Already past the edge: it snaps as it likes.
  TLightCell* pastRight = AddLight(doc, wide, 791, 100);
  // A line is held by its upper left point only.
  TLightCell* line = AddLine(doc, 795, 10, 1200, 10);
  for (TLightCell* cell : {dragged, offLeft, nearRight, pastRight, line}) {
    SetSelected(doc, cell, true);
  }
  const std::vector<TPoint> expected = {{40, 40}, {0, 0}, {760, 560}, {800, 100}, {800, 20}};
  EXPECT_EQ(GridPositions(doc, 20, kSettings), expected);

  test::RecordingCanvas canvas;
  doc.Canvas = &canvas;
  EXPECT_TRUE(PlaceSelection(doc, expected, kSettings));
  EXPECT_EQ(PointsOf(doc.Selection), expected);
  EXPECT_EQ(line->X2, 1205);  // the second point keeps its offset
  EXPECT_EQ(line->Y2, 20);
  // Every moved object was erased at its old place and drawn at its new one.
  EXPECT_FALSE(canvas.Calls.empty());
  EXPECT_FALSE(PlaceSelection(doc, expected, kSettings)) << "nothing left to move";
}

TEST(MouseEditTest, DragMovesTheSelectionExceptWhatWouldLeaveThePage) {
  TStageData doc;
  doc.BgColor = 0x123456;
  test::RecordingCanvas canvas;
  doc.Canvas = &canvas;
  const TLibItem type = Type("t", 20, 20);
  TLightCell* middle = AddLight(doc, type, 100, 100);
  TLightCell* rightEdge = AddLight(doc, type, 775, 100);  // right edge at 795
  TLightCell* topEdge = AddLight(doc, type, 300, 3);
  TLightCell* line = AddLine(doc, 10, 10, 1000, 300);  // reaches past the page already
  TLightCell* text = AddText(doc, 700, 580, "ab");     // 32 x 16 without a canvas
  TLightCell* unselected = AddLight(doc, type, 500, 500);
  text->Canvas = nullptr;
  for (TLightCell* cell : {middle, rightEdge, topEdge, line, text}) SetSelected(doc, cell, true);
  for (TLightCell* cell : doc.Objects) cell->SetNeedsDraw(false);

  const struct {
    int32_t dx, dy;
    std::vector<TPoint> after;  // middle, rightEdge, topEdge, line, text
  } steps[] = {
      {10, 0, {{110, 100}, {775, 100}, {310, 3}, {20, 10}, {710, 580}}},
      {0, -5, {{110, 95}, {775, 95}, {310, 3}, {20, 5}, {710, 575}}},
      {0, 10, {{110, 105}, {775, 105}, {310, 13}, {20, 15}, {710, 575}}},
      {-21, 0, {{89, 105}, {754, 105}, {289, 13}, {20, 15}, {689, 575}}},
      {0, 0, {{89, 105}, {754, 105}, {289, 13}, {20, 15}, {689, 575}}},
  };
  for (const auto& step : steps) {
    DragSelection(doc, step.dx, step.dy, kSettings);
    EXPECT_EQ(PointsOf(doc.Selection), step.after) << step.dx << "," << step.dy;
  }
  // The line's other end moved with it (and the line, held at its corner, ends past the page).
  EXPECT_EQ(line->X2, 1010);
  EXPECT_EQ(line->Y2, 305);
  EXPECT_TRUE(middle->Moving());
  EXPECT_TRUE(middle->NeedsDraw());
  EXPECT_FALSE(unselected->Moving());
  EXPECT_FALSE(unselected->NeedsDraw());
  EXPECT_EQ(unselected->X1, 500);
  // The first step erased what moved, in the page colour.
  ASSERT_FALSE(canvas.Calls.empty());
  EXPECT_EQ(canvas.Calls.front().BrushColor, doc.BgColor);
}

TEST(MouseEditTest, AMovedLightsLevelTextIsErasedOnceOnly) {
  TStageData doc;
  test::RecordingCanvas canvas;
  doc.Canvas = &canvas;
  TLightCell* light = AddLight(doc, Type("t", 20, 20), 100, 100, 0);
  light->Flags = kFlagShowLevel;
  DrawAll(doc, true, true, false, kSettings);
  ASSERT_FALSE(light->ValueRect.IsEmpty());
  SetSelected(doc, light, true);
  canvas.Clear();
  DragSelection(doc, 3, 0, kSettings);
  const auto fills = [&canvas] {
    return std::count_if(canvas.Calls.begin(), canvas.Calls.end(),
                         [](const test::RecordedCall& call) { return call.Op == "FillRect"; });
  };
  EXPECT_EQ(fills(), 1) << "the text at its old place";
  EXPECT_TRUE(light->ValueRect.IsEmpty());
  // Drawn at the new place, nothing is cleared over the light's body any more.
  canvas.Clear();
  DrawAll(doc, true, false, false, kSettings);
  EXPECT_EQ(fills(), 0);
  EXPECT_FALSE(light->ValueRect.IsEmpty());
}

TEST(MouseEditTest, DragExtentIsWhatTheOffPageRuleReads) {
  TStageData doc;
  TLightCell* light = AddLight(doc, Type("t", 30, 40), 10, 20);
  light->Width = 5;  // the type's size counts, not the light's own fields
  TLightCell* shape = AddCell(doc, KindShape, 200, 150, 100, 50);
  TLightCell* text = AddText(doc, 5, 6, "abc");
  text->Canvas = nullptr;
  EXPECT_EQ(DragExtent(*light, kSettings), (TRect{10, 20, 40, 60}));
  EXPECT_EQ(DragExtent(*shape, kSettings), (TRect{100, 50, 100, 50}));
  EXPECT_EQ(DragExtent(*text, kSettings), (TRect{5, 6, 53, 22}));
  EXPECT_TRUE(ExtentOnPage({0, 0, 800, 600}, 800, 600));
  EXPECT_FALSE(ExtentOnPage({-1, 0, 10, 10}, 800, 600));
  EXPECT_FALSE(ExtentOnPage({790, 0, 801, 10}, 800, 600));
}

TEST(MouseEditTest, PointerAngleFollowsThePointerInSteps) {
  const struct {
    int32_t x, y, minAngle;
    bool fortyFive;
    int32_t angle;
  } cases[] = {
      {50, 100, 5, false, 180},  // left of the centre on its row
      {150, 100, 5, false, 0},   // right of it
      {150, 150, 5, false, 45},  // below right: clockwise
      {150, 50, 5, false, 315},  // above right
      {50, 50, 5, false, 225},   // above left
      {150, 120, 5, false, 20},  // 21.8 degrees, down to a multiple of 5
      {150, 120, 1, false, 21},  //
      {150, 120, 5, true, 0},    // with Shift: multiples of 45
      {150, 160, 1, true, 45},   // 50.2 degrees
      {102, 150, 5, false, 90},  // within one step of the centre's column: straight down
      {102, 50, 5, false, 270},  // straight up
      {100, 150, 5, false, -1},  // exactly above or below: no angle
      {150, 120, 0, false, -1},  // no step below 1
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PointerAngle(100, 100, c.x, c.y, c.minAngle, c.fortyFive), c.angle)
        << c.x << "," << c.y << " step " << c.minAngle << (c.fortyFive ? " shift" : "");
  }
}

TEST(MouseEditTest, TurnSelectionTurnsEverySelectedObject) {
  TStageData doc;
  test::RecordingCanvas canvas;
  doc.Canvas = &canvas;
  TLightCell* a = AddLight(doc, Type("t", 20, 20, 3), 10, 10);
  TLightCell* b = AddLight(doc, Type("t", 20, 20, 3), 50, 10);
  TLightCell* other = AddLight(doc, Type("t", 20, 20, 3), 90, 10);
  SetSelected(doc, a, true);
  SetSelected(doc, b, true);
  TurnSelection(doc, 135, kSettings);
  EXPECT_EQ(a->Angle, 135);
  EXPECT_EQ(b->Angle, 135);
  EXPECT_EQ(other->Angle, 0);
  EXPECT_TRUE(a->Moving());
  EXPECT_FALSE(a->NeedsDraw()) << "drawn at once";
}

TEST(MouseEditTest, BandSelectsWhatLiesStrictlyInside) {
  TStageData doc;
  TLightCell* light = AddLight(doc, Type("t", 20, 20), 10, 10);     // box 10,10 - 30,30
  TLightCell* flat = AddLine(doc, 0, 50, 100, 50);                  // box -1,49 - 101,51
  TLightCell* slanted = AddLine(doc, 100, 100, 40, 60);             // box 40,60 - 100,100
  TLightCell* shape = AddCell(doc, KindShape, 300, 300, 600, 500);  // box 300,300 - 320,320
  TLightCell* selected = AddLight(doc, Type("t", 20, 20), 400, 400);
  SetSelected(doc, selected, true);
  const struct {
    TRect band;
    std::vector<const TLightCell*> taken;
  } cases[] = {
      {{10, 10, 31, 31}, {light}},
      {{10, 10, 30, 31}, {}},  // right edge on the band's edge
      {{11, 10, 31, 31}, {}},
      {{-1, 49, 102, 52}, {flat}},
      {{0, 49, 102, 52}, {}},
      {{40, 60, 101, 101}, {slanted}},
      {{299, 299, 321, 321}, {shape}},  // shapes count as 20 x 20 from their first corner
      {{-5, -5, 800, 600}, {shape, flat, slanted, light}},  // in list order
      {{0, 0, 800, 600}, {shape, slanted, light}},
  };
  for (const auto& c : cases) {
    for (TLightCell* cell : TLightList(doc.Selection)) {
      if (cell != selected) SetSelected(doc, cell, false);
    }
    EXPECT_EQ(SelectInBand(doc, c.band), static_cast<int>(c.taken.size()));
    std::vector<const TLightCell*> taken(doc.Selection.begin() + 1, doc.Selection.end());
    EXPECT_EQ(taken, c.taken) << c.band.Left << "," << c.band.Top << " - " << c.band.Right << ","
                              << c.band.Bottom;
    EXPECT_EQ(doc.Selection.front(), selected);
  }
}

TEST(MouseEditTest, LightsCentredOnALineAreSelectedInListOrder) {
  TStageData doc;
  TLightCell* line = AddLine(doc, 0, 100, 300, 100);
  TLightCell* a = AddLight(doc, Type("t", 20, 20), 40, 90);
  TLightCell* off = AddLight(doc, Type("t", 20, 20), 140, 120);
  TLightCell* b = AddLight(doc, Type("t", 30, 10), 235, 95);
  AddText(doc, 50, 95, "x");
  SetSelected(doc, line, true);
  SelectLightsOnLine(doc, *line, kSettings);
  EXPECT_EQ(doc.Selection, (TLightList{line, a, b}));
  EXPECT_FALSE(off->Selected);
}

TEST(MouseEditTest, LineEndWithShiftIsHorizontalOrVertical) {
  const TPoint anchor{10, 10};
  EXPECT_EQ(LineEnd(anchor, 50, 20, true), (TPoint{50, 10}));
  EXPECT_EQ(LineEnd(anchor, 20, 50, true), (TPoint{10, 50}));
  EXPECT_EQ(LineEnd(anchor, 40, 40, true), (TPoint{10, 40})) << "a diagonal goes vertical";
  EXPECT_EQ(LineEnd(anchor, -30, 0, true), (TPoint{-30, 10}));
  EXPECT_EQ(LineEnd(anchor, 50, 20, false), (TPoint{50, 20}));

  TStageData doc;
  AddLight(doc, Type("t", 20, 20), 0, 0);
  TLightCell* line = AddDrawnLine(doc, anchor, {50, 10}, 3, 0x00FF00);
  EXPECT_EQ(line->Kind, KindLine);
  EXPECT_EQ((std::vector<int32_t>{line->X1, line->Y1, line->X2, line->Y2, line->Size}),
            (std::vector<int32_t>{10, 10, 50, 10, 3}));
  EXPECT_EQ(line->Color, 0x00FF00);
  EXPECT_EQ(line->Order, 0);
  EXPECT_EQ(doc.Objects.front(), line) << "lines are drawn below lights";
}

TEST(MouseEditTest, AddingALightCopiesTheTemplate) {
  const TLightLib library = test::MakeLibrary({Type("PAR", 30, 30, 3), Type("Scan", 40, 20, 6)});
  const struct {
    const char* typeName;
    int32_t startCh, x, y, snap;
    TAddedLight::TResult result;
    int32_t next;
    const char* addedType;
    TPoint at;
  } cases[] = {
      {"PAR", 10, 100, 200, 0, TAddedLight::Added, 13, "PAR", {100, 200}},
      {"Scan", 4090, 33, 47, 20, TAddedLight::AddedAtEnd, 4090, "Scan", {20, 40}},
      {"PAR", 4093, 5, 5, 0, TAddedLight::AddedAtEnd, 4093, "PAR", {5, 5}},
      {"PAR", 4094, 5, 5, 0, TAddedLight::Refused, -1, "PAR", {}},
      {"Gone", 0, 5, 5, 0, TAddedLight::Added, 3, "*default*", {5, 5}},
      {"", 0, 5, 5, 0, TAddedLight::Added, 3, "*default*", {5, 5}},  // keeps the template's
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.typeName) + " at " + std::to_string(c.startCh));
    TStageData doc;
    TLightCell* text = AddText(doc, 0, 0, "x");
    // The template is a copy of a clicked light with a filter, flags, an order and a past.
    TLightCell clicked;
    clicked.X1 = 300;
    clicked.Y1 = 300;
    clicked.StartCh = 7;
    clicked.FilterColor = 0x0000FF;
    clicked.Flags = kFlagShowLevel | kFlagShowChannel;
    clicked.Order = 7;
    clicked.Angle = 90;
    clicked.Comment = "front";
    clicked.PushPosition();
    clicked.Selected = true;
    TLightCell addTemplate = clicked;
    addTemplate.StartCh = 0;

    const TAddedLight added = AddLightFromTemplate(doc, addTemplate, library, c.typeName, c.startCh,
                                                   4096, c.x, c.y, c.snap);
    EXPECT_EQ(added.Result, c.result);
    EXPECT_EQ(added.NextChannel, c.next);
    EXPECT_EQ(addTemplate.Fixture.Name, c.addedType);
    if (c.result == TAddedLight::Refused) {
      EXPECT_EQ(doc.Objects, (TLightList{text}));
      EXPECT_EQ(addTemplate.StartCh, 0);
      continue;
    }
    ASSERT_NE(added.Light, nullptr);
    const TLightCell& light = *added.Light;
    EXPECT_EQ(doc.Objects, (TLightList{text, added.Light}));
    EXPECT_EQ(addTemplate.StartCh, c.startCh);
    EXPECT_EQ(light.StartCh, c.startCh);
    EXPECT_EQ(light.Fixture.Name, c.addedType);
    EXPECT_EQ(light.Width, light.Fixture.Width);
    EXPECT_EQ(light.Height, light.Fixture.Height);
    EXPECT_EQ((TPoint{light.X1, light.Y1}), c.at);
    EXPECT_EQ(light.Angle, 0);
    EXPECT_EQ(light.FilterColor, kNoColor);
    EXPECT_EQ(light.Flags, clicked.Flags);
    EXPECT_EQ(light.Order, 7);
    EXPECT_EQ(light.Comment, "front");
    EXPECT_FALSE(light.Selected);
    EXPECT_TRUE(light.NeedsDraw());
    EXPECT_EQ(light.UndoCount, 0);
    EXPECT_EQ(light.HistoryIndex, -1);
  }
}

TEST(MouseEditTest, TheTargetOfAPropertyDialog) {
  struct Plot {
    TStageData doc;
    TLightCell* text;   // 100,100, under the light
    TLightCell* light;  // 100,100 - 120,120
    TLightCell* light2;
    TLightCell* shape;  // 300,300 - 400,400
    TLightCell* shape2;
    Plot() {
      text = AddText(doc, 100, 100, "abcd");
      text->Canvas = nullptr;
      light = AddLight(doc, Type("t", 20, 20), 100, 100);
      light2 = AddLight(doc, Type("t", 20, 20), 200, 100);
      shape = AddCell(doc, KindShape, 300, 300, 400, 400);
      shape2 = AddCell(doc, KindShape, 500, 300, 600, 400);
    }
  };
  enum Who { None, Text, Light, Light2, Shape, Shape2 };
  const struct {
    const char* what;
    std::vector<Who> selected;
    int32_t kind, x, y;
    Who target;
    bool multi, createNew;
    std::vector<Who> selectedAfter;
  } cases[] = {
      {"one selected", {Light2}, KindLight, 0, 0, Light2, false, false, {Light2}},
      {"under the point", {}, KindLight, 105, 105, Light, false, false, {}},
      {"several, one under the point",
       {Light2, Light},
       KindLight,
       105,
       105,
       Light,
       true,
       false,
       {Light2, Light}},
      {"several, none under the point",
       {Light2, Light},
       KindLight,
       5,
       5,
       Light2,
       true,
       false,
       {Light2, Light}},
      {"no light at all", {}, KindLight, 5, 5, None, false, false, {}},
      {"other kinds leave the selection",
       {Text, Light},
       KindText,
       0,
       0,
       Text,
       false,
       false,
       {Text}},
      {"the text below a light", {}, KindText, 105, 105, Text, false, false, {}},
      {"an empty spot makes a text", {}, KindText, 5, 5, None, false, true, {}},
      {"an empty spot makes a shape", {}, KindShape, 5, 5, None, false, true, {}},
      {"a shape on the spot", {}, KindShape, 350, 350, Shape, false, false, {}},
      {"several shapes, empty spot",
       {Shape, Shape2},
       KindShape,
       5,
       5,
       None,
       true,
       false,
       {Shape, Shape2}},
      {"no line", {Light}, KindLine, 105, 105, None, false, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Plot plot;
    const auto cellOf = [&plot](Who who) -> TLightCell* {
      switch (who) {
        case Text:
          return plot.text;
        case Light:
          return plot.light;
        case Light2:
          return plot.light2;
        case Shape:
          return plot.shape;
        case Shape2:
          return plot.shape2;
        default:
          return nullptr;
      }
    };
    for (Who who : c.selected) SetSelected(plot.doc, cellOf(who), true);
    const TPropertyTarget target = ChoosePropertyTarget(plot.doc, c.kind, c.x, c.y, kSettings);
    EXPECT_EQ(target.Target, cellOf(c.target));
    EXPECT_EQ(target.Multi, c.multi);
    EXPECT_EQ(target.CreateNew, c.createNew);
    TLightList expected;
    for (Who who : c.selectedAfter) expected.push_back(cellOf(who));
    EXPECT_EQ(plot.doc.Selection, expected);
  }
}

TEST(MouseEditTest, NewTextsAndShapesTakeTheRememberedValues) {
  test::TempDir dir;
  IniFile ini(dir.File("lumaplot.INI"));
  TEnvData env(ini, dir.Path());
  env.ShapeType = kShapeEllipse;
  env.ShapeWidth = 60;
  env.ShapeHeight = 30;
  env.ShapeSize = 3;
  env.ShapeColor = 0x112233;
  env.ShapeColor2 = 0x445566;
  env.TextSize = 24;
  env.TextColor = 0x00FF00;
  env.TextStyle = kFontBold;

  TStageData doc;
  AddLight(doc, Type("t", 20, 20), 0, 0);
  TLightCell* older = AddCell(doc, KindShape, 0, 0, 10, 10);
  older->Order = 4;
  doc.SortObjects();
  TLightCell* shape = AddNewShape(doc, 10, 20, env);
  EXPECT_EQ((std::vector<int32_t>{shape->Kind, shape->ShapeType, shape->X1, shape->Y1, shape->X2,
                                  shape->Y2, shape->Size, shape->Size2, shape->Order}),
            (std::vector<int32_t>{KindShape, kShapeEllipse, 10, 20, 70, 50, 3, 8, 5}));
  EXPECT_EQ(shape->Color, 0x112233);
  EXPECT_EQ(shape->Color2, 0x445566);
  EXPECT_EQ(doc.Objects[1], shape) << "above the older shape, below the light";

  TLightCell* text = AddNewText(doc, 7, 8, env);
  EXPECT_EQ(text->Kind, KindText);
  EXPECT_EQ((std::vector<int32_t>{text->X1, text->Y1, text->Size, text->Color, text->Order}),
            (std::vector<int32_t>{7, 8, 24, 0x00FF00, 0}));
  EXPECT_EQ(text->Flags, static_cast<uint32_t>(kFontBold));
  EXPECT_TRUE(text->Text.empty());
  EXPECT_EQ(doc.Objects[2], text);
  EXPECT_FALSE(doc.Modified) << "the caller decides";
}

}  // namespace
}  // namespace lumaplot
