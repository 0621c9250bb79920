#include "ui/qt/PagePainter.h"

#include <gtest/gtest.h>

#include <QImage>

#include "support/TestApplication.h"
#include "ui/qt/QtPictureLoader.h"

namespace lumaplot {
namespace {

constexpr int32_t kBg = 0x400000;    // dark blue
constexpr int32_t kGrid = 0x00FFFF;  // yellow

QRgb Px(int32_t color) { return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

class PagePainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    doc.BgColor = kBg;
    doc.GridColor = kGrid;
    doc.ShowGrid = true;
  }

  QRgb At(int x, int y) { return canvas.Image().pixel(x, y); }

  TStageData doc;
  QtCanvas canvas{QSize(100, 80), 0xFFFFFF};
  TPresentationSettings settings;
};

TEST_F(PagePainterTest, DotGridOverTheBackground) {
  doc.GridStyle = 0;
  doc.GridSize = 20;
  PaintPage(doc, canvas, settings);
  EXPECT_EQ(At(0, 0), Px(kGrid));
  EXPECT_EQ(At(80, 60), Px(kGrid));
  EXPECT_EQ(At(20, 21), Px(kBg));
  EXPECT_EQ(At(99, 79), Px(kBg));
}

TEST_F(PagePainterTest, LineGridCoversTheWholeSurface) {
  doc.GridStyle = 1;
  doc.GridSize = 40;
  PaintPage(doc, canvas, settings);
  for (int y : {0, 13, 79}) EXPECT_EQ(At(40, y), Px(kGrid)) << y;
  for (int x : {0, 57, 99}) EXPECT_EQ(At(x, 40), Px(kGrid)) << x;
  EXPECT_EQ(At(41, 41), Px(kBg));
}

TEST_F(PagePainterTest, NoGridBelowSizeOneOrWhenHidden) {
  doc.GridSize = 0;
  PaintPage(doc, canvas, settings);
  EXPECT_EQ(At(0, 0), Px(kBg));
  doc.GridSize = 20;
  doc.ShowGrid = false;
  PaintPage(doc, canvas, settings);
  EXPECT_EQ(At(20, 20), Px(kBg));
}

TEST_F(PagePainterTest, PictureUnderGridUnderObjects) {
  QImage red(30, 30, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  doc.Background = std::make_unique<QtPicture>(red);
  doc.GridSize = 10;
  doc.GridStyle = 0;

  TLightCell* light = NewCell();
  light->X1 = 50;
  light->Y1 = 40;
  light->Color = 0x00FF00;
  doc.AddObject(light);
  light->SetNeedsDraw(false);
  TLightCell* line = NewCell();
  line->Kind = KindLine;
  line->X1 = 0;
  line->Y1 = 75;
  line->X2 = 99;
  line->Y2 = 75;
  line->Color = 0xFF00FF;
  doc.AddObject(line);

  PaintPage(doc, canvas, settings);
  EXPECT_EQ(At(29, 29), qRgb(255, 0, 0));
  EXPECT_EQ(At(30, 30), Px(kGrid));
  EXPECT_EQ(At(31, 31), Px(kBg));
  EXPECT_EQ(At(20, 20), Px(kGrid));     // the grid lies over the picture
  EXPECT_EQ(At(60, 50), Px(0x00FF00));  // every object is drawn, marked or not
  EXPECT_EQ(At(50, 75), Px(0xFF00FF));
  EXPECT_FALSE(light->NeedsDraw());
  EXPECT_EQ(doc.Canvas, nullptr);  // the document keeps its own canvas
}

}  // namespace
}  // namespace lumaplot
