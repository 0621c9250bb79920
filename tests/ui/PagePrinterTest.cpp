// The print routine on real paint devices: where the scaled page lands on a picture
// of the printable area, what is left unprinted, fonts at the device's resolution,
// a printer writing a PDF, and the atomic PDF save.
#include "ui/qt/PagePrinter.h"

#include <sys/stat.h>

#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

#include "support/StageBuilder.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"
#include "ui/qt/PainterCanvas.h"
#include "ui/qt/QtPictureLoader.h"

namespace lumaplot {
namespace {

QRgb Px(int32_t color) { return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

constexpr QRgb kPaper = 0xFFFFFFFF;

class PagePrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::TestApplication();
    // An 80 x 60 page onto a printable area of 600 x 400: s = 0.95 x 400 / 60 = 6.333.
    doc.ScrWidth = 80;
    doc.ScrHeight = 60;
    doc.BgColor = 0x00FF00;  // never printed
  }

  QImage Print(QSize box = {}) {
    QImage paper(600, 400, QImage::Format_RGB32);
    paper.fill(kPaper);
    QPainter painter(&paper);
    PaintPrintPage(doc, painter, paper.size(), box, TPresentationSettings{});
    return paper;
  }

  TStageData doc;
};

TEST_F(PagePrinterTest, ScaledObjectsOnUnfilledPaper) {
  TLightCell* light =
      test::AddLight(doc, test::LibraryType("PAR", Rectangle, 10, 10, {RoleRed}), 10, 10, 0);
  light->Color = 0x0000FF;
  test::AddLine(doc, 0, 50, 79, 50, 2);  // 13 pixels wide once printed
  const QImage paper = Print();
  // The light covers 63 … 126 (10 x 6.333 = 63.3 wide) in red.
  EXPECT_EQ(paper.pixel(95, 95), Px(0x0000FF));
  EXPECT_EQ(paper.pixel(65, 65), Px(0x0000FF));
  EXPECT_EQ(paper.pixel(58, 95), kPaper);
  EXPECT_EQ(paper.pixel(131, 95), kPaper);
  // The line at y = 317, as wide as its pen.
  EXPECT_EQ(paper.pixel(200, 317), Px(0x000000));
  EXPECT_EQ(paper.pixel(200, 312), Px(0x000000));
  EXPECT_EQ(paper.pixel(200, 300), kPaper);
  // The page background is not printed.
  EXPECT_EQ(paper.pixel(5, 5), kPaper);
  EXPECT_EQ(paper.pixel(599, 399), kPaper);
}

TEST_F(PagePrinterTest, AWiderPaintBoxShrinksThePrint) {
  TLightCell* light =
      test::AddLight(doc, test::LibraryType("PAR", Rectangle, 10, 10, {RoleRed}), 10, 10, 0);
  light->Color = 0x0000FF;
  // A box of 160 x 60: s = 0.95 x 600 / 160 = 3.5625; the light covers 36 … 71.
  const QImage paper = Print({160, 60});
  EXPECT_EQ(paper.pixel(50, 50), Px(0x0000FF));
  EXPECT_EQ(paper.pixel(90, 90), kPaper);
}

TEST_F(PagePrinterTest, PictureStretchedAndGridScaledOverTheWholeArea) {
  QImage red(8, 6, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  doc.Background = std::make_unique<QtPicture>(red);
  doc.ShowGrid = true;
  doc.GridStyle = 1;  // solid lines
  doc.GridSize = 20;  // every 127 printed pixels
  doc.GridColor = 0xFF0000;
  const QImage paper = Print();
  // 8 x 6 pixels stretched to 51 x 38.
  EXPECT_EQ(paper.pixel(49, 36), qRgb(255, 0, 0));
  EXPECT_EQ(paper.pixel(54, 20), kPaper);
  EXPECT_EQ(paper.pixel(20, 41), kPaper);
  // Grid lines reach over the whole printable area, past the scaled page.
  EXPECT_EQ(paper.pixel(127, 390), Px(0xFF0000));
  EXPECT_EQ(paper.pixel(508, 10), Px(0xFF0000));
  EXPECT_EQ(paper.pixel(590, 254), Px(0xFF0000));
  EXPECT_EQ(paper.pixel(128, 390), kPaper);
}

TEST_F(PagePrinterTest, PointFontsFollowTheDeviceResolutionPixelHeightsDoNot) {
  auto heights = [](int dotsPerInch) {
    QImage image(50, 50, QImage::Format_RGB32);
    const int perMetre = static_cast<int>(dotsPerInch / 0.0254 + 0.5);
    image.setDotsPerMeterX(perMetre);
    image.setDotsPerMeterY(perMetre);
    QPainter painter(&image);
    PainterCanvas canvas(painter);
    canvas.SetFont({"", 9, 0});
    const int points = canvas.TextHeight("A");
    canvas.SetFontHeight(101);
    return std::pair{points, canvas.TextHeight("A")};
  };
  const auto [screenPoints, screenPixels] = heights(96);
  const auto [printPoints, printPixels] = heights(600);
  EXPECT_NEAR(printPoints, screenPoints * 600.0 / 96.0, 0.15 * printPoints);
  EXPECT_LE(screenPixels, 101);
  EXPECT_GE(screenPixels, 90);
  EXPECT_NEAR(printPixels, screenPixels, 1);
}

TEST_F(PagePrinterTest, APrinterWritingAPdfPrintsThePage) {
  test::AddText(doc, 5, 40, "Downstage");
  test::TempDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir.File("printed.pdf")));
  printer.setPageOrientation(QPageLayout::Landscape);
  std::string error;
  ASSERT_TRUE(PrintPage(doc, printer, {}, TPresentationSettings{}, &error)) << error;
  const std::string bytes = test::TempDir::Read(dir.File("printed.pdf"));
  EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
}

TEST_F(PagePrinterTest, PdfIsSavedAtomically) {
  test::TempDir dir;
  const std::string path = dir.Write("plot.pdf", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  std::string error;
  EXPECT_FALSE(WritePdf(doc, path, QPageSize::A4, {}, TPresentationSettings{}, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(test::TempDir::Read(path), "old");
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  ASSERT_TRUE(WritePdf(doc, path, QPageSize::A3, {}, TPresentationSettings{}, &error)) << error;
  EXPECT_EQ(test::TempDir::Read(path).rfind("%PDF-", 0), 0u);

  QPageSize::PageSizeId size = QPageSize::A4;
  EXPECT_TRUE(PdfPageSizeByName("Letter", size));
  EXPECT_EQ(size, QPageSize::Letter);
  EXPECT_TRUE(PdfPageSizeByName("a3", size));
  EXPECT_EQ(size, QPageSize::A3);
  EXPECT_FALSE(PdfPageSizeByName("b5", size));
}

}  // namespace
}  // namespace lumaplot
