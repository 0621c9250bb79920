// Editing operations on a document: selection, property template, position
// undo/redo, align, stretch, mirror and snapping lights onto lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "model/Arrange.h"
#include "model/PositionHistory.h"
#include "model/Selection.h"
#include "model/StageData.h"
#include "model/Stretch.h"
#include "support/RecordingCanvas.h"
#include "support/StageBuilder.h"

namespace lumaplot {
namespace {

using test::AddLine;
using test::AddText;

// A light of the default type drawn `width` x `height`.
TLightCell* AddLight(TStageData& doc, int32_t x, int32_t y, int32_t width = 20,
                     int32_t height = 20) {
  TLibItem type = DefaultLibItem();
  type.Width = width;
  type.Height = height;
  return test::AddLight(doc, type, x, y);
}

void SelectEach(TStageData& doc, const TLightList& cells) {
  for (TLightCell* cell : cells) SetSelected(doc, cell, true);
}

std::vector<int32_t> XsOf(const TLightList& cells) {
  std::vector<int32_t> xs;
  for (const TLightCell* cell : cells) xs.push_back(cell->X1);
  return xs;
}

std::vector<TPosEntry> PositionsOf(const TLightList& cells) {
  std::vector<TPosEntry> positions;
  for (const TLightCell* c : cells) positions.push_back({c->X1, c->Y1, c->X2, c->Y2, c->Angle});
  return positions;
}

void ClearNeedsDraw(TStageData& doc) {
  for (TLightCell* cell : doc.Objects) cell->SetNeedsDraw(false);
}

// Every listed object is selected, and no other object is.
void ExpectSelectionConsistent(const TStageData& doc) {
  for (const TLightCell* cell : doc.Objects) {
    const bool listed =
        std::find(doc.Selection.begin(), doc.Selection.end(), cell) != doc.Selection.end();
    EXPECT_EQ(cell->Selected, listed) << "object at " << cell->X1 << "," << cell->Y1;
  }
}

// --- selection -------------------------------------------------------------

TEST(SelectionTest, SelectAllAndNoneMarkEveryObject) {
  TStageData doc;
  test::AddCell(doc, KindShape, -1, -1, -1, -1);
  AddLight(doc, 0, 0);
  AddText(doc, 5, 5, "x");
  ClearNeedsDraw(doc);

  SelectAll(doc, true);
  EXPECT_EQ(doc.Selection, doc.Objects);  // list order
  ExpectSelectionConsistent(doc);
  for (const TLightCell* cell : doc.Objects) EXPECT_TRUE(cell->NeedsDraw());

  ClearNeedsDraw(doc);
  SelectAll(doc, false);
  EXPECT_TRUE(doc.Selection.empty());
  ExpectSelectionConsistent(doc);
  for (const TLightCell* cell : doc.Objects) EXPECT_TRUE(cell->NeedsDraw());
}

TEST(SelectionTest, SetSelectedKeepsOrderOfSelectingAndIgnoresStrangers) {
  TStageData doc;
  TLightCell* a = AddLight(doc, 0, 0);
  TLightCell* b = AddLight(doc, 30, 0);
  TLightCell* c = AddLight(doc, 60, 0);
  ClearNeedsDraw(doc);

  SetSelected(doc, c, true);
  SetSelected(doc, a, true);
  SetSelected(doc, c, true);  // already selected: not listed twice
  EXPECT_EQ(doc.Selection, (TLightList{c, a}));
  EXPECT_TRUE(c->NeedsDraw());
  EXPECT_FALSE(b->NeedsDraw());

  SetSelected(doc, c, false);
  EXPECT_EQ(doc.Selection, (TLightList{a}));
  ExpectSelectionConsistent(doc);

  TLightCell stranger;
  SetSelected(doc, &stranger, true);
  SetSelected(doc, nullptr, true);
  EXPECT_FALSE(stranger.Selected);
  EXPECT_EQ(doc.Selection, (TLightList{a}));
}

TEST(GatherTemplateTest, OtherKindsLeaveTheSelection) {
  TStageData doc;
  TLightCell* text = AddText(doc, 0, 0, "label");
  TLightCell* light = AddLight(doc, 40, 40);
  light->Comment = "front wash";
  SetSelected(doc, text, true);
  SetSelected(doc, light, true);
  ClearNeedsDraw(doc);

  ASSERT_TRUE(GatherTemplate(doc, KindLight));
  EXPECT_EQ(doc.Selection, (TLightList{light}));
  EXPECT_FALSE(text->Selected);
  EXPECT_TRUE(text->NeedsDraw());
  EXPECT_FALSE(light->NeedsDraw());
  EXPECT_EQ(doc.Template.Kind, KindLight);
  EXPECT_EQ(doc.Template.X1, 40);
  EXPECT_EQ(doc.Template.Comment, "front wash");
  ExpectSelectionConsistent(doc);
}

TEST(GatherTemplateTest, NothingOfTheKindSelectedLeavesTemplateAlone) {
  TStageData doc;
  TLightCell* light = AddLight(doc, 0, 0);
  doc.Template.Size = 77;
  EXPECT_FALSE(GatherTemplate(doc, KindLight));  // empty selection
  SetSelected(doc, light, true);
  EXPECT_FALSE(GatherTemplate(doc, KindText));
  EXPECT_TRUE(doc.Selection.empty());
  EXPECT_FALSE(light->Selected);
  EXPECT_EQ(doc.Template.Size, 77);
}

// One field differs between two selected lights; the template shows "differs" in
// that field and the first light's value in every other.
struct DifferenceCase {
  const char* field;
  void (*change)(TLightCell&);
  void (*expect)(const TLightCell&);
};

TEST(GatherTemplateTest, EachDifferingFieldIsMarked) {
  const DifferenceCase cases[] = {
      {"Name", [](TLightCell& c) { c.Fixture.Name = "par64"; },  // case matters
       [](const TLightCell& t) { EXPECT_EQ(t.Fixture.Name, ""); }},
      {"StartCh", [](TLightCell& c) { c.StartCh = 4; },
       [](const TLightCell& t) { EXPECT_EQ(t.StartCh, kStartChDiffers); }},
      {"Size", [](TLightCell& c) { c.Size = 3; },
       [](const TLightCell& t) { EXPECT_EQ(t.Size, 0); }},
      {"Size2", [](TLightCell& c) { c.Size2 = 8; },
       [](const TLightCell& t) { EXPECT_EQ(t.Size2, 0); }},
      {"Angle", [](TLightCell& c) { c.Angle = 45; },
       [](const TLightCell& t) { EXPECT_EQ(t.Angle, 0); }},
      {"Color", [](TLightCell& c) { c.Color = 0x123456; },
       [](const TLightCell& t) { EXPECT_EQ(t.Color, kNoColor); }},
      {"Color2", [](TLightCell& c) { c.Color2 = 0x00FF00; },
       [](const TLightCell& t) { EXPECT_EQ(t.Color2, kNoColor); }},
      {"FilterColor", [](TLightCell& c) { c.FilterColor = 0x0000FF; },
       [](const TLightCell& t) { EXPECT_EQ(t.FilterColor, kNoColor); }},
      // Fields that are not compared keep the first object's value.
      {"Flags", [](TLightCell& c) { c.Flags = kFlagShowLevel; },
       [](const TLightCell& t) { EXPECT_EQ(t.Flags, 0u); }},
  };
  for (const DifferenceCase& c : cases) {
    SCOPED_TRACE(c.field);
    TStageData doc;
    TLightCell* first = AddLight(doc, 0, 0);
    TLightCell* second = AddLight(doc, 50, 0);
    TLightCell* third = AddLight(doc, 100, 0);
    for (TLightCell* light : {first, second, third}) {
      light->Fixture.Name = "PAR64";
      light->StartCh = 0;
      light->Size = 16;
      light->Size2 = 0;
      light->Angle = 30;
      light->Color = 0x010203;
      light->Color2 = 0x040506;
      light->FilterColor = kNoColor;
      light->Flags = 0;
    }
    c.change(*third);  // a difference found after an equal object still counts
    SetSelected(doc, first, true);
    SetSelected(doc, second, true);
    SetSelected(doc, third, true);
    ASSERT_TRUE(GatherTemplate(doc, KindLight));
    c.expect(doc.Template);
    const std::string field = c.field;
    if (field != "Name") {
      EXPECT_EQ(doc.Template.Fixture.Name, "PAR64");
    }
    if (field != "StartCh") {
      EXPECT_EQ(doc.Template.StartCh, 0);
    }
    if (field != "Angle") {
      EXPECT_EQ(doc.Template.Angle, 30);
    }
  }
}

TEST(GatherTemplateTest, TwoLightsOnDifferentChannelsAndAngles) {
  TStageData doc;
  TLightCell* a = AddLight(doc, 0, 0);
  TLightCell* b = AddLight(doc, 40, 0);
  a->Fixture.Name = b->Fixture.Name = "LED";
  a->StartCh = 0;
  b->StartCh = 4;
  a->Angle = 10;
  b->Angle = 20;
  SetSelected(doc, b, true);  // b was selected first, so b is the model
  SetSelected(doc, a, true);
  ASSERT_TRUE(GatherTemplate(doc, KindLight));
  EXPECT_EQ(doc.Template.Fixture.Name, "LED");
  EXPECT_EQ(doc.Template.StartCh, kStartChDiffers);
  EXPECT_EQ(doc.Template.Angle, 0);
  EXPECT_EQ(doc.Template.X1, 40);
}

// --- position undo and redo --------------------------------------------------

TEST(PositionHistoryTest, PushUndoRedoFlags) {
  TStageData doc;
  TLightCell* light = AddLight(doc, 10, 10);
  PushPositions(doc);
  EXPECT_TRUE(doc.CanUndo);
  EXPECT_FALSE(doc.CanRedo);
  light->X1 = 50;
  light->Angle = 90;

  ClearNeedsDraw(doc);
  EXPECT_FALSE(UndoPositions(doc));
  EXPECT_FALSE(doc.CanUndo);
  EXPECT_TRUE(doc.CanRedo);
  EXPECT_EQ(light->X1, 10);
  EXPECT_EQ(light->Angle, 0);
  EXPECT_TRUE(light->NeedsDraw());

  EXPECT_FALSE(RedoPositions(doc));
  EXPECT_FALSE(doc.CanRedo);
  EXPECT_TRUE(doc.CanUndo);
  EXPECT_EQ(light->X1, 50);
  EXPECT_EQ(light->Angle, 90);
  EXPECT_FALSE(doc.Modified);
}

TEST(PositionHistoryTest, MovesEveryObjectSelectedOrNot) {
  TStageData doc;
  TLightCell* line = AddLine(doc, 0, 0, 10, 10);
  TLightCell* light = AddLight(doc, 5, 5);
  SetSelected(doc, light, true);
  PushPositions(doc);
  line->X2 = 99;
  light->Y1 = 77;
  UndoPositions(doc);
  EXPECT_EQ(line->X2, 10);
  EXPECT_EQ(light->Y1, 5);
}

TEST(PositionHistoryTest, FiftyStepsAreKeptAndOlderOnesDropped) {
  TStageData doc;
  TLightCell* light = AddLight(doc, 0, 0);
  // Positions 0..59 are pushed, each followed by a move to the next one.
  for (int step = 0; step < 60; ++step) {
    PushPositions(doc);
    light->X1 = step + 1;
  }
  ASSERT_EQ(light->X1, 60);
  for (int undo = 1; undo <= 50; ++undo) {
    const bool more = UndoPositions(doc);
    ASSERT_EQ(light->X1, 60 - undo);
    ASSERT_EQ(more, undo < 50);
  }
  EXPECT_EQ(light->X1, 10);  // the ten oldest positions are gone
  UndoPositions(doc);
  EXPECT_EQ(light->X1, 10);

  for (int redo = 1; redo <= 50; ++redo) {
    const bool more = RedoPositions(doc);
    ASSERT_EQ(light->X1, 10 + redo);
    ASSERT_EQ(more, redo < 50);
  }
  EXPECT_EQ(light->X1, 60);
  EXPECT_TRUE(doc.CanUndo);
  EXPECT_FALSE(doc.CanRedo);
}

TEST(PositionHistoryTest, PushAfterUndoDropsRedo) {
  TStageData doc;
  TLightCell* light = AddLight(doc, 0, 0);
  PushPositions(doc);
  light->X1 = 5;
  UndoPositions(doc);
  ASSERT_TRUE(doc.CanRedo);
  PushPositions(doc);
  EXPECT_FALSE(doc.CanRedo);
  EXPECT_FALSE(RedoPositions(doc));
  EXPECT_EQ(light->X1, 0);
}

TEST(PositionHistoryTest, LaterObjectStopsWhenItsStepsRunOut) {
  TStageData doc;
  TLightCell* old = AddLight(doc, 0, 0);
  PushPositions(doc);
  old->X1 = 1;
  TLightCell* added = AddLight(doc, 100, 0);
  PushPositions(doc);
  old->X1 = 2;
  added->X1 = 101;

  EXPECT_TRUE(UndoPositions(doc));
  EXPECT_EQ(old->X1, 1);
  EXPECT_EQ(added->X1, 100);
  EXPECT_FALSE(UndoPositions(doc));
  EXPECT_EQ(old->X1, 0);
  EXPECT_EQ(added->X1, 100);  // no older step of its own
}

TEST(PositionHistoryTest, EmptyDocumentOffersNoSteps) {
  TStageData doc;
  PushPositions(doc);
  EXPECT_FALSE(doc.CanUndo);
  EXPECT_FALSE(UndoPositions(doc));
  EXPECT_FALSE(doc.CanRedo);
  EXPECT_FALSE(RedoPositions(doc));
  EXPECT_FALSE(doc.CanUndo);
}

// --- align and equal spacing ---------------------------------------------------

struct AlignCase {
  const char* name;
  int mode;
  std::vector<TPoint> start;     // reference points, selected in this order
  std::vector<TPoint> expected;  // the same objects afterwards
  bool acts;                     // the document is redrawn and marked modified
};

TEST(AlignTest, ModesOnTheReferencePoints) {
  const AlignCase cases[] = {
      {"left", AlignLeft, {{100, 5}, {40, 9}}, {{40, 5}, {40, 9}}, true},
      {"right", AlignRight, {{100, 5}, {40, 9}}, {{100, 5}, {100, 9}}, true},
      {"top", AlignTop, {{1, 70}, {2, 30}, {3, 50}}, {{1, 30}, {2, 30}, {3, 30}}, true},
      {"bottom", AlignBottom, {{1, 70}, {2, 30}}, {{1, 70}, {2, 70}}, true},
      {"spacing", SpaceHorizontal, {{100, 0}, {0, 0}, {10, 0}}, {{100, 0}, {0, 0}, {50, 0}}, true},
      {"spacing keeps the ends",
       SpaceHorizontal,
       {{0, 0}, {33, 0}, {100, 0}},
       {{0, 0}, {50, 0}, {100, 0}},
       true},
      {"whole-pixel step",
       SpaceHorizontal,
       {{0, 0}, {10, 0}, {101, 0}},
       {{0, 0}, {50, 0}, {100, 0}},
       true},
      {"vertical spacing",
       SpaceVertical,
       {{0, 90}, {5, 0}, {9, 20}, {7, 40}},
       {{0, 90}, {5, 0}, {9, 30}, {7, 60}},
       true},
      {"vertical spacing of two", SpaceVertical, {{0, 9}, {0, 1}}, {{0, 9}, {0, 1}}, true},
      {"off the page to the left", AlignRight, {{-30, 0}, {-10, 0}}, {{-10, 0}, {-10, 0}}, true},
      {"far right", AlignLeft, {{150000, 0}, {120000, 0}}, {{120000, 0}, {120000, 0}}, true},
      {"one object", AlignLeft, {{100, 0}}, {{100, 0}}, false},
      {"spacing of two", SpaceHorizontal, {{0, 0}, {30, 0}}, {{0, 0}, {30, 0}}, false},
      {"unknown mode", 9, {{0, 0}, {30, 0}}, {{0, 0}, {30, 0}}, true},
  };
  for (const AlignCase& c : cases) {
    SCOPED_TRACE(c.name);
    TStageData doc;
    test::RecordingCanvas canvas;
    doc.Canvas = &canvas;
    TLightList cells;
    for (const TPoint& p : c.start) cells.push_back(AddLight(doc, p.X, p.Y));
    SelectEach(doc, cells);
    ClearNeedsDraw(doc);
    Align(doc, c.mode);
    std::vector<TPoint> got;
    for (const TLightCell* cell : cells) got.push_back({cell->X1, cell->Y1});
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(doc.Modified, c.acts);
    EXPECT_EQ(canvas.Calls.empty(), !c.acts);
    for (const TLightCell* cell : doc.Objects) {
      EXPECT_FALSE(cell->Moving());
      EXPECT_FALSE(cell->NeedsDraw());  // drawn
    }
    ExpectSelectionConsistent(doc);
  }
}

TEST(AlignTest, SpacingSortsTheSelection) {
  TStageData doc;
  TLightCell* right = AddLight(doc, 100, 0);
  TLightCell* left = AddLight(doc, 0, 0);
  TLightCell* middle = AddLight(doc, 10, 0);
  SelectEach(doc, {right, left, middle});
  Align(doc, SpaceHorizontal);
  EXPECT_EQ(doc.Selection, (TLightList{left, middle, right}));
  EXPECT_EQ(XsOf(doc.Selection), (std::vector<int32_t>{0, 50, 100}));

  Align(doc, SpaceVertical);  // all at y 0: order by X1 kept
  EXPECT_EQ(doc.Selection, (TLightList{left, middle, right}));
}

TEST(AlignTest, SecondPointMovesAlongAndOthersStay) {
  TStageData doc;
  TLightCell* line = AddLine(doc, 60, 10, 90, 40);
  TLightCell* light = AddLight(doc, 20, 0);
  TLightCell* bystander = AddLight(doc, 500, 500);
  SelectEach(doc, {line, light});
  Align(doc, AlignLeft);
  EXPECT_EQ(line->X1, 20);
  EXPECT_EQ(line->X2, 50);
  EXPECT_EQ(line->Y2, 40);
  EXPECT_EQ(bystander->X1, 500);
}

TEST(AlignTest, ErasesAtTheOldPlaceThenRedrawsEverything) {
  TStageData doc;
  test::RecordingCanvas canvas;
  doc.Canvas = &canvas;
  doc.BgColor = 0x102030;
  TLightCell* a = AddLight(doc, 100, 0);
  TLightCell* b = AddLight(doc, 40, 50);
  AddLight(doc, 300, 300);  // not selected, redrawn all the same
  SelectEach(doc, {a, b});
  ClearNeedsDraw(doc);
  Align(doc, AlignLeft);

  const std::vector<std::string> calls = canvas.Descriptions();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front(), "Ellipse (100,0) (120,20) pen=0x102030/1 brush=0x102030");
  const auto drawnAt = [&](const std::string& corner) {
    return std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
      return call.rfind("Ellipse " + corner, 0) == 0 && call.find("0x102030") == std::string::npos;
    });
  };
  EXPECT_EQ(drawnAt("(40,0)"), 1);
  EXPECT_EQ(drawnAt("(40,50)"), 1);
  EXPECT_EQ(drawnAt("(300,300)"), 1);
  EXPECT_EQ(drawnAt("(100,0)"), 0);
}

// --- mirror ------------------------------------------------------------------

TEST(MirrorTest, LeftRightReflectsWithinTheBoxAndTurnsAngles) {
  TStageData doc;
  TLightCell* a = AddLight(doc, 0, 10);
  TLightCell* b = AddLight(doc, 100, 20);
  a->Angle = b->Angle = 30;
  SelectEach(doc, {a, b});
  Mirror(doc, MirrorLeftRight);
  EXPECT_EQ(a->X1, 100);
  EXPECT_EQ(b->X1, 0);
  EXPECT_EQ(a->Y1, 10);
  EXPECT_EQ(a->Angle, 330);
  EXPECT_EQ(b->Angle, 330);
  EXPECT_FALSE(doc.Modified);  // the caller marks it
}

TEST(MirrorTest, TopBottomReflectsAndTurnsAngles) {
  TStageData doc;
  TLightCell* a = AddLight(doc, 5, 0, 20, 40);
  TLightCell* b = AddLight(doc, 5, 100, 20, 20);
  a->Angle = 30;
  b->Angle = 200;
  SelectEach(doc, {a, b});
  Mirror(doc, MirrorTopBottom);
  EXPECT_EQ(a->Y1, 80);  // box 0..120
  EXPECT_EQ(b->Y1, 0);
  EXPECT_EQ(a->X1, 5);
  EXPECT_EQ(a->Angle, 150);
  EXPECT_EQ(b->Angle, 340);
}

TEST(MirrorTest, TwiceIsIdentity) {
  struct Placed {
    int32_t kind;
    int32_t x, y, width, height, angle;
  };
  const std::vector<std::vector<Placed>> groups = {
      {{KindLight, 0, 0, 20, 20, 30}, {KindLight, 100, 40, 20, 20, 0}},
      {{KindLight, 0, 0, 20, 20, 0}, {KindLight, 101, 7, 20, 20, 90}},  // odd box width
      {{KindLight, 3, 4, 21, 13, 45}, {KindLight, 101, 9, 20, 40, 359}},
      {{KindLight, 10, 10, 30, 10, 180},
       {KindLine, 50, 60, 20, 20, 0},
       {KindText, 75, 31, 20, 20, 0},
       {KindShape, 200, 1, 20, 20, 0}},
  };
  for (int direction : {MirrorLeftRight, MirrorTopBottom}) {
    for (size_t g = 0; g < groups.size(); ++g) {
      SCOPED_TRACE("direction " + std::to_string(direction) + " group " + std::to_string(g));
      TStageData doc;
      for (const Placed& p : groups[g]) {
        TLightCell* cell = p.kind == KindLight ? AddLight(doc, p.x, p.y, p.width, p.height)
                                               : AddLine(doc, p.x, p.y, p.x + 33, p.y + 17);
        cell->Kind = p.kind;
        cell->Angle = p.angle;
      }
      SelectAll(doc, true);
      const std::vector<TPosEntry> before = PositionsOf(doc.Objects);
      Mirror(doc, direction);
      EXPECT_NE(PositionsOf(doc.Objects), before);
      Mirror(doc, direction);
      EXPECT_EQ(PositionsOf(doc.Objects), before);
    }
  }
}

TEST(MirrorTest, LinesMoveWithoutTurningOverAndNothingGoesBelowZero) {
  TStageData doc;
  TLightCell* line = AddLine(doc, -10, -4, 30, 6);  // reference box -10..10
  TLightCell* light = AddLight(doc, 50, 0);         // box 50..70
  SelectEach(doc, {line, light});
  Mirror(doc, MirrorLeftRight);
  EXPECT_EQ(line->X1, 50);  // -10 + 70 - 20 - (-10)
  EXPECT_EQ(line->X2, 90);  // the same shift: not turned over
  EXPECT_EQ(light->X1, 0);  // -10 + 70 - 20 - 50 = -10, held at 0
  EXPECT_EQ(line->Y1, 0);   // below zero even across the mirror direction
  EXPECT_EQ(line->Y2, 10);
}

TEST(MirrorTest, OtherDirectionsAndEmptySelectionDoNothing) {
  TStageData doc;
  test::RecordingCanvas canvas;
  doc.Canvas = &canvas;
  TLightCell* a = AddLight(doc, 0, 0);
  TLightCell* b = AddLight(doc, 100, 0);
  a->Angle = 30;
  Mirror(doc, MirrorLeftRight);  // nothing selected
  SelectEach(doc, {a, b});
  ClearNeedsDraw(doc);
  Mirror(doc, 2);
  Mirror(doc, -1);
  EXPECT_EQ(a->X1, 0);
  EXPECT_EQ(a->Angle, 30);
  EXPECT_TRUE(canvas.Calls.empty());
}

TEST(MirrorTest, ErasesBeforeAndDrawsAfter) {
  TStageData doc;
  test::RecordingCanvas canvas;
  doc.Canvas = &canvas;
  doc.BgColor = 0x000000;
  TLightCell* a = AddLight(doc, 0, 0);
  TLightCell* b = AddLight(doc, 100, 0);
  a->Color = b->Color = 0x00FF00;
  SelectEach(doc, {a, b});
  Mirror(doc, MirrorLeftRight);
  const std::vector<std::string> calls = canvas.Descriptions();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0], "Ellipse (0,0) (20,20) pen=0x000000/1 brush=0x000000");
  EXPECT_EQ(calls[1], "Ellipse (100,0) (120,20) pen=0x000000/1 brush=0x000000");
  EXPECT_EQ(calls[2], "Ellipse (100,0) (120,20) pen=0x0000ff/1 brush=0x00ff00");
  EXPECT_EQ(calls[3], "Ellipse (0,0) (20,20) pen=0x0000ff/1 brush=0x00ff00");
  EXPECT_FALSE(a->NeedsDraw());
}

// --- snap to lines -------------------------------------------------------------

struct SnapCase {
  const char* name;
  TPoint lineFrom, lineTo;
  TPoint light;  // top-left of a 20 x 20 light
  TPoint expected;
};

TEST(SnapToLinesTest, MovesLightsOntoNearLines) {
  const SnapCase cases[] = {
      {"horizontal, near", {0, 100}, {200, 100}, {50, 85}, {50, 90}},
      {"horizontal, from below", {0, 100}, {200, 100}, {50, 99}, {50, 90}},
      {"horizontal, too far", {0, 100}, {200, 100}, {50, 75}, {50, 75}},
      {"horizontal, exactly half away", {0, 100}, {200, 100}, {50, 80}, {50, 80}},
      {"horizontal, beyond its ends", {0, 100}, {20, 100}, {300, 95}, {300, 90}},
      {"vertical, near", {100, 0}, {100, 300}, {85, 50}, {90, 50}},
      {"vertical, reversed", {100, 300}, {100, 0}, {95, 50}, {90, 50}},
      {"vertical, too far", {100, 0}, {100, 300}, {70, 50}, {70, 50}},
      {"diagonal, moved sideways", {0, 0}, {200, 200}, {45, 40}, {40, 40}},
      {"diagonal, too far", {0, 0}, {200, 200}, {50, 40}, {50, 40}},
      {"rising diagonal", {0, 200}, {200, 0}, {80, 95}, {85, 95}},
      {"shallow slope", {0, 100}, {200, 120}, {95, 95}, {95, 100}},
      {"steep slope", {100, 0}, {120, 200}, {95, 95}, {100, 95}},
      {"a point is no line", {60, 60}, {60, 60}, {50, 50}, {50, 50}},
  };
  for (const SnapCase& c : cases) {
    SCOPED_TRACE(c.name);
    TStageData doc;
    TLightCell* line = AddLine(doc, c.lineFrom.X, c.lineFrom.Y, c.lineTo.X, c.lineTo.Y);
    TLightCell* light = AddLight(doc, c.light.X, c.light.Y);
    light->X2 = 7;
    light->Y2 = 8;
    SelectEach(doc, {light, line});
    ClearNeedsDraw(doc);
    SnapToLines(doc);
    EXPECT_EQ((TPoint{light->X1, light->Y1}), c.expected);
    EXPECT_EQ(light->X2, 7);  // the unused second point stays
    EXPECT_EQ(light->Y2, 8);
    EXPECT_EQ(line->X1, c.lineFrom.X);  // selected lines never move
    EXPECT_FALSE(light->NeedsDraw());   // the caller repaints
    EXPECT_FALSE(doc.Modified);
  }
}

TEST(SnapToLinesTest, OnlySelectedLightsAndEveryLineInTurn) {
  TStageData doc;
  AddLine(doc, 0, 100, 400, 100);
  AddLine(doc, 200, 0, 200, 400);
  TLightCell* corner = AddLight(doc, 185, 93);
  TLightCell* unselected = AddLight(doc, 50, 85);
  TLightCell* text = AddText(doc, 50, 85, "x");
  TLightCell* big = AddLight(doc, 300, 60, 40, 60);  // reach 30 from its taller side
  SelectEach(doc, {corner, text, big});
  SnapToLines(doc);
  EXPECT_EQ((TPoint{corner->X1, corner->Y1}), (TPoint{190, 90}));
  EXPECT_EQ(unselected->Y1, 85);
  EXPECT_EQ(text->Y1, 85);
  EXPECT_EQ(big->Y1, 70);  // centre 90 onto 100
}

// --- stretch -------------------------------------------------------------------

// Selects `cells` and remembers their positions as the stretch dialog does.
void StartStretch(TStageData& doc, const TLightList& cells) {
  SelectEach(doc, cells);
  for (TLightCell* cell : doc.Objects) {
    cell->BaseX = cell->X1;
    cell->BaseY = cell->Y1;
  }
}

struct StretchCase {
  const char* name;
  int mode;
  double factor;
  std::vector<TPoint> start;  // 20 x 20 lights
  bool result;
  std::vector<TPoint> expected;
};

TEST(StretchTest, ModesAndFactors) {
  const StretchCase cases[] = {
      {"radial spread", StretchRadial, 2, {{100, 50}, {140, 50}}, true, {{80, 50}, {160, 50}}},
      {"radial to the centre",
       StretchRadial,
       0,
       {{100, 50}, {140, 90}, {120, 130}},
       true,
       {{120, 90}, {120, 90}, {120, 90}}},
      {"radial unchanged", StretchRadial, 1, {{100, 50}, {141, 77}}, true, {{100, 50}, {141, 77}}},
      {"radial narrowing floors",
       StretchRadial,
       0.5,
       {{100, 50}, {141, 50}},
       true,
       {{110, 50}, {130, 50}}},
      {"diagonal from the corner",
       StretchDiagonal,
       2,
       {{100, 100}, {140, 120}},
       true,
       {{100, 100}, {180, 140}}},
      {"horizontal only",
       StretchHorizontal,
       2,
       {{100, 50}, {140, 90}},
       true,
       {{80, 50}, {160, 90}}},
      {"vertical only", StretchVertical, 2, {{100, 50}, {140, 90}}, true, {{100, 30}, {140, 110}}},
      {"quarter turn clockwise",
       StretchRotate,
       1,
       {{100, 100}, {140, 100}},
       true,
       {{120, 80}, {120, 120}}},
      {"half turn", StretchRotate, 2, {{100, 100}, {140, 100}}, true, {{140, 100}, {100, 100}}},
      {"off the left edge", StretchRadial, 3, {{10, 50}, {50, 50}}, false, {{10, 50}, {50, 50}}},
      {"exactly at the left edge",
       StretchHorizontal,
       2,
       {{20, 50}, {60, 50}},
       true,
       {{0, 50}, {80, 50}}},
      {"one past the left edge",
       StretchHorizontal,
       2,
       {{19, 50}, {59, 50}},
       false,
       {{19, 50}, {59, 50}}},
      {"exactly at the right edge",
       StretchHorizontal,
       2,
       {{720, 0}, {760, 0}},
       true,
       {{700, 0}, {780, 0}}},
      {"one past the right edge",
       StretchHorizontal,
       2,
       {{721, 0}, {761, 0}},
       false,
       {{721, 0}, {761, 0}}},
      {"past the bottom", StretchVertical, 2, {{0, 560}, {0, 580}}, false, {{0, 560}, {0, 580}}},
      {"one object", StretchRadial, 2, {{100, 50}}, false, {{100, 50}}},
      {"unknown mode", 5, 2, {{100, 50}, {140, 50}}, false, {{100, 50}, {140, 50}}},
      {"not a number",
       StretchRadial,
       std::nan(""),
       {{100, 50}, {140, 50}},
       false,
       {{100, 50}, {140, 50}}},
      {"huge spread", StretchRadial, 1e300, {{100, 50}, {140, 50}}, false, {{100, 50}, {140, 50}}},
  };
  for (const StretchCase& c : cases) {
    SCOPED_TRACE(c.name);
    TStageData doc;
    TLightList cells;
    for (const TPoint& p : c.start) cells.push_back(AddLight(doc, p.X, p.Y));
    StartStretch(doc, cells);
    EXPECT_EQ(Stretch(doc, c.mode, c.factor), c.result);
    std::vector<TPoint> got;
    for (const TLightCell* cell : cells) got.push_back({cell->X1, cell->Y1});
    EXPECT_EQ(got, c.expected);
    EXPECT_FALSE(doc.Modified);
    EXPECT_FALSE(doc.CanUndo);
  }
}

TEST(StretchTest, EveryCallStartsFromTheRememberedPositions) {
  TStageData doc;
  TLightCell* a = AddLight(doc, 100, 50);
  TLightCell* b = AddLight(doc, 140, 50);
  StartStretch(doc, {a, b});
  ASSERT_TRUE(Stretch(doc, StretchRadial, 2));
  ASSERT_TRUE(Stretch(doc, StretchRadial, 3));
  EXPECT_EQ(XsOf({a, b}), (std::vector<int32_t>{60, 180}));
  ASSERT_FALSE(Stretch(doc, StretchRadial, 20));  // refused: the last result stays
  EXPECT_EQ(XsOf({a, b}), (std::vector<int32_t>{60, 180}));
  ASSERT_TRUE(Stretch(doc, StretchRadial, 1));
  EXPECT_EQ(XsOf({a, b}), (std::vector<int32_t>{100, 140}));
}

TEST(StretchTest, SecondPointsKeepTheirOffsetAndCountForThePage) {
  TStageData doc;
  TLightCell* line = AddLine(doc, 100, 100, 160, 130);
  TLightCell* light = AddLight(doc, 200, 100);
  StartStretch(doc, {line, light});
  // Boxes 100..220 x 100..120; centre (160, 110).
  ASSERT_TRUE(Stretch(doc, StretchHorizontal, 2));
  EXPECT_EQ(line->X1, 50);
  EXPECT_EQ(line->X2, 110);
  EXPECT_EQ(line->Y2, 130);
  EXPECT_EQ(light->X1, 250);

  // The line's far end would cross the bottom of a smaller page.
  doc.ScrHeight = 129;
  EXPECT_FALSE(Stretch(doc, StretchHorizontal, 1));
  EXPECT_EQ(line->X1, 50);
  // Reversed line: its box, not its first point, must stay on the page.
  doc.ScrHeight = 600;
  line->X2 = line->X1 - 110;
  EXPECT_FALSE(Stretch(doc, StretchHorizontal, 1));
}

TEST(StretchTest, TextsAreMeasuredAsDrawn) {
  TStageData doc;
  test::RecordingCanvas canvas;
  doc.Canvas = &canvas;
  doc.ScrWidth = 150;
  TLightCell* light = AddLight(doc, 60, 0);
  TLightCell* text = AddText(doc, 100, 0, "abcd");  // 4 x 8 = 32 wide at Size 16
  StartStretch(doc, {light, text});
  // Reference x = 60 + (120 - 60) / 2 = 90; the text's box centre goes to 90 + 20 f.
  EXPECT_TRUE(Stretch(doc, StretchHorizontal, 1.75));  // text at 115..147
  EXPECT_EQ(text->X1, 115);
  EXPECT_FALSE(Stretch(doc, StretchHorizontal, 2));  // text at 120..152: off the page
  EXPECT_EQ(text->X1, 115);

  // Without a canvas a text is Size pixels per character: 40 wide at Size 10 (the
  // canvas would measure 20).
  doc.Canvas = nullptr;
  text->Canvas = nullptr;
  light->Canvas = nullptr;
  text->Size = 10;
  EXPECT_TRUE(Stretch(doc, StretchHorizontal, 1.5));  // text at 110..150
  EXPECT_EQ(text->X1, 110);
  EXPECT_FALSE(Stretch(doc, StretchHorizontal, 1.75));  // text at 115..155
  EXPECT_EQ(text->X1, 110);
}

TEST(StretchTest, RefusedStretchStillRedrawsInPlace) {
  TStageData doc;
  test::RecordingCanvas canvas;
  doc.Canvas = &canvas;
  TLightCell* a = AddLight(doc, 10, 50);
  TLightCell* b = AddLight(doc, 50, 50);
  StartStretch(doc, {a, b});
  ClearNeedsDraw(doc);
  ASSERT_FALSE(Stretch(doc, StretchRadial, 3));
  const std::vector<std::string> calls = canvas.Descriptions();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].substr(0, 27), "Ellipse (10,50) (30,70) pen");
  EXPECT_EQ(calls[3].substr(0, 27), "Ellipse (50,50) (70,70) pen");
  EXPECT_FALSE(a->NeedsDraw());
}

// Coordinates a damaged file may hold: every operation stays defined (the test build
// stops on any integer overflow) and keeps values within range.
TEST(EditOpsTest, ExtremeCoordinatesNeverOverflow) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  TStageData doc;
  TLightCell* far = AddLight(doc, kMax - 5, kMax, kMax, kMax);
  TLightCell* near = AddLight(doc, kMin, kMin + 3);
  far->X2 = kMax;
  near->X2 = kMin;
  far->Angle = kMin;
  near->Angle = kMax;
  AddLine(doc, kMin, kMin, kMax, kMax - 1);
  AddLine(doc, kMax, 0, kMax, 1);
  SelectAll(doc, true);
  for (TLightCell* cell : doc.Objects) {
    cell->BaseX = cell->X1;
    cell->BaseY = cell->Y1;
  }
  for (int mode = AlignLeft; mode <= SpaceVertical; ++mode) Align(doc, mode);
  Mirror(doc, MirrorLeftRight);
  Mirror(doc, MirrorTopBottom);
  SnapToLines(doc);
  for (int mode = StretchRadial; mode <= StretchRotate; ++mode) {
    EXPECT_FALSE(Stretch(doc, mode, 1.5));
  }
  for (const TLightCell* cell : doc.Objects) {
    EXPECT_GE(cell->X1, 0);  // mirrored onto the page's side of 0
    EXPECT_GE(cell->Y1, 0);
  }
}

}  // namespace
}  // namespace lumaplot
