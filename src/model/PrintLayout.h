#pragma once
// Printing a page: the scale that fits it onto the printable area of a printer (or a
// PDF page) and the temporary document of scaled copies that is drawn there.
//
// The page is scaled, not its texts' fonts alone: positions, light sizes, text
// heights and pen widths all grow by the same factor, so the print looks like the
// screen. The temporary document has the defaults of a new document, so the printed
// document's colours and fonts do not reach the paper; its page is the printable area.
//
// Plain functions without Qt; the painting is ui/qt/PagePrinter. GUI thread only
// (the copies are made from a document the GUI thread owns).
#include <cstdint>
#include <memory>

#include "model/Rect.h"
#include "model/StageData.h"

namespace lumaplot {

// The share of the printable area the page takes in its tighter direction.
inline constexpr double kPrintFill = 0.95;

// s = min(0.95 x areaWidth / sw, 0.95 x areaHeight / sh), where sw is the larger of
// the page width and the width of the paint box that shows it (sh likewise): what
// the screen shows beside a small page is printed too. A source side below 1 counts
// as 1; an area side below 1 gives 0 (nothing can be printed).
double PrintScale(int32_t pageWidth, int32_t pageHeight, int32_t boxWidth, int32_t boxHeight,
                  int32_t areaWidth, int32_t areaHeight);

// RoundHalfUp(scale x value).
int32_t PrintScaled(double scale, int32_t value);

// The printed grid step: the scaled grid size, but at least 1, so a fine grid on a
// small printer still prints; 0 (no grid) for a grid size below 1, which the screen
// does not draw either.
int32_t PrintGridStep(double scale, int32_t gridSize);

// Where the background picture of `width` x `height` pixels is stretched to:
// (0, 0, scaled width, scaled height).
TRect PrintPictureRect(double scale, int32_t width, int32_t height);

// The temporary document: a new document (defaults of TStageData) whose page is
// areaWidth x areaHeight, holding a copy of every object of `doc` in list order with
// X1, Y1, X2, Y2 scaled; a light's Width and Height are its type's size scaled (the
// type itself is kept); Size and Size2 scaled but at least 1. The copies keep their
// selection and Moving state; where a level text was last drawn on the screen is
// dropped, since it says nothing about the paper. No canvas is set.
std::unique_ptr<TStageData> MakePrintDocument(const TStageData& doc, double scale,
                                              int32_t areaWidth, int32_t areaHeight);

}  // namespace lumaplot
