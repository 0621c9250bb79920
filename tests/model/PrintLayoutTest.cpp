// The scale rule of printing and the temporary document of scaled copies, checked
// on the copies and on what they draw; and lights taking their type again after the
// library changed.
#include "model/PrintLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/ObjectDrawing.h"
#include "model/TypeLinks.h"
#include "support/RecordingCanvas.h"
#include "support/StageBuilder.h"

namespace lumaplot {
namespace {

using test::AddCell;
using test::AddLight;
using test::AddLine;
using test::AddText;
using test::LibraryType;
using test::MakeLibrary;
using ::testing::Contains;
using ::testing::HasSubstr;

TEST(PrintScaleTest, TighterDirectionWinsAndTheLargerOfPageAndBoxCounts) {
  const struct {
    int32_t page[2];
    int32_t box[2];
    int32_t area[2];
    double scale;
  } cases[] = {
      // The example of a page on a 6000 x 4000 printer area with a smaller paint box.
      {{800, 600}, {500, 400}, {6000, 4000}, 0.95 * 4000 / 600},
      // A paint box wider than the page: the width now decides.
      {{800, 600}, {1000, 600}, {6000, 4000}, 0.95 * 6000 / 1000},
      {{800, 600}, {800, 1200}, {6000, 4000}, 0.95 * 4000 / 1200},
      // A page that must shrink to fit.
      {{4000, 3000}, {0, 0}, {800, 600}, 0.95 * 800 / 4000},
      // Page sides below 1 count as 1 rather than dividing by zero.
      {{0, -5}, {0, 0}, {100, 100}, 95.0},
      // Nothing can be printed on an area without pixels.
      {{800, 600}, {0, 0}, {0, 4000}, 0.0},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(PrintScale(c.page[0], c.page[1], c.box[0], c.box[1], c.area[0], c.area[1]),
                     c.scale)
        << c.page[0] << "x" << c.page[1] << " box " << c.box[0] << "x" << c.box[1];
  }
}

TEST(PrintScaleTest, GridStepIsAtLeastOnePixel) {
  const struct {
    double scale;
    int32_t gridSize;
    int32_t step;
  } cases[] = {
      {0.95 * 4000 / 600, 20, 127},
      {0.01, 20, 1},
      {0.5, 3, 2},  // 1.5 rounds up
      {0.05, 1, 1},
      {6.0, 0, 0},
      {6.0, -4, 0},  // no grid below size 1
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PrintGridStep(c.scale, c.gridSize), c.step) << c.scale << " x " << c.gridSize;
  }
  EXPECT_EQ(PrintPictureRect(6.5, 100, 31), (TRect{0, 0, 650, 202}));  // 201.5 rounds up
}

class PrintDocumentTest : public ::testing::Test {
 protected:
  PrintDocumentTest() {
    doc.ScrWidth = 800;
    doc.ScrHeight = 600;
    // The printed document's own colours must not reach the paper.
    doc.BgColor = 0x123456;
    doc.ValBgColor = 0x654321;
    doc.ChColor = 0x00FF00;
    doc.ValFont = {"Serif", 30, 0};
  }

  // The example: an 800 x 600 page on a printer area of 6000 x 4000 with a paint box
  // smaller than the page.
  std::unique_ptr<TStageData> Print() {
    scale = PrintScale(doc.ScrWidth, doc.ScrHeight, 640, 480, 6000, 4000);
    return MakePrintDocument(doc, scale, 6000, 4000);
  }

  TStageData doc;
  double scale = 0;
};

TEST_F(PrintDocumentTest, PartExampleOnTheTemporaryDocument) {
  TLightCell* light = AddLight(doc, LibraryType("PAR", Circle, 20, 20, {RoleDimmer}), 100, 100, 0);
  light->Color = 0x00FF00;
  TLightCell* text = AddText(doc, 50, 500, "下手");
  text->Size = 16;
  AddLine(doc, 10, 20, 790, 20, 0);

  const auto print = Print();
  EXPECT_NEAR(scale, 6.3333, 1e-4);
  ASSERT_EQ(print->Objects.size(), 3u);
  // Drawing order is kept: line, text, light.
  const TLightCell& printedLine = *print->Objects[0];
  const TLightCell& printedText = *print->Objects[1];
  const TLightCell& printedLight = *print->Objects[2];
  EXPECT_EQ(printedLight.X1, 633);
  EXPECT_EQ(printedLight.Y1, 633);
  EXPECT_EQ(printedLight.Width, 127);  // 126.67
  EXPECT_EQ(printedLight.Height, 127);
  EXPECT_EQ(printedLight.Fixture, light->Fixture);  // the type itself is not scaled
  EXPECT_EQ(printedText.Size, 101);
  EXPECT_EQ(printedText.X1, 317);  // 316.67
  EXPECT_EQ(printedText.Y1, 3167);
  EXPECT_EQ(printedText.Text, "下手");
  EXPECT_EQ(printedLine.Size, 1);  // 0 scaled is 0, but at least 1
  EXPECT_EQ(printedLine.X2, 5003);
  EXPECT_EQ(printedLine.Y2, 127);

  // And what they draw on the printer's canvas.
  test::RecordingCanvas canvas;
  print->Canvas = &canvas;
  DrawAll(*print, true, true, false, TPresentationSettings{});
  const std::vector<std::string> calls = canvas.Descriptions();
  EXPECT_THAT(calls, Contains("Line (63,127) (5003,127) pen=0x000000/1"));
  EXPECT_THAT(calls, Contains("Ellipse (633,633) (760,760) pen=0xc0c0c0/1 brush=0x00ff00"));
  bool textSeen = false;
  for (const test::RecordedCall& call : canvas.Calls) {
    if (call.Op == "TextOut" && call.Text == "下手") {
      textSeen = true;
      EXPECT_EQ(call.FontHeight, 101);
      EXPECT_EQ(call.Points.front(), (TPoint{317, 3167}));
    }
  }
  EXPECT_TRUE(textSeen);
  // The source is left as it was.
  EXPECT_EQ(light->X1, 100);
  EXPECT_EQ(light->Width, 20);
  EXPECT_EQ(text->Size, 16);
}

TEST_F(PrintDocumentTest, TemporaryDocumentHasDefaultsAndThePrinterPage) {
  const auto print = Print();
  const TStageData defaults;
  EXPECT_EQ(print->ScrWidth, 6000);
  EXPECT_EQ(print->ScrHeight, 4000);
  EXPECT_EQ(print->BgColor, defaults.BgColor);
  EXPECT_EQ(print->ValBgColor, defaults.ValBgColor);
  EXPECT_EQ(print->ChColor, defaults.ChColor);
  EXPECT_EQ(print->ValFont, defaults.ValFont);
  EXPECT_EQ(print->Canvas, nullptr);
}

TEST_F(PrintDocumentTest, SizesOfShapesAndStateOfTheCopies) {
  TLightCell* shape = AddCell(doc, KindShape, 10, 10, 110, 60);
  shape->Size = 3;
  shape->Size2 = 0;
  TLightCell* light = AddLight(doc, LibraryType("BAR", BarGraph, 10, 40, {RoleDimmer}), 200, 50);
  light->Width = 99;  // stale: the type's size is what is printed
  light->Selected = true;
  light->SetMoving();
  light->ValueRect = {190, 30, 230, 45};
  light->Flags = kFlagShowLevel;

  const auto print = Print();
  const TLightCell& printedShape = *print->Objects[0];
  const TLightCell& printedLight = *print->Objects[1];
  EXPECT_EQ(printedShape.Size, 19);
  EXPECT_EQ(printedShape.Size2, 1);
  EXPECT_EQ(printedShape.X2, 697);
  EXPECT_EQ(printedLight.Width, 63);
  EXPECT_EQ(printedLight.Height, 253);
  EXPECT_TRUE(printedLight.Selected);
  EXPECT_TRUE(printedLight.Moving());
  EXPECT_EQ(printedLight.Flags, kFlagShowLevel);
  EXPECT_TRUE(printedLight.ValueRect.IsEmpty());
  // No level text place of the screen is erased on the paper.
  test::RecordingCanvas canvas;
  print->Canvas = &canvas;
  DrawAll(*print, true, true, false, TPresentationSettings{});
  for (const test::RecordedCall& call : canvas.Calls) {
    EXPECT_NE(call.Op, "FillRect") << call.Describe();
  }
}

TEST(TypeLinksTest, LightsTakeTheLibrarysCurrentTypeByName) {
  const TLibItem oldPar = LibraryType("PAR", Circle, 20, 20, {RoleDimmer});
  const TLibItem newPar = LibraryType("PAR", Rectangle, 40, 30, {RoleDimmer, RoleRed});
  const TLibItem gone = LibraryType("GONE", Octagon, 50, 50, {RoleBlue});
  TLightLib library = MakeLibrary({newPar, LibraryType("PAR", Circle, 90, 90, {})});
  TStageData doc;
  TLightCell* par = AddLight(doc, oldPar, 0, 0, 0);
  TLightCell* deleted = AddLight(doc, gone, 50, 0, 5);
  TLibItem unnamed = gone;
  unnamed.Name.clear();
  TLightCell* nameless = AddLight(doc, unnamed, 100, 0);
  nameless->Width = 3;
  TLightCell* text = AddText(doc, 0, 0, "PAR");
  for (TLightCell* cell : doc.Objects) cell->SetNeedsDraw(false);

  RelinkLightTypes(doc, library);
  // The first type of the name, in library order.
  EXPECT_EQ(par->Fixture, newPar);
  EXPECT_EQ(par->Width, 40);
  EXPECT_EQ(par->Height, 30);
  EXPECT_TRUE(par->NeedsDraw());
  // A deleted type: drawn as the default type, but the name stays for saving.
  TLibItem expected = DefaultLibItem();
  expected.Name = "GONE";
  EXPECT_EQ(deleted->Fixture, expected);
  EXPECT_EQ(deleted->Width, 20);
  // No name: nothing to look up; the light keeps its type and takes its size.
  EXPECT_EQ(nameless->Fixture, unnamed);
  EXPECT_EQ(nameless->Width, 50);
  EXPECT_EQ(text->Fixture, DefaultLibItem());
  EXPECT_FALSE(text->NeedsDraw());

  // The name comes back with the type once the library holds it again.
  library.Items.Add(gone);
  RelinkLightType(*deleted, library);
  EXPECT_EQ(deleted->Fixture, gone);
  EXPECT_EQ(deleted->Width, 50);
}

}  // namespace
}  // namespace lumaplot
