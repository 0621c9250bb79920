#include "model/MouseEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "model/CellMove.h"
#include "model/HitTest.h"
#include "model/ObjectDrawing.h"

namespace lumaplot {
namespace {

int32_t Clamped(int64_t value) { return ClampToInt32(value); }

// Whether a drag by (dx, dy) would take `extent` off the page on the side it moves
// towards.
bool LeavesPage(const TRect& extent, int64_t dx, int64_t dy, int32_t width, int32_t height) {
  return (dx > 0 && extent.Right + dx > width) || (dy > 0 && extent.Bottom + dy > height) ||
         (dx < 0 && extent.Left + dx < 0) || (dy < 0 && extent.Top + dy < 0);
}

// One coordinate snapped with the page rule: `low` and `high` are the extent's edges
// along this axis, `limit` the page's size along it.
int32_t SnapAxis(int32_t value, int32_t low, int32_t high, int32_t limit, int32_t grid) {
  const auto onPage = [&](int64_t delta) { return low + delta >= 0 && high + delta <= limit; };
  const int32_t nearest = SnapToGrid(value, grid);
  const int64_t delta = int64_t{nearest} - value;
  if (delta == 0 || onPage(delta) || !onPage(0)) return nearest;
  const int64_t other = delta > 0 ? delta - grid : delta + grid;
  return onPage(other) ? Clamped(value + other) : value;
}

void MarkAndErase(TStageData& doc, TLightCell* cell, const TPresentationSettings& settings) {
  cell->SetNeedsDraw();
  DrawObject(doc, cell, false, settings);
  // The level text went with the rest. Left remembered, its old place would be
  // cleared again when the light is drawn at the new one, cutting into its body.
  cell->ValueRect = {};
}

void MarkAndDraw(TStageData& doc, TLightCell* cell, const TPresentationSettings& settings) {
  cell->SetNeedsDraw();
  DrawObject(doc, cell, true, settings);
}

}  // namespace

TRect DragExtent(TLightCell& cell, const TPresentationSettings& settings) {
  switch (cell.Kind) {
    case KindLight:
      return {cell.X1, cell.Y1, Clamped(int64_t{cell.X1} + cell.Fixture.Width),
              Clamped(int64_t{cell.Y1} + cell.Fixture.Height)};
    case KindText:
      return TextArea(cell, settings);
    default: {
      const int32_t left = std::min(cell.X1, cell.X2);
      const int32_t top = std::min(cell.Y1, cell.Y2);
      return {left, top, left, top};
    }
  }
}

bool ExtentOnPage(const TRect& extent, int32_t width, int32_t height) {
  return extent.Left >= 0 && extent.Top >= 0 && extent.Right <= width && extent.Bottom <= height;
}

int DragSelection(TStageData& doc, int32_t dx, int32_t dy, const TPresentationSettings& settings) {
  if (dx == 0 && dy == 0) return 0;
  int moved = 0;
  for (TLightCell* cell : doc.Selection) {
    if (LeavesPage(DragExtent(*cell, settings), dx, dy, doc.ScrWidth, doc.ScrHeight)) continue;
    cell->SetMoving();
    MarkAndErase(doc, cell, settings);
    MoveCellTo(*cell, int64_t{cell->X1} + dx, int64_t{cell->Y1} + dy);
    cell->SetNeedsDraw();
    ++moved;
  }
  return moved;
}

int32_t SnapToGrid(int32_t value, int32_t grid) {
  if (grid < 1) return value;
  const int64_t remainder = int64_t{value} % grid;  // the sign of value, as the rule wants
  return Clamped(int64_t{value} - remainder + (remainder < grid / 2 ? 0 : grid));
}

std::vector<TPoint> GridPositions(TStageData& doc, int32_t grid,
                                  const TPresentationSettings& settings) {
  std::vector<TPoint> positions;
  positions.reserve(doc.Selection.size());
  for (TLightCell* cell : doc.Selection) {
    if (grid < 1) {
      positions.push_back({cell->X1, cell->Y1});
      continue;
    }
    const TRect extent = DragExtent(*cell, settings);
    positions.push_back({SnapAxis(cell->X1, extent.Left, extent.Right, doc.ScrWidth, grid),
                         SnapAxis(cell->Y1, extent.Top, extent.Bottom, doc.ScrHeight, grid)});
  }
  return positions;
}

bool PlaceSelection(TStageData& doc, std::span<const TPoint> positions,
                    const TPresentationSettings& settings) {
  bool changed = false;
  const size_t count = std::min(positions.size(), doc.Selection.size());
  for (size_t i = 0; i < count; ++i) {
    TLightCell* cell = doc.Selection[i];
    const TPoint to = positions[i];
    if (cell->X1 == to.X && cell->Y1 == to.Y) continue;
    MarkAndErase(doc, cell, settings);
    MoveCellTo(*cell, to.X, to.Y);
    MarkAndDraw(doc, cell, settings);
    changed = true;
  }
  return changed;
}

int32_t PointerAngle(int32_t cx, int32_t cy, int32_t x, int32_t y, int32_t minAngle,
                     bool fortyFive) {
  if (x == cx || minAngle < 1) return -1;
  int64_t angle = 0;
  if (cx / minAngle != x / minAngle) {
    const double slope = (static_cast<double>(cy) - y) / (static_cast<double>(cx) - x);
    angle = static_cast<int64_t>(std::floor(std::atan(slope) * 180.0 / std::numbers::pi));
    if (cx > x) angle -= 180;
  } else {
    angle = cy < y ? 90 : 270;
  }
  if (angle < 0) angle += 360;
  angle -= angle % minAngle;
  if (fortyFive) angle = angle / 45 * 45;
  return static_cast<int32_t>(angle);
}

void TurnSelection(TStageData& doc, int32_t angle, const TPresentationSettings& settings) {
  for (TLightCell* cell : doc.Selection) {
    cell->SetMoving();
    MarkAndErase(doc, cell, settings);
    cell->Angle = angle;
    MarkAndDraw(doc, cell, settings);
  }
}

TRect BandBox(const TLightCell& cell) {
  if (cell.Kind != KindLine) {
    return {cell.X1, cell.Y1, Clamped(int64_t{cell.X1} + cell.Width),
            Clamped(int64_t{cell.Y1} + cell.Height)};
  }
  TRect box{std::min(cell.X1, cell.X2), std::min(cell.Y1, cell.Y2), std::max(cell.X1, cell.X2),
            std::max(cell.Y1, cell.Y2)};
  // A straight line has no area and could never lie strictly inside a band.
  if (cell.X1 == cell.X2 || cell.Y1 == cell.Y2) {
    box = {Clamped(int64_t{box.Left} - 1), Clamped(int64_t{box.Top} - 1),
           Clamped(int64_t{box.Right} + 1), Clamped(int64_t{box.Bottom} + 1)};
  }
  return box;
}

namespace {

// Selects `cell`, an object of `doc` not yet selected. SetSelected would first look
// it up among the objects, which for a band over a large plot costs more than all
// the rest of the release.
void SelectMember(TStageData& doc, TLightCell* cell) {
  cell->Selected = true;
  cell->SetNeedsDraw();
  doc.Selection.push_back(cell);
}

}  // namespace

int SelectInBand(TStageData& doc, const TRect& band) {
  int taken = 0;
  for (TLightCell* cell : doc.Objects) {
    if (cell->Selected) continue;
    const TRect box = BandBox(*cell);
    if (box.Left >= band.Left && box.Top >= band.Top && box.Right < band.Right &&
        box.Bottom < band.Bottom) {
      SelectMember(doc, cell);
      ++taken;
    }
  }
  return taken;
}

void SelectLightsOnLine(TStageData& doc, TLightCell& line, const TPresentationSettings& settings) {
  for (TLightCell* cell : doc.Objects) {
    if (cell->Kind != KindLight) continue;
    const int64_t cx = int64_t{cell->X1} + cell->Width / 2;
    const int64_t cy = int64_t{cell->Y1} + cell->Height / 2;
    if (!cell->Selected && HitTest(line, Clamped(cx), Clamped(cy), settings)) {
      SelectMember(doc, cell);
    }
  }
}

TPoint LineEnd(TPoint anchor, int32_t x, int32_t y, bool straight) {
  if (!straight) return {x, y};
  const int64_t across = std::llabs(int64_t{x} - anchor.X);
  const int64_t down = std::llabs(int64_t{y} - anchor.Y);
  return down >= across ? TPoint{anchor.X, y} : TPoint{x, anchor.Y};
}

TLightCell* AddDrawnLine(TStageData& doc, TPoint from, TPoint to, int32_t size, int32_t color) {
  TLightCell* line = NewCell();
  line->Kind = KindLine;
  line->X1 = from.X;
  line->Y1 = from.Y;
  line->X2 = to.X;
  line->Y2 = to.Y;
  line->Size = size;
  line->Color = color;
  line->SetNeedsDraw();
  doc.AddObject(line);
  return line;
}

TAddedLight AddLightFromTemplate(TStageData& doc, TLightCell& addTemplate, const TLightLib& library,
                                 std::string_view typeName, int32_t startCh, int32_t channelLimit,
                                 int32_t x, int32_t y, int32_t snapGrid) {
  library.IndexOfName(typeName, &addTemplate.Fixture);
  const TLibItem& type = addTemplate.Fixture;
  TAddedLight added;
  if (int64_t{startCh} + type.Channels > channelLimit) return added;
  addTemplate.StartCh = startCh;

  TLightCell* light = CopyCell(addTemplate);
  // The template may be a copy of an object with a past; the new light has none, so
  // an undo never carries it to where that object once was.
  const TLightCell fresh;
  light->PosHistory = fresh.PosHistory;
  light->UndoCount = fresh.UndoCount;
  light->RedoCount = fresh.RedoCount;
  light->HistoryIndex = fresh.HistoryIndex;
  light->State = fresh.State;
  light->ValueRect = fresh.ValueRect;
  light->Kind = KindLight;
  light->Width = type.Width;
  light->Height = type.Height;
  light->X1 = x;
  light->Y1 = y;
  light->Angle = 0;
  light->FilterColor = kNoColor;
  light->Selected = false;
  if (snapGrid >= 1) {
    const int32_t dx = x % snapGrid;
    const int32_t dy = y % snapGrid;
    light->X1 -= dx;
    light->X2 = Clamped(int64_t{light->X2} - dx);
    light->Y1 -= dy;
    light->Y2 = Clamped(int64_t{light->Y2} - dy);
  }
  light->SetNeedsDraw();
  doc.AddObject(light);

  added.Light = light;
  const int64_t next = int64_t{startCh} + type.Channels;
  if (next < channelLimit) {
    added.Result = TAddedLight::Added;
    added.NextChannel = static_cast<int32_t>(next);
  } else {
    added.Result = TAddedLight::AddedAtEnd;
    added.NextChannel = startCh;
  }
  return added;
}

}  // namespace lumaplot
