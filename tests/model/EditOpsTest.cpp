// Editing operations on a document: selection, property template, position
// undo/redo, align, stretch, mirror and snapping lights onto lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/PositionHistory.h"
#include "model/Selection.h"
#include "model/StageData.h"

namespace lumaplot {
namespace {

// Adds objects to a document; objects are owned by the document.
TLightCell* AddLight(TStageData& doc, int32_t x, int32_t y, int32_t width = 20, int32_t height = 20) {
  TLightCell* cell = NewCell();
  cell->X1 = x;
  cell->Y1 = y;
  cell->Width = width;
  cell->Height = height;
  cell->Fixture.Width = width;
  cell->Fixture.Height = height;
  doc.AddObject(cell);
  return cell;
}

TLightCell* AddLine(TStageData& doc, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  TLightCell* cell = NewCell();
  cell->Kind = KindLine;
  cell->X1 = x1;
  cell->Y1 = y1;
  cell->X2 = x2;
  cell->Y2 = y2;
  cell->Size = 1;
  doc.AddObject(cell);
  return cell;
}

TLightCell* AddText(TStageData& doc, int32_t x, int32_t y, const std::string& text) {
  TLightCell* cell = NewCell();
  cell->Kind = KindText;
  cell->X1 = x;
  cell->Y1 = y;
  cell->Text = text;
  doc.AddObject(cell);
  return cell;
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
  TLightCell* shape = NewCell();
  shape->Kind = KindShape;
  doc.AddObject(shape);
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
      {"Size", [](TLightCell& c) { c.Size = 3; }, [](const TLightCell& t) { EXPECT_EQ(t.Size, 0); }},
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

}  // namespace
}  // namespace lumaplot
