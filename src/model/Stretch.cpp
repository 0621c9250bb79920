#include "model/Stretch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/CellMove.h"
#include "model/HitTest.h"
#include "model/LightPresentation.h"

namespace lumaplot {
namespace {

// Results farther out than this are off any page; checking first keeps the
// conversion to integers defined for every factor.
constexpr double kFarOff = 1e12;

struct TExtent {
  int64_t Left = 0;
  int64_t Top = 0;
  int64_t Right = 0;
  int64_t Bottom = 0;
};

struct TReference {
  int64_t X = 0;
  int64_t Y = 0;
};

// The reference point: the top-left corner of the remembered selection box for the
// diagonal mode, its middle otherwise.
TReference ReferencePoint(const TLightList& cells, int mode) {
  int64_t left = cells.front()->BaseX;
  int64_t top = cells.front()->BaseY;
  int64_t right = left;
  int64_t bottom = top;
  for (const TLightCell* cell : cells) {
    left = std::min<int64_t>(left, cell->BaseX);
    top = std::min<int64_t>(top, cell->BaseY);
    right = std::max<int64_t>(right, int64_t{cell->BaseX} + cell->Width);
    bottom = std::max<int64_t>(bottom, int64_t{cell->BaseY} + cell->Height);
  }
  if (mode == StretchDiagonal) return {left, top};
  return {left + (right - left) / 2, top + (bottom - top) / 2};
}

// Where the object's reference point goes; false when it lands far off the page.
bool StretchedPosition(const TLightCell& cell, int mode, double factor, TReference ref, int64_t& px,
                       int64_t& py) {
  const int64_t ox = mode == StretchDiagonal ? 0 : cell.Width / 2;
  const int64_t oy = mode == StretchDiagonal ? 0 : cell.Height / 2;
  const auto dx = static_cast<double>(cell.BaseX + ox - ref.X);
  const auto dy = static_cast<double>(cell.BaseY + oy - ref.Y);
  const auto rx = static_cast<double>(ref.X);
  const auto ry = static_cast<double>(ref.Y);
  double x = cell.BaseX;
  double y = cell.BaseY;
  switch (mode) {
    case StretchRadial:
      x = std::floor(factor * dx + rx) - ox;
      y = std::floor(factor * dy + ry) - oy;
      break;
    case StretchDiagonal:
      x = std::floor(factor * dx + rx);
      y = std::floor(factor * dy + ry);
      break;
    case StretchHorizontal:
      x = std::floor(factor * dx + rx) - ox;
      break;
    case StretchVertical:
      y = std::floor(factor * dy + ry) - oy;
      break;
    case StretchRotate: {
      const double a = factor * std::numbers::pi / 2;
      x = std::floor(rx + dx * std::cos(a) - dy * std::sin(a)) - ox;
      y = std::floor(ry + dx * std::sin(a) + dy * std::cos(a)) - oy;
      break;
    }
    default:
      return false;
  }
  if (!(std::fabs(x) < kFarOff && std::fabs(y) < kFarOff)) return false;
  px = static_cast<int64_t>(x);
  py = static_cast<int64_t>(y);
  return true;
}

// Computes the object's new corners into NewX1 … NewY2; false when the object would
// not lie wholly on the page there.
bool PlaceOnPage(TStageData& doc, TLightCell& cell, int64_t px, int64_t py) {
  const int64_t x2 = px + (int64_t{cell.X2} - cell.X1);
  const int64_t y2 = py + (int64_t{cell.Y2} - cell.Y1);
  TExtent extent{px, py, px, py};
  switch (cell.Kind) {
    case KindText: {
      const TRect area = TextArea(cell, PresentationSettings());
      extent.Right = px + (int64_t{area.Right} - area.Left);
      extent.Bottom = py + (int64_t{area.Bottom} - area.Top);
      break;
    }
    case KindLight:
      extent.Right = px + cell.Fixture.Width;
      extent.Bottom = py + cell.Fixture.Height;
      break;
    default:
      extent = {std::min(px, x2), std::min(py, y2), std::max(px, x2), std::max(py, y2)};
      break;
  }
  if (extent.Left < 0 || extent.Top < 0 || extent.Right > doc.ScrWidth ||
      extent.Bottom > doc.ScrHeight) {
    return false;
  }
  cell.NewX1 = ClampToInt32(px);
  cell.NewY1 = ClampToInt32(py);
  cell.NewX2 = ClampToInt32(x2);
  cell.NewY2 = ClampToInt32(y2);
  return true;
}

}  // namespace

bool Stretch(TStageData& doc, int mode, double factor) {
  const TLightList& selection = doc.Selection;
  if (selection.size() < 2) return false;
  if (mode < StretchRadial || mode > StretchRotate || !std::isfinite(factor)) return false;

  MarkAndDrawCells(doc, selection, false);
  const TReference ref = ReferencePoint(selection, mode);
  bool fits = true;
  for (TLightCell* cell : selection) {
    int64_t px = 0;
    int64_t py = 0;
    fits = StretchedPosition(*cell, mode, factor, ref, px, py) && PlaceOnPage(doc, *cell, px, py);
    if (!fits) break;
  }
  if (fits) {
    for (TLightCell* cell : selection) {
      cell->X1 = cell->NewX1;
      cell->Y1 = cell->NewY1;
      cell->X2 = cell->NewX2;
      cell->Y2 = cell->NewY2;
    }
  }
  MarkAndDrawCells(doc, selection, true);
  return fits;
}

}  // namespace lumaplot
