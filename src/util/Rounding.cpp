#include "util/Rounding.h"

#include <cmath>
#include <limits>

namespace lumaplot {

int RoundHalfUp(double x) {
  // floor rather than truncation: truncating x + 0.5 would pull every negative value
  // toward zero (−1.9 to −1), which shifts printed objects left of the page origin.
  const double rounded = std::floor(x + 0.5);
  // Converting NaN or an out-of-range double to int is undefined behaviour.
  if (std::isnan(rounded)) return 0;
  if (rounded >= static_cast<double>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  if (rounded <= static_cast<double>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  return static_cast<int>(rounded);
}

}  // namespace lumaplot
