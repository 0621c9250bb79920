#include "model/LightCell.h"

#include <gtest/gtest.h>

#include <climits>

#include "model/LightList.h"

namespace lumaplot {
namespace {

TPosEntry PositionOf(const TLightCell& c) { return {c.X1, c.Y1, c.X2, c.Y2, c.Angle}; }

void MoveTo(TLightCell& c, int32_t x, int32_t y, int32_t angle = 0) {
  c.X1 = x;
  c.Y1 = y;
  c.X2 = x + 10;
  c.Y2 = y + 10;
  c.Angle = angle;
}

TEST(LightCell, NewCellHasTheDefaults) {
  TLightCell* c = NewCell();
  EXPECT_EQ(c->Kind, KindLight);
  EXPECT_EQ(c->Fixture, DefaultLibItem());
  EXPECT_EQ(c->StartCh, -1);
  EXPECT_EQ(PositionOf(*c), (TPosEntry{-1, -1, -1, -1, 0}));
  EXPECT_EQ(c->Width, 20);
  EXPECT_EQ(c->Size, 16);
  EXPECT_EQ(c->FilterColor, kNoColor);
  EXPECT_TRUE(c->NeedsDraw());
  EXPECT_FALSE(c->Moving());
  EXPECT_EQ(c->HistoryIndex, -1);
  for (const TPosEntry& e : c->PosHistory) EXPECT_EQ(e, (TPosEntry{-1, -1, -1, -1, 0}));
  EXPECT_FALSE(c->UndoPosition());
  EXPECT_FALSE(c->RedoPosition());
  EXPECT_EQ(PositionOf(*c), (TPosEntry{-1, -1, -1, -1, 0}));
  FreeCell(c);
  FreeCell(nullptr);
}

TEST(LightCell, StateBitsAreIndependent) {
  TLightCell c;
  c.SetMoving();
  c.SetNeedsDraw(false);
  EXPECT_EQ(c.State, kStateMoving);
  c.SetNeedsDraw();
  c.SetMoving(false);
  EXPECT_EQ(c.State, kStateNeedsDraw);
}

TEST(LightCell, CopyIsWholeAndIndependent) {
  TLightCell source;
  source.Text = "下手";
  source.Comment = "メモ";
  source.Fixture.Name = "LED";
  source.PushPosition();
  TLightCell* copy = CopyCell(source);
  source.Text = "changed";
  EXPECT_EQ(copy->Text, "下手");
  EXPECT_EQ(copy->Comment, "メモ");
  EXPECT_EQ(copy->Fixture.Name, "LED");
  EXPECT_EQ(copy->UndoCount, 1);
  FreeCell(copy);
}

TEST(LightCell, SixtyPushesKeepFiftySteps) {
  TLightCell c;
  for (int i = 0; i < 60; ++i) {
    MoveTo(c, i, i);
    c.PushPosition();
  }
  EXPECT_EQ(c.UndoCount, 50);
  EXPECT_EQ(c.HistoryIndex, 9);
  int undone = 0;
  while (c.UndoPosition()) ++undone;
  EXPECT_EQ(undone, 50);
  EXPECT_EQ(c.RedoCount, 50);
  // The oldest position kept is the eleventh pushed.
  EXPECT_EQ(c.X1, 10);
}

TEST(LightCell, UndoAndRedoSwapPositions) {
  TLightCell c;
  MoveTo(c, 1, 2, 30);
  c.PushPosition();
  MoveTo(c, 50, 60, 90);
  c.SetNeedsDraw(false);

  ASSERT_TRUE(c.UndoPosition());
  EXPECT_EQ(PositionOf(c), (TPosEntry{1, 2, 11, 12, 30}));
  EXPECT_TRUE(c.NeedsDraw());
  EXPECT_EQ(c.HistoryIndex, 49);
  ASSERT_TRUE(c.RedoPosition());
  EXPECT_EQ(PositionOf(c), (TPosEntry{50, 60, 60, 70, 90}));
  EXPECT_FALSE(c.RedoPosition());
  EXPECT_EQ(c.UndoCount, 1);
}

TEST(LightCell, APushAfterAnUndoClearsTheRedoSteps) {
  TLightCell c;
  MoveTo(c, 1, 1);
  c.PushPosition();
  MoveTo(c, 2, 2);
  c.PushPosition();
  ASSERT_TRUE(c.UndoPosition());
  EXPECT_EQ(c.RedoCount, 1);
  c.PushPosition();
  EXPECT_EQ(c.RedoCount, 0);
  EXPECT_FALSE(c.RedoPosition());
}

TLightCell Light(std::string name, int32_t ch, int32_t x, int32_t y) {
  TLightCell c;
  c.Fixture.Name = std::move(name);
  c.StartCh = ch;
  c.X1 = x;
  c.Y1 = y;
  return c;
}

TEST(LightCell, Comparators) {
  const TLightCell led5 = Light("led", 5, 0, 0);
  const TLightCell LED7 = Light("LED", 7, 0, 0);
  EXPECT_LT(CompareNameChannel(&led5, &LED7), 0);
  EXPECT_GT(CompareNameChannel(&LED7, &led5), 0);

  const TLightCell a = Light("B", -1, 0, 0);
  const TLightCell b = Light("A", 0, 0, 0);
  EXPECT_LT(CompareChannelName(&a, &b), 0);
  EXPECT_GT(CompareNameChannel(&a, &b), 0);

  const TLightCell p = Light("A", 0, 5, 9);
  const TLightCell q = Light("A", 0, 6, 1);
  EXPECT_LT(CompareX(&p, &q), 0);
  EXPECT_GT(CompareY(&p, &q), 0);
  EXPECT_EQ(CompareX(&p, &p), 0);
}

TEST(LightCell, ComparatorsDoNotOverflow) {
  const TLightCell low = Light("A", 0, INT_MIN, 0);
  const TLightCell high = Light("A", 0, INT_MAX, 0);
  EXPECT_LT(CompareX(&low, &high), 0);
  EXPECT_GT(CompareX(&high, &low), 0);
  TLightCell k1, k2;
  k1.Order = INT_MIN;
  k2.Order = 1;
  EXPECT_LT(CompareKindOrder(&k1, &k2), 0);
}

TEST(LightList, SortsByKindAndOrderKeepingEqualsInPlace) {
  TLightCell light, shape, text, text2, light2;
  light.Kind = KindLight;
  shape.Kind = KindShape;
  shape.Order = 3;
  text.Kind = KindText;
  text.Order = 1;
  text2.Kind = KindText;
  text2.Order = 1;
  light2.Kind = KindLight;
  TLightList list{&light, &text2, &shape, &light2, &text};
  SortCells(list, CompareKindOrder);
  EXPECT_EQ(list, (TLightList{&shape, &text2, &text, &light, &light2}));
}

TEST(LightList, ClipboardOwnsItsCopies) {
  TCellClipboard clipboard;
  TLightCell selected;
  selected.Selected = true;
  selected.Text = "copy";
  clipboard.AppendCopy(selected);
  clipboard.Append(NewCell());
  ASSERT_EQ(clipboard.Count(), 2);
  EXPECT_FALSE(clipboard.Cells()[0]->Selected);
  EXPECT_EQ(clipboard.Cells()[0]->Text, "copy");
  clipboard.Clear();
  EXPECT_TRUE(clipboard.IsEmpty());
  clipboard.Append(NewCell());  // freed by the destructor
}

}  // namespace
}  // namespace lumaplot
