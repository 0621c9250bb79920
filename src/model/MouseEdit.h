#pragma once
// The document side of editing with the mouse: dragging and turning the selection,
// snapping it to the placement grid, selecting with a band or along a line, and the
// objects the add modes create. The mouse tools of the main window decide when each
// step runs; these functions change the document, mark what must be redrawn and
// erase what moves, as the tools' steps say.
//
// Objects that move are erased at once (drawn in the page colour on the document's
// canvas, their level text included, which is then forgotten) and left marked, so
// the next drawing pass shows them at their new place.
// Nothing here pushes the position history or sets `Modified`; the callers do.
// Coordinates are computed in wide integers and never overflow. GUI thread only.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "model/Canvas.h"
#include "model/LightLib.h"
#include "model/LightPresentation.h"
#include "model/Rect.h"
#include "model/StageData.h"

namespace lumaplot {

// --- Dragging ---

// What a drag holds on the page: a light, its type's size from (X1, Y1); a text,
// the area it is drawn in; a line or a shape, only its upper left point (the smaller
// X and Y of its two points), so its other end may reach past the page.
TRect DragExtent(TLightCell& cell, const TPresentationSettings& settings);

// True when `extent` lies on a page of `width` x `height` (right and bottom edges may
// touch the page's edge).
bool ExtentOnPage(const TRect& extent, int32_t width, int32_t height);

// Moves every selected object by (dx, dy), except one whose extent would then leave
// the page on the side it moves towards: it stays where it is. A moved object is
// marked, gets `Moving`, is erased, moved and marked again. Returns the number of
// objects moved.
int DragSelection(TStageData& doc, int32_t dx, int32_t dy, const TPresentationSettings& settings);

// --- The placement grid ---

// `value` rounded to the nearest multiple of `grid`: r = value mod grid (with the
// sign of value), then value - r, plus `grid` when r >= grid / 2. A grid below 1
// leaves the value as it is.
int32_t SnapToGrid(int32_t value, int32_t grid);

// Where each selected object (in selection order) goes when its (X1, Y1) is snapped
// to the grid, X and Y separately. A snap that would take an object that lies on the
// page off it takes the grid point on the other side instead, and when that one is
// off the page too the coordinate stays; an object already off the page snaps freely.
std::vector<TPoint> GridPositions(TStageData& doc, int32_t grid,
                                  const TPresentationSettings& settings);

// Puts the selected objects at `positions` (one per selected object, in selection
// order): each one that changes place is marked, erased, moved (its second point
// keeps its offset), marked and drawn. Returns whether any object changed place.
bool PlaceSelection(TStageData& doc, std::span<const TPoint> positions,
                    const TPresentationSettings& settings);

// --- Turning ---

// The angle the pointer at (x, y) points to from the centre (cx, cy), in whole
// degrees 0 … 359 clockwise on the screen, stepped down to a multiple of `minAngle`
// and, with `fortyFive`, to a multiple of 45. -1 when the pointer is straight above
// or below the centre (x = cx) or `minAngle` is below 1.
int32_t PointerAngle(int32_t cx, int32_t cy, int32_t x, int32_t y, int32_t minAngle,
                     bool fortyFive);

// Gives every selected object the angle `angle`: each is marked, gets `Moving`, is
// erased, turned, marked and drawn.
void TurnSelection(TStageData& doc, int32_t angle, const TPresentationSettings& settings);

// --- Selecting ---

// The rectangle a selection band must enclose to take an object: a line's two end
// points (a line exactly horizontal or vertical widened by one pixel on every side);
// any other object (X1, Y1, X1 + Width, Y1 + Height).
TRect BandBox(const TLightCell& cell);

// Selects, in list order, every object not yet selected whose band box lies inside
// `band` (left and top may touch it, right and bottom must stay short of it).
// Returns the number of objects it selected.
int SelectInBand(TStageData& doc, const TRect& band);

// Selects, in list order, every light whose centre lies on `line`.
void SelectLightsOnLine(TStageData& doc, TLightCell& line, const TPresentationSettings& settings);

// --- Adding ---

// The end of a line drawn from `anchor` to the pointer at (x, y). With `straight`,
// the end is put on the vertical through the anchor when the pointer is at least as
// far from it vertically as horizontally, otherwise on the horizontal.
TPoint LineEnd(TPoint anchor, int32_t x, int32_t y, bool straight);

// A new line from `from` to `to` of pen width `size` and colour `color`, added to
// `doc` and marked.
TLightCell* AddDrawnLine(TStageData& doc, TPoint from, TPoint to, int32_t size, int32_t color);

struct TAddedLight {
  enum TResult {
    Refused,     // its channels would end past the last one; nothing was added
    Added,       // added; the next light starts at NextChannel
    AddedAtEnd,  // added, but it took the last channels: the start channel stays
  };
  TResult Result = Refused;
  TLightCell* Light = nullptr;
  int32_t NextChannel = -1;
};

// Adds a light at (x, y) copied from `addTemplate`. The template's type first
// becomes the library type named `typeName` ("*default*" when the library has no
// such type; an empty name leaves it). The light is refused when `startCh` plus the
// type's channels passes `channelLimit`; otherwise the template's `StartCh` becomes
// `startCh` and the new light is the template's copy with the type's size, at
// (x, y) snapped down to `snapGrid` (0: no snapping), angle 0, no filter, not
// selected, with a position history of its own. It is added to `doc` and marked.
TAddedLight AddLightFromTemplate(TStageData& doc, TLightCell& addTemplate, const TLightLib& library,
                                 std::string_view typeName, int32_t startCh, int32_t channelLimit,
                                 int32_t x, int32_t y, int32_t snapGrid);

}  // namespace lumaplot
