#pragma once
// A rectangle of page pixels, [Left, Right) x [Top, Bottom). Plain value.
#include <cstdint>

namespace lumaplot {

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  // Empty unless it has both a width and a height.
  bool IsEmpty() const { return Left == Right || Top == Bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace lumaplot
