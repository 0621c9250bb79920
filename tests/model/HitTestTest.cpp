#include "model/HitTest.h"

#include <gtest/gtest.h>

#include "support/RecordingCanvas.h"
#include "support/StageBuilder.h"

namespace lumaplot {
namespace {

using test::AddCell;
using test::AddLight;
using test::MakeType;

struct Probe {
  int32_t x;
  int32_t y;
  bool hit;
};

void ExpectProbes(TLightCell& cell, std::initializer_list<Probe> probes) {
  const TPresentationSettings settings;
  for (const Probe& p : probes) {
    EXPECT_EQ(HitTest(cell, p.x, p.y, settings), p.hit) << "(" << p.x << ", " << p.y << ")";
  }
}

TEST(HitTestTest, RectangleShapeOwnsItsLeftAndTopEdgesOnly) {
  TStageData doc;
  TLightCell* shape = AddCell(doc, KindShape, 10, 10, 20, 20);
  const auto probes = {Probe{10, 10, true},  Probe{19, 19, true}, Probe{20, 15, false},
                       Probe{15, 20, false}, Probe{9, 15, false}, Probe{15, 9, false}};
  ExpectProbes(*shape, probes);
  // Corners given the wrong way round describe the same rectangle.
  std::swap(shape->X1, shape->X2);
  std::swap(shape->Y1, shape->Y2);
  ExpectProbes(*shape, probes);
}

TEST(HitTestTest, EllipseShape) {
  TStageData doc;
  TLightCell* shape = AddCell(doc, KindShape, 40, 20, 0, 0);  // reversed corners
  shape->ShapeType = kShapeEllipse;
  ExpectProbes(*shape, {{20, 10, true},
                        {0, 10, true},
                        {39, 10, true},
                        {40, 10, false},
                        {20, 0, true},
                        {20, 19, true},
                        {20, 20, false},
                        {0, 0, false},
                        {3, 3, false}});
  shape->ShapeType = 7;
  ExpectProbes(*shape, {{20, 10, false}});
}

TEST(HitTestTest, Lines) {
  TStageData doc;
  TLightCell* line = AddCell(doc, KindLine, 0, 0, 100, 0);
  line->Size = 1;  // tolerance 6
  ExpectProbes(*line, {{50, 5, true},
                       {50, 6, false},
                       {50, -5, true},
                       {-5, 0, true},
                       {-6, 0, true},
                       {-7, 0, false},
                       {106, 0, true},
                       {107, 0, false}});
  line->Size = 0;  // tolerance 5
  ExpectProbes(*line, {{50, 4, true}, {50, 5, false}});
  line->Size = 40;  // never more than 6
  ExpectProbes(*line, {{50, 6, false}});

  TLightCell* diagonal = AddCell(doc, KindLine, 0, 0, 100, 100);
  diagonal->Size = 1;
  ExpectProbes(*diagonal, {{50, 55, true}, {50, 60, false}, {55, 50, true}, {0, 100, false}});

  TLightCell* steep = AddCell(doc, KindLine, 10, 0, 12, 100);
  steep->Size = 1;
  ExpectProbes(*steep, {{15, 50, true}, {5, 50, true}, {16, 50, false}, {4, 50, false}});
}

TEST(HitTestTest, LightBodies) {
  TStageData doc;
  TLightCell* circle = AddLight(doc, MakeType({}, Circle, 20, 20), 0, 0);
  circle->Angle = 45;  // circles are never turned
  ExpectProbes(*circle, {{0, 10, true},
                         {19, 10, true},
                         {20, 10, false},
                         {10, 0, true},
                         {10, 19, true},
                         {10, 20, false},
                         {1, 1, false}});

  for (int32_t shape : {Rectangle, BarGraph}) {
    TLightCell* box = AddLight(doc, MakeType({}, shape, 40, 20), 100, 100);
    ExpectProbes(*box, {{100, 100, true},
                        {139, 119, true},
                        {140, 100, false},
                        {100, 120, false},
                        {99, 110, false}});
    box->Angle = 90;  // now (110, 90) - (130, 130)
    ExpectProbes(*box, {{110, 90, true},
                        {129, 129, true},
                        {130, 100, false},
                        {110, 130, false},
                        {100, 100, false},
                        {109, 110, false}});
  }

  TLightCell* octagon = AddLight(doc, MakeType({}, Octagon, 20, 20), 0, 0);  // d = 5
  ExpectProbes(*octagon, {{0, 0, false},
                          {1, 1, false},
                          {2, 3, true},
                          {10, 10, true},
                          {19, 10, true},
                          {20, 10, false},
                          {18, 18, false},
                          {0, 5, true}});
}

TEST(HitTestTest, TextsAreMeasuredAsDrawn) {
  TStageData doc;
  TLightCell* text = AddCell(doc, KindText, 10, 10, 0, 0);
  text->Text = "aé";  // two characters, three bytes
  text->Size = 16;
  // Without a canvas: Size pixels per character.
  ExpectProbes(*text, {{10, 10, true}, {41, 25, true}, {42, 10, false}, {10, 26, false}});

  test::RecordingCanvas canvas;
  text->Canvas = &canvas;
  text->Flags = kFontBold;  // metric: 8 + 1 per character, 16 high
  ExpectProbes(*text, {{27, 25, true}, {28, 10, false}, {10, 26, false}});
}

TEST(HitTestTest, PolygonsFillByWinding) {
  // A five-pointed star drawn in one stroke winds twice round its middle.
  const TPoint star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
  EXPECT_TRUE(PointInPolygon(star, 50, 50));
  EXPECT_TRUE(PointInPolygon(star, 50, 10));
  EXPECT_FALSE(PointInPolygon(star, 5, 80));
  EXPECT_FALSE(PointInPolygon(std::span<const TPoint>(star, 2), 50, 10));
}

TEST(ObjectAtTest, FindsTheTopmostObject) {
  TStageData doc;
  EXPECT_EQ(ObjectAt(doc, 0, 0), -1);
  AddCell(doc, KindShape, 0, 0, 100, 100);
  TLightCell* text = AddCell(doc, KindText, 10, 10, 0, 0);
  text->Text = "x";
  text->Size = 10;
  AddLight(doc, MakeType({}, Rectangle), 200, 200);
  const TPresentationSettings settings;
  EXPECT_EQ(doc.Objects[static_cast<size_t>(ObjectAt(doc, 12, 12, settings))], text);
  EXPECT_EQ(ObjectAt(doc, 50, 50, settings), 0);
  EXPECT_EQ(ObjectAt(doc, 205, 205, settings), 2);
  EXPECT_EQ(ObjectAt(doc, 150, 150, settings), -1);
}

}  // namespace
}  // namespace lumaplot
