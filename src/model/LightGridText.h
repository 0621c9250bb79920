#pragma once
// What the light list window shows of a light: the order of its rows and the text of
// each channel cell (the channel's role letter and its level in one of three forms).
//
// A channel cell is empty when the light has no such channel, is not patched, or
// the channel lies at or past the last of the 4096 levels; no level outside the
// buffer is ever read. Levels are the presented ones (a type's inversion applied),
// as the light itself shows them. Pure functions; the caller owns the buffer and
// holds LevelLock while it may change.
#include <cstdint>
#include <string>
#include <string_view>

#include "model/LightList.h"
#include "model/StageData.h"

namespace lumaplot {

// Channel cells of a row: channels 1 … 16 of the light.
inline constexpr int kListChannelCells = 16;
// A cell that shows nothing.
inline constexpr int kEmptyCell = -1;

// Forms of the level text (`ListValMode`).
enum TListValMode : int32_t {
  ListValPercent = 0,  // " FF" for 255, otherwise " %02u" of level × 100 / 255 cut
  ListValDecimal = 1,  // " %3u"
  ListValHex = 2,      // " %02X"
};

// "-" for role 0, "R", "G", "B", "Y", "M", "C", "W", "D", "I" for roles 1 … 9, empty
// for any other value.
std::string_view RoleText(int32_t role);

// The level text of `level` (0 … 255) in form `mode`; empty for any other mode.
std::string ListLevelText(int level, int32_t mode);

// The level that channel `index` (0-based) of `light` shows, 0 … 255, or
// kEmptyCell (see above).
int ListCellLevel(const TLevelBuffer& levels, const TLightCell& light, int index);

// The text of a channel cell: the role text followed by the level text; empty for
// kEmptyCell.
std::string ListCellText(int32_t role, int level, int32_t mode);

// Sorts the lights of the list by `GridSortMode`: 0 type name (without regard to
// case), start channel, X1, Y1; 1 start channel, type name, X1, Y1; any other value
// leaves the document order. Stable: lights equal in every key keep their order.
void SortListLights(TLightList& lights, int32_t gridSortMode);

}  // namespace lumaplot
