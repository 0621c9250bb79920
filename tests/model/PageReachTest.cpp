// How far the objects of a plot reach, which the view must offer even when the page
// is smaller.
#include "model/PageReach.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/StageBuilder.h"

namespace lumaplot {
namespace {

TEST(PageReach, EveryKindReachesAsItIsDrawn) {
  const TPresentationSettings settings;
  const TLibItem square = test::MakeType({1}, Rectangle, 40, 20);
  struct Case {
    const char* name;
    std::function<void(TStageData&)> add;
    TPoint reach;
  };
  const Case cases[] = {
      {"nothing", [](TStageData&) {}, {0, 0}},
      {"light", [&](TStageData& d) { test::AddLight(d, square, 100, 50); }, {140, 70}},
      // Turned a quarter, 40 x 20 about its centre (120, 60) becomes 20 x 40.
      {"turned light",
       [&](TStageData& d) { test::AddLight(d, square, 100, 50)->Angle = 90; },
       {130, 80}},
      {"line with its pen",
       [](TStageData& d) { test::AddLine(d, 500, 10, 20, 300, 5); },
       {503, 303}},
      {"shape with its pen",
       [](TStageData& d) { test::AddCell(d, KindShape, 900, 700, 10, 10)->Size = 16; },
       {909, 709}},
      // Without a canvas a text is Size pixels a character and Size high.
      {"text", [](TStageData& d) { test::AddText(d, 30, 40, "abcd"); }, {94, 56}},
      {"left of and above the page",
       [](TStageData& d) { test::AddLine(d, -90, -90, -50, -50); },
       {0, 0}},
  };
  for (const Case& c : cases) {
    TStageData doc;
    c.add(doc);
    const TPoint reach = ObjectsReach(doc, settings);
    EXPECT_EQ(reach.X, c.reach.X) << c.name;
    EXPECT_EQ(reach.Y, c.reach.Y) << c.name;
  }
}

TEST(PageReach, TheFarthestObjectCounts) {
  TStageData doc;
  test::AddText(doc, 10, 2000, "x");
  test::AddLine(doc, 3000, 0, 3000, 10);
  const TPoint reach = ObjectsReach(doc, TPresentationSettings{});
  EXPECT_EQ(reach.X, 3001);
  EXPECT_EQ(reach.Y, 2016);
}

}  // namespace
}  // namespace lumaplot
