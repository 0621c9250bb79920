#pragma once
// A font as the plain layers describe it: face name, size and style bits. The Qt
// layer turns it into its own font object; the model and the settings only keep and
// copy it. A plain value, safe to copy between threads.
#include <cstdint>
#include <string>

namespace lumaplot {

// Style bits; bold and italic are also the bits of a text object's style.
inline constexpr int32_t kFontBold = 1;
inline constexpr int32_t kFontItalic = 2;
inline constexpr int32_t kFontUnderline = 4;
inline constexpr int32_t kFontStrikeOut = 8;

struct FontSpec {
  std::string Name;   // face name (UTF-8); empty means the platform's default face
  int32_t Size = 9;   // in points
  int32_t Style = 0;  // kFont... bits

  bool operator==(const FontSpec&) const = default;
};

}  // namespace lumaplot
