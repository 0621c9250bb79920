#include "model/LibItem.h"

#include <algorithm>

namespace lumaplot {
namespace {

constexpr std::string_view kShapeKeywords[] = {"Circle", "Rectangle", "Octagon", "BarGraph"};
constexpr std::string_view kShapeWords[] = {"円", "四角形", "八角形", "バーグラフ"};
constexpr std::string_view kRoleLetters[] = {"", "R", "G", "B", "Y", "M", "C", "W", "D", "I"};
constexpr std::string_view kRoleWords[] = {"None",    "Red",  "Green", "Blue",   "Yellow",
                                           "Magenta", "Cyan", "White", "Dimmer", "Brightness"};

template <size_t N>
std::string_view Pick(const std::string_view (&table)[N], int32_t value) {
  return value >= 0 && static_cast<size_t>(value) < N ? table[value] : std::string_view{};
}

// Length in bytes of the UTF-8 sequence that starts with `lead`; stray bytes count 1.
size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

int TLibItem::UsedChannels() const { return std::clamp<int32_t>(Channels, 0, kMaxChannels); }

const TLibItem& DefaultLibItem() {
  static const TLibItem item{.Name = kDefaultTypeName};
  return item;
}

bool SameDefinition(const TLibItem& a, const TLibItem& b) {
  if (a.Shape != b.Shape || a.Width != b.Width || a.Height != b.Height ||
      a.FrmColor != b.FrmColor || a.ExAtr != b.ExAtr || a.Channels != b.Channels) {
    return false;
  }
  const int used = a.UsedChannels();
  return std::equal(a.ChAtr.begin(), a.ChAtr.begin() + used, b.ChAtr.begin());
}

std::string TruncateTypeName(std::string_view name) {
  // Characters outside the basic plane take two UTF-16 code units.
  size_t bytes = 0;
  int units = 0;
  while (bytes < name.size()) {
    const size_t length = SequenceLength(static_cast<unsigned char>(name[bytes]));
    const int needed = length == 4 ? 2 : 1;
    if (units + needed > kMaxTypeNameLength) break;
    units += needed;
    bytes = std::min(name.size(), bytes + length);
  }
  return std::string(name.substr(0, bytes));
}

std::string_view ShapeKeyword(int32_t shape) { return Pick(kShapeKeywords, shape); }

int32_t ShapeFromKeyword(std::string_view keyword) {
  for (int32_t shape = Rectangle; shape <= BarGraph; ++shape) {
    if (keyword == kShapeKeywords[shape]) return shape;
  }
  return Circle;
}

std::string_view RoleLetter(int32_t role) { return Pick(kRoleLetters, role); }

int32_t RoleFromLetter(std::string_view letter) {
  for (int32_t role = RoleRed; role <= RoleBrightness; ++role) {
    if (letter == kRoleLetters[role]) return role;
  }
  return RoleNone;
}

std::string_view RoleWord(int32_t role) { return Pick(kRoleWords, role); }
std::string_view ShapeWord(int32_t shape) { return Pick(kShapeWords, shape); }

}  // namespace lumaplot
