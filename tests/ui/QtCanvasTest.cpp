#include "ui/qt/QtCanvas.h"

#include <gtest/gtest.h>

#include <QImage>

#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/qt/QtPictureLoader.h"

namespace lumaplot {
namespace {

constexpr int32_t kRed = 0x0000FF;
constexpr int32_t kGreen = 0x00FF00;

// The program's 0x00BBGGRR as the image's pixel.
QRgb Px(int32_t color) { return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

class QtCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { test::TestApplication(); }

  QRgb At(const QtCanvas& canvas, int x, int y) { return canvas.Image().pixel(x, y); }
};

TEST_F(QtCanvasTest, FillRectCoversLeftAndTopButNotRightAndBottom) {
  QtCanvas canvas(QSize(10, 10));
  canvas.SetBrushColor(kRed);
  canvas.FillRect({2, 3, 5, 7});
  EXPECT_EQ(At(canvas, 2, 3), Px(kRed));
  EXPECT_EQ(At(canvas, 4, 6), Px(kRed));
  EXPECT_EQ(At(canvas, 5, 3), Px(0));
  EXPECT_EQ(At(canvas, 2, 7), Px(0));
  EXPECT_EQ(At(canvas, 1, 3), Px(0));
  canvas.FillRect({5, 5, 2, 2});  // reversed: nothing
  EXPECT_EQ(At(canvas, 3, 2), Px(0));
}

TEST_F(QtCanvasTest, EllipseStaysInsideItsRectangle) {
  QtCanvas canvas(QSize(30, 30));
  canvas.SetPenColor(kGreen);
  canvas.SetBrushColor(kRed);
  canvas.Ellipse(20, 20, 0, 0);  // corners in either order
  for (const QPoint p : {QPoint(0, 10), QPoint(19, 10), QPoint(10, 0), QPoint(10, 19)}) {
    EXPECT_EQ(At(canvas, p.x(), p.y()), Px(kGreen)) << p.x() << "," << p.y();
  }
  EXPECT_EQ(At(canvas, 10, 10), Px(kRed));
  EXPECT_EQ(At(canvas, 20, 10), Px(0));
  EXPECT_EQ(At(canvas, 10, 20), Px(0));
  EXPECT_EQ(At(canvas, 0, 0), Px(0));
}

TEST_F(QtCanvasTest, PolygonOutlinePassesThroughItsPointsAndFillsByWinding) {
  QtCanvas canvas(QSize(110, 100));
  canvas.SetPenColor(kGreen);
  canvas.SetBrushColor(kRed);
  const TPoint box[] = {{0, 0}, {5, 0}, {5, 5}, {0, 5}};
  canvas.Polygon(box);
  EXPECT_EQ(At(canvas, 5, 5), Px(kGreen));
  EXPECT_EQ(At(canvas, 2, 2), Px(kRed));
  EXPECT_EQ(At(canvas, 6, 2), Px(0));

  const TPoint star[] = {{60, 0}, {89, 90}, {12, 35}, {108, 35}, {31, 90}};
  canvas.Polygon(star);
  EXPECT_EQ(At(canvas, 60, 50), Px(kRed));  // wound twice: still inside
}

TEST_F(QtCanvasTest, WidePensAndClearBrushes) {
  QtCanvas canvas(QSize(40, 40));
  canvas.SetPenColor(kGreen);
  canvas.SetPenWidth(5);
  canvas.SetBrushStyle(TBrushStyle::Clear);
  const TPoint box[] = {{10, 10}, {30, 10}, {30, 30}, {10, 30}};
  canvas.Polygon(box);
  EXPECT_EQ(At(canvas, 20, 8), Px(kGreen));  // the pen straddles the outline
  EXPECT_EQ(At(canvas, 20, 12), Px(kGreen));
  EXPECT_EQ(At(canvas, 20, 20), Px(0));  // clear brush leaves the inside
}

TEST_F(QtCanvasTest, InvertingPenRestoresWhenDrawnTwice) {
  QtCanvas canvas(QSize(50, 50), 0x336699);
  canvas.SetBrushColor(kRed);
  canvas.FillRect({0, 0, 25, 50});
  const QImage before = canvas.Snapshot();

  canvas.SetPenMode(TPenMode::Invert);
  canvas.SetPenColor(kGreen);  // ignored when inverting
  canvas.SetBrushStyle(TBrushStyle::Clear);
  const TPoint band[] = {{5, 5}, {45, 5}, {45, 45}, {5, 45}, {5, 5}};
  canvas.Polyline(band);
  canvas.MoveTo(0, 20);
  canvas.LineTo(49, 20);
  EXPECT_EQ(At(canvas, 10, 5), qRgb(0, 255, 255));  // inverted red
  EXPECT_EQ(At(canvas, 30, 5),
            qRgb(0x66, 0x99, 0xCC));  // inverted 0x336699 (B 0x33, G 0x66, R 0x99)
  canvas.Polyline(band);
  canvas.MoveTo(0, 20);
  canvas.LineTo(49, 20);
  EXPECT_EQ(canvas.Image(), before);

  // Filling and texts are not inverted.
  canvas.SetBrushStyle(TBrushStyle::Solid);
  canvas.SetBrushColor(kGreen);
  canvas.FillRect({30, 30, 40, 40});
  EXPECT_EQ(At(canvas, 35, 35), Px(kGreen));
}

TEST_F(QtCanvasTest, GridPensAreDottedAndDashed) {
  QtCanvas canvas(QSize(60, 3));
  canvas.SetPenColor(kGreen);
  canvas.SetPenStyle(TPenStyle::Dot);
  canvas.MoveTo(0, 1);
  canvas.LineTo(60, 1);
  int lit = 0;
  for (int x = 0; x < 60; ++x) lit += At(canvas, x, 1) == Px(kGreen);
  EXPECT_GT(lit, 10);
  EXPECT_LT(lit, 50);
}

TEST_F(QtCanvasTest, TextsAreMeasuredInTheirFontAndDrawnOnTheBrush) {
  QtCanvas canvas(QSize(200, 60));
  canvas.SetFont({"", 9, 0});
  const int32_t height9pt = canvas.TextHeight("Ag");
  EXPECT_GE(height9pt, 12);  // 9 points are 12 pixels at 96 dots per inch
  EXPECT_LE(height9pt, 20);
  EXPECT_GT(canvas.TextWidth("ABCD"), canvas.TextWidth("AB"));

  canvas.SetFontHeight(30);  // the whole cell is 30 pixels high
  EXPECT_LE(canvas.TextHeight("Ag"), 30);
  EXPECT_GE(canvas.TextHeight("Ag"), 24);
  canvas.SetFontHeight(20);
  const int32_t plain = canvas.TextWidth("MMMM");
  canvas.SetFontStyle(kFontBold);
  EXPECT_GE(canvas.TextWidth("MMMM"), plain);

  canvas.SetFontStyle(0);
  canvas.SetBrushColor(kRed);
  canvas.SetFontColor(kGreen);
  const int32_t w = canvas.TextWidth("照明");
  const int32_t h = canvas.TextHeight("照明");
  canvas.TextOut(10, 5, "照明");
  EXPECT_EQ(At(canvas, 10, 5), Px(kRed));  // the cell's corner is background
  EXPECT_EQ(At(canvas, 10 + w - 1, 5 + h - 1), Px(kRed));
  EXPECT_EQ(At(canvas, 10 + w + 1, 5), Px(0));
  int ink = 0;
  for (int y = 5; y < 5 + h; ++y) {
    for (int x = 10; x < 10 + w; ++x) ink += At(canvas, x, y) != Px(kRed);
  }
  EXPECT_GT(ink, 20);

  canvas.SetBrushStyle(TBrushStyle::Clear);
  canvas.TextOut(100, 5, "X");
  EXPECT_EQ(At(canvas, 100, 5), Px(0));  // a clear brush keeps the background
}

TEST_F(QtCanvasTest, TextsFollowFontSwitchesAndNewSurfaces) {
  QtCanvas canvas(QSize(120, 40));
  const FontSpec small{"", 8, 0};
  const FontSpec large{"", 20, 0};
  canvas.SetFont(small);
  const int32_t smallWidth = canvas.TextWidth("A001");
  canvas.SetFont(large);
  const int32_t largeWidth = canvas.TextWidth("A001");
  EXPECT_GT(largeWidth, smallWidth);
  canvas.SetFont(small);
  EXPECT_EQ(canvas.TextWidth("A001"), smallWidth);
  const int32_t smallHeight = canvas.TextHeight("A001");
  canvas.SetFontHeight(40);
  EXPECT_GT(canvas.TextHeight("A001"), smallHeight);
  canvas.SetFontHeight(0);  // back to the point size
  EXPECT_EQ(canvas.TextHeight("A001"), smallHeight);

  // The same text drawn after a switch away and back, and on a new surface, leaves
  // the same pixels.
  canvas.SetFontColor(0xFFFFFF);
  canvas.SetBrushStyle(TBrushStyle::Clear);
  canvas.TextOut(0, 0, "A001");
  EXPECT_NE(canvas.Image(), QtCanvas(QSize(120, 40)).Image());
  const QImage first = canvas.Snapshot();
  canvas.SetFont(large);
  canvas.TextOut(0, 0, "A001");
  canvas.Resize(QSize(120, 40));
  canvas.SetFont(small);
  canvas.TextOut(0, 0, "A001");
  EXPECT_EQ(canvas.Image(), first);
}

TEST_F(QtCanvasTest, HandMarkIsDrawnInItsSquare) {
  QtCanvas canvas(QSize(80, 80), 0x808080);
  canvas.DrawHandMark(20, 20);
  int changed = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 80; ++x) {
      if (At(canvas, x, y) == Px(0x808080)) continue;
      ++changed;
      EXPECT_TRUE(x >= 20 && x < 52 && y >= 20 && y < 52) << x << "," << y;
    }
  }
  EXPECT_GT(changed, 100);
}

TEST_F(QtCanvasTest, DirtyRectGathersWhatWasDrawn) {
  QtCanvas canvas(QSize(100, 100));
  EXPECT_EQ(canvas.TakeDirtyRect(), QRect(0, 0, 100, 100));  // a new surface
  EXPECT_TRUE(canvas.TakeDirtyRect().isEmpty());
  canvas.FillRect({10, 10, 20, 20});
  canvas.SetPixel(50, 60, kRed);
  canvas.SetPixel(500, 60, kRed);  // outside: ignored
  EXPECT_EQ(canvas.TakeDirtyRect(), QRect(QPoint(10, 10), QPoint(50, 60)));
  canvas.MoveTo(90, 90);
  canvas.LineTo(200, 200);
  EXPECT_EQ(canvas.TakeDirtyRect().bottomRight(), QPoint(99, 99));  // clipped to the image
}

TEST_F(QtCanvasTest, PicturesLoadAndDrawInTheirOwnSize) {
  test::TempDir dir;
  QImage source(30, 20, QImage::Format_RGB32);
  source.fill(qRgb(255, 0, 0));
  const std::string png = dir.File("picture.png");
  ASSERT_TRUE(source.save(QString::fromStdString(png)));

  QtPictureLoader loader;
  std::string error;
  const std::unique_ptr<Picture> picture = loader.LoadPicture(png, &error);
  ASSERT_NE(picture, nullptr) << error;
  EXPECT_EQ(picture->Width(), 30);
  EXPECT_EQ(picture->Height(), 20);

  QtCanvas canvas(QSize(50, 50));
  canvas.DrawPicture(0, 0, *picture);
  EXPECT_EQ(At(canvas, 29, 19), qRgb(255, 0, 0));
  EXPECT_EQ(At(canvas, 30, 19), Px(0));

  EXPECT_EQ(loader.LoadPicture(dir.File("missing.png"), &error), nullptr);
  EXPECT_NE(error.find("missing.png"), std::string::npos);
  dir.Write("broken.png", "not a picture");
  error.clear();
  EXPECT_EQ(loader.LoadPicture(dir.File("broken.png"), &error), nullptr);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace lumaplot
