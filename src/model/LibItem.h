#pragma once
// One fixture type of the library: how a light of that type looks on the plot and
// how its DMX channels are read. A plain value, always copied whole (into lights,
// into dialogs' working copies and back). Names are UTF-8 in memory and at most
// 20 characters long, counted in UTF-16 code units as the library file counts them.
// Free of threads and of Qt; every function is pure.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumaplot {

// Outline shapes (`Shape`).
enum TLibShape : int32_t {
  Circle = 0,
  Rectangle = 1,
  Octagon = 2,
  BarGraph = 3,
};

// Channel roles (`ChAtr` values).
enum TChannelRole : int32_t {
  RoleNone = 0,
  RoleRed = 1,
  RoleGreen = 2,
  RoleBlue = 3,
  RoleYellow = 4,
  RoleMagenta = 5,
  RoleCyan = 6,
  RoleWhite = 7,
  RoleDimmer = 8,
  RoleBrightness = 9,
};

// `ExAtr` bits.
inline constexpr int32_t kExAtrColorInvert = 0x1;       // roles 1..6 read as 255 - level
inline constexpr int32_t kExAtrBrightnessInvert = 0x2;  // role 9 read as 255 - level

inline constexpr int kMaxTypeNameLength = 20;  // UTF-16 code units
inline constexpr int kMaxChannels = 16;
// The colour value that means "no colour" (no outline, no filter).
inline constexpr int32_t kNoColor = 0x1FFFFFFF;
inline constexpr const char* kDefaultTypeName = "*default*";

struct TLibItem {
  std::string Name;
  int32_t Shape = Circle;
  int32_t Width = 20;
  int32_t Height = 20;
  int32_t FrmColor = 0xC0C0C0;  // 0x00BBGGRR, or kNoColor for no outline
  int32_t ExAtr = 0;
  int32_t Channels = 3;  // 0..16 when set by the program; a file may hold less than 1
  std::array<int32_t, kMaxChannels> ChAtr{RoleRed, RoleGreen, RoleBlue};

  // The number of `ChAtr` entries that count: `Channels` clamped to 0..16.
  int UsedChannels() const;

  friend bool operator==(const TLibItem&, const TLibItem&) = default;
};

// The built-in type "*default*": a 20 x 20 circle, frame 0xC0C0C0, channels red,
// green, blue. Never a member of the library.
const TLibItem& DefaultLibItem();

// True when two types look and read alike: same `Shape`, `Width`, `Height`,
// `FrmColor`, `ExAtr`, `Channels` and the same first `Channels` roles. Names and
// roles beyond the channel count are not compared.
bool SameDefinition(const TLibItem& a, const TLibItem& b);

// `name` cut to at most 20 UTF-16 code units (a character is never split).
std::string TruncateTypeName(std::string_view name);

// Library file keywords: "Circle", "Rectangle", "Octagon", "BarGraph"; any other
// value gives an empty text. Reading is exact and case-sensitive; anything but the
// last three keywords reads as Circle.
std::string_view ShapeKeyword(int32_t shape);
int32_t ShapeFromKeyword(std::string_view keyword);

// Library file role letters "R", "G", "B", "Y", "M", "C", "W", "D", "I" for roles
// 1..9; empty for 0 or any other value. Reading is exact and case-sensitive; any
// other text reads as RoleNone.
std::string_view RoleLetter(int32_t role);
int32_t RoleFromLetter(std::string_view letter);

// The words the library editor shows: roles "None" … "Brightness", shapes "円",
// "四角形", "八角形", "バーグラフ". Empty for values out of range.
std::string_view RoleWord(int32_t role);
std::string_view ShapeWord(int32_t shape);

}  // namespace lumaplot
