#include "model/PageGrid.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/RecordingCanvas.h"

namespace lumaplot {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(PageGridTest, DotsAtEveryStepInsideTheSurface) {
  test::RecordingCanvas canvas;
  PaintGrid(canvas, kGridDots, 0xFF0000, 20, 800, 600);
  ASSERT_EQ(canvas.Calls.size(), 40u * 30u);
  EXPECT_EQ(canvas.Calls.front().Describe(), "Pixel (0,0) 0xff0000");
  EXPECT_EQ(canvas.Calls[1].Describe(), "Pixel (0,20) 0xff0000");
  EXPECT_EQ(canvas.Calls.back().Describe(), "Pixel (780,580) 0xff0000");
}

TEST(PageGridTest, LinesVerticalFirstThenHorizontal) {
  test::RecordingCanvas canvas;
  canvas.SetPenWidth(4);
  PaintGrid(canvas, kGridDotted, 0x00FF00, 30, 61, 40);
  EXPECT_THAT(canvas.Descriptions(),
              ElementsAre("Line (0,0) (0,40) pen=0x00ff00/1", "Line (30,0) (30,40) pen=0x00ff00/1",
                          "Line (60,0) (60,40) pen=0x00ff00/1", "Line (0,0) (61,0) pen=0x00ff00/1",
                          "Line (0,30) (61,30) pen=0x00ff00/1"));
  EXPECT_EQ(canvas.Calls[0].PenStyle, TPenStyle::Dot);
  canvas.Clear();
  PaintGrid(canvas, kGridDashDot, 0, 50, 10, 10);
  EXPECT_EQ(canvas.Calls[0].PenStyle, TPenStyle::DashDot);
  canvas.Clear();
  PaintGrid(canvas, kGridSolid, 0, 50, 10, 10);
  EXPECT_EQ(canvas.Calls[0].PenStyle, TPenStyle::Solid);
}

TEST(PageGridTest, NothingForAStepBelowOneOrAnUnknownStyle) {
  test::RecordingCanvas canvas;
  PaintGrid(canvas, kGridSolid, 0, 0, 800, 600);
  PaintGrid(canvas, kGridDots, 0, -5, 800, 600);
  PaintGrid(canvas, 4, 0, 20, 800, 600);
  EXPECT_THAT(canvas.Calls, IsEmpty());
  // A step larger than the surface still marks the origin.
  PaintGrid(canvas, kGridDots, 0, 2147483647, 800, 600);
  EXPECT_EQ(canvas.Calls.size(), 1u);
}

}  // namespace
}  // namespace lumaplot
