#include "model/PrintLayout.h"

#include <algorithm>

#include "util/Rounding.h"

namespace lumaplot {

double PrintScale(int32_t pageWidth, int32_t pageHeight, int32_t boxWidth, int32_t boxHeight,
                  int32_t areaWidth, int32_t areaHeight) {
  if (areaWidth < 1 || areaHeight < 1) return 0.0;
  const double sourceWidth = std::max({pageWidth, boxWidth, 1});
  const double sourceHeight = std::max({pageHeight, boxHeight, 1});
  return std::min(kPrintFill * areaWidth / sourceWidth, kPrintFill * areaHeight / sourceHeight);
}

int32_t PrintScaled(double scale, int32_t value) { return RoundHalfUp(scale * value); }

int32_t PrintGridStep(double scale, int32_t gridSize) {
  if (gridSize < 1) return 0;
  return std::max(1, PrintScaled(scale, gridSize));
}

TRect PrintPictureRect(double scale, int32_t width, int32_t height) {
  return {0, 0, PrintScaled(scale, width), PrintScaled(scale, height)};
}

std::unique_ptr<TStageData> MakePrintDocument(const TStageData& doc, double scale,
                                              int32_t areaWidth, int32_t areaHeight) {
  auto print = std::make_unique<TStageData>();
  print->ScrWidth = areaWidth;
  print->ScrHeight = areaHeight;
  for (const TLightCell* cell : doc.Objects) {
    if (cell == nullptr) continue;
    TLightCell* copy = CopyCell(*cell);
    copy->X1 = PrintScaled(scale, cell->X1);
    copy->Y1 = PrintScaled(scale, cell->Y1);
    copy->X2 = PrintScaled(scale, cell->X2);
    copy->Y2 = PrintScaled(scale, cell->Y2);
    copy->Width = PrintScaled(scale, cell->Fixture.Width);
    copy->Height = PrintScaled(scale, cell->Fixture.Height);
    copy->Size = std::max(1, PrintScaled(scale, cell->Size));
    copy->Size2 = std::max(1, PrintScaled(scale, cell->Size2));
    // A level text erases where it stood before; on paper it never stood anywhere.
    copy->ValueRect = {};
    // Appended, not sorted: the copies are drawn in the order the page draws them.
    print->AppendObject(copy);
  }
  return print;
}

}  // namespace lumaplot
