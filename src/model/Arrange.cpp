#include "model/Arrange.h"

#include <algorithm>
#include <cmath>

#include "model/CellMove.h"
#include "model/LightList.h"
#include "model/ObjectDrawing.h"

namespace lumaplot {
namespace {

// The smallest and largest reference points of a non-empty list. The bounds come
// from the objects themselves, so objects left of or above the page (negative
// coordinates) and far right or below are measured as they are.
struct TPointRange {
  int64_t MinX = 0;
  int64_t MaxX = 0;
  int64_t MinY = 0;
  int64_t MaxY = 0;
};

TPointRange ReferenceRange(const TLightList& cells) {
  TPointRange range{cells.front()->X1, cells.front()->X1, cells.front()->Y1, cells.front()->Y1};
  for (const TLightCell* cell : cells) {
    range.MinX = std::min<int64_t>(range.MinX, cell->X1);
    range.MaxX = std::max<int64_t>(range.MaxX, cell->X1);
    range.MinY = std::min<int64_t>(range.MinY, cell->Y1);
    range.MaxY = std::max<int64_t>(range.MaxY, cell->Y1);
  }
  return range;
}

// The box that holds every object's reference box (X1, Y1) - (X1 + Width, Y1 + Height).
TPointRange ExtentRange(const TLightList& cells) {
  TPointRange range = ReferenceRange(cells);
  range.MaxX = range.MinX;
  range.MaxY = range.MinY;
  for (const TLightCell* cell : cells) {
    range.MaxX = std::max<int64_t>(range.MaxX, int64_t{cell->X1} + cell->Width);
    range.MaxY = std::max<int64_t>(range.MaxY, int64_t{cell->Y1} + cell->Height);
  }
  return range;
}

}  // namespace

void Align(TStageData& doc, int mode) {
  TLightList& selection = doc.Selection;
  const auto count = static_cast<int64_t>(selection.size());
  if (count < 2 || (mode == SpaceHorizontal && count == 2)) return;

  const TPointRange range = ReferenceRange(selection);
  if (mode == SpaceHorizontal) SortCells(selection, CompareX);
  if (mode == SpaceVertical) SortCells(selection, CompareY);
  const int64_t stepX = (range.MaxX - range.MinX) / (count - 1);
  const int64_t stepY = (range.MaxY - range.MinY) / (count - 1);

  for (int64_t i = 0; i < count; ++i) {
    TLightCell& cell = *selection[static_cast<size_t>(i)];
    cell.SetNeedsDraw();
    cell.SetMoving();
    DrawObject(doc, &cell, false);
    int64_t x = cell.X1;
    int64_t y = cell.Y1;
    switch (mode) {
      case AlignLeft:
        x = range.MinX;
        break;
      case AlignRight:
        x = range.MaxX;
        break;
      case AlignTop:
        y = range.MinY;
        break;
      case AlignBottom:
        y = range.MaxY;
        break;
      case SpaceHorizontal:
        x = range.MinX + i * stepX;
        break;
      case SpaceVertical:
        y = range.MinY + i * stepY;
        break;
      default:
        break;
    }
    MoveCellTo(cell, x, y);
    cell.SetNeedsDraw();
  }
  DrawAll(doc, true, true, true);
  doc.Modified = true;
}

void Mirror(TStageData& doc, int direction) {
  if (direction != MirrorLeftRight && direction != MirrorTopBottom) return;
  const TLightList& selection = doc.Selection;
  if (selection.empty()) return;

  MarkAndDrawCells(doc, selection, false);
  // Each box [X1, X1 + Width) is reflected about the middle of the selection's box,
  // exactly, so mirroring twice gives back every position.
  const TPointRange box = ExtentRange(selection);
  for (TLightCell* cell : selection) {
    int64_t x = cell->X1;
    int64_t y = cell->Y1;
    int64_t angle = cell->Angle;
    if (direction == MirrorLeftRight) {
      x = box.MinX + box.MaxX - cell->Width - cell->X1;
      angle = -angle;
    } else {
      y = box.MinY + box.MaxY - cell->Height - cell->Y1;
      angle = 180 - angle;
    }
    if (angle < 0) angle += 360;
    MoveCellTo(*cell, std::max<int64_t>(x, 0), std::max<int64_t>(y, 0));
    cell->Angle = ClampToInt32(angle);
  }
  MarkAndDrawCells(doc, selection, true);
}

void SnapToLines(TStageData& doc) {
  for (const TLightCell* line : doc.Objects) {
    if (line->Kind != KindLine) continue;
    if (line->X1 == line->X2 && line->Y1 == line->Y2) continue;
    const double lineX = line->X1;
    const double lineY = line->Y1;
    const double run = static_cast<double>(line->X2) - lineX;
    const double rise = lineY - static_cast<double>(line->Y2);  // upward on the screen
    // k: the line's rise per pixel to the right; s: its run per pixel of rise (both
    // upward on the screen). The larger says whether it is nearer to horizontal.
    const double k = run == 0 ? 99999 : rise / run;
    const double s = rise == 0 ? 99999 : run / rise;
    const bool nearHorizontal = std::fabs(s) > std::fabs(k);

    for (TLightCell* light : doc.Selection) {
      if (light->Kind != KindLight) continue;
      const double cx = static_cast<double>(light->X1) + light->Width / 2;
      const double cy = static_cast<double>(light->Y1) + light->Height / 2;
      const double reach = std::max(light->Width / 2, light->Height / 2);
      const double distance = nearHorizontal ? std::trunc(cy - (lineY - k * (cx - lineX)))
                                             : std::trunc(cx - (lineX + s * (lineY - cy)));
      if (!(std::fabs(distance) < reach)) continue;
      const auto d = static_cast<int64_t>(distance);
      if (nearHorizontal) {
        light->Y1 = ClampToInt32(light->Y1 - d);
      } else {
        light->X1 = ClampToInt32(light->X1 - d);
      }
    }
  }
}

}  // namespace lumaplot
